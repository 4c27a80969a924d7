#include "ProcessPlatform.h"

#include "afx.h"

namespace {
template <typename Fn> void LookUp(HMODULE hModule, const char* pszName, Fn* ppfn)
{
    *ppfn = AfxGetProcAddress<Fn>(hModule, pszName);
}
} // namespace

ProcessPlatform LoadProcessPlatform()
{
    ProcessPlatform platform;
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    LookUp(hKernel, "CreateToolhelp32Snapshot", &platform.pfnCreateToolhelp32Snapshot);
    LookUp(hKernel, "Process32First", &platform.pfnProcess32First);
    LookUp(hKernel, "Process32Next", &platform.pfnProcess32Next);
    LookUp(hKernel, "Module32First", &platform.pfnModule32First);
    LookUp(hKernel, "Module32Next", &platform.pfnModule32Next);
    platform.pfnGetVersionExA = ::GetVersionExA;
    LookUp(hKernel, "QueryFullProcessImageNameA", &platform.pfnQueryFullProcessImageNameA);
    platform.pfnOpenProcess = ::OpenProcess;
    platform.pfnGetCurrentProcessId = ::GetCurrentProcessId;
    platform.pfnTerminateProcess = ::TerminateProcess;
    platform.pfnWaitForSingleObject = ::WaitForSingleObject;
    return platform;
}

BOOL ProcessPlatform::QueryImage(HANDLE hProcess, MODULEENTRY32* lpme) const
{
    if (pfnQueryFullProcessImageNameA == nullptr)
        return FALSE;
    char szPath[MAX_PATH];
    DWORD cch = MAX_PATH;
    if (!pfnQueryFullProcessImageNameA(hProcess, 0, szPath, &cch) || cch == 0 || cch >= MAX_PATH)
        return FALSE;
    lstrcpynA(lpme->szExePath, szPath, sizeof lpme->szExePath);
    lstrcpynA(lpme->szModule, AfxFindFileName(szPath), sizeof lpme->szModule);
    return TRUE;
}

bool ProcessPlatform::HasToolHelp() const
{
    return pfnCreateToolhelp32Snapshot != nullptr && pfnProcess32First != nullptr &&
           pfnProcess32Next != nullptr && pfnModule32First != nullptr && pfnModule32Next != nullptr;
}

#ifndef _WIN64
static_assert(sizeof(OSVERSIONINFOA) == 148, "the OSVERSIONINFOA of Windows 95");
#endif

bool ProcessPlatform::IsWindows95Family() const
{
    // A failed call leaves the platform 0 and so counts as not Windows 95.
    OSVERSIONINFOA vi;
    ::ZeroMemory(&vi, sizeof vi);
    vi.dwOSVersionInfoSize = sizeof vi;
    pfnGetVersionExA(&vi);
    return vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

ProcessPlatform g_processPlatform = LoadProcessPlatform();
