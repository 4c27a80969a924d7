/* A process for the tests to list and kill. Started without arguments it
   waits until it is terminated. Started as "qhelper.exe --record <file>
   <text>" (the way the shell starts a handler of a link) it writes <text>
   to <file> and ends. Started as "qhelper.exe --exit-after <ms>" it ends by
   itself after that many milliseconds. */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hInstance;
    (void)hPrevInstance;
    (void)nCmdShow;
    if (__argc >= 3 && strcmp(__argv[1], "--record") == 0) {
        const char* text = __argc >= 4 ? __argv[3] : "";
        HANDLE file = CreateFileA(__argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        DWORD written = 0;
        if (file == INVALID_HANDLE_VALUE)
            return 2;
        WriteFile(file, text, (DWORD)strlen(text), &written, NULL);
        CloseHandle(file);
        return 0;
    }
    if (__argc >= 3 && strcmp(__argv[1], "--exit-after") == 0) {
        Sleep((DWORD)atoi(__argv[2]));
        return 0;
    }
    (void)lpCmdLine;
    Sleep(INFINITE);
    return 0;
}
