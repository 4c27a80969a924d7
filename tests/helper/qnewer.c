/* A program that imports what Quellon.exe must not: a function that
   Windows 98 does not have (GetTickCount64), one from a DLL outside the
   allowed set (version.dll) and a wide-character function (lstrlenW). The
   import check must reject it. It is built, never run. */
#include <windows.h>

__declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);
__declspec(dllimport) DWORD WINAPI
    GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle);

int main(void)
{
    DWORD handle = 0;
    return (int)(GetTickCount64() & 1) + (int)GetFileVersionInfoSizeA("x", &handle) +
           lstrlenW(L"x");
}
