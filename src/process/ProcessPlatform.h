// The platform calls of the process list and the kill, gathered in one
// record so that a test can shape what they answer.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

// The Tool Help entries of Windows 95, whose sizes the program sets.
#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "the PROCESSENTRY32 of Windows 95");
static_assert(sizeof(MODULEENTRY32) == 548, "the MODULEENTRY32 of Windows 95");
#endif

// The right to ask a process for its executable's path (Windows Vista on).
const DWORD kProcessQueryLimitedInformation = 0x1000;

// Tool Help is looked up in the kernel at start-up rather than imported:
// Windows NT 4.0's kernel has none of it, and a program that imported it
// would not even load there. A test can replace the calls to produce a
// fault that cannot be produced for real (a snapshot or a version query
// that fails, Tool Help missing), or to give snapshots and identifiers
// shaped as the Windows 95 family gives them.
struct ProcessPlatform
{
    HANDLE(WINAPI* pfnCreateToolhelp32Snapshot)(DWORD dwFlags, DWORD th32ProcessID);
    BOOL(WINAPI* pfnProcess32First)(HANDLE hSnapshot, LPPROCESSENTRY32 lppe);
    BOOL(WINAPI* pfnProcess32Next)(HANDLE hSnapshot, LPPROCESSENTRY32 lppe);
    BOOL(WINAPI* pfnModule32First)(HANDLE hSnapshot, LPMODULEENTRY32 lpme);
    BOOL(WINAPI* pfnModule32Next)(HANDLE hSnapshot, LPMODULEENTRY32 lpme);
    BOOL(WINAPI* pfnGetVersionExA)(LPOSVERSIONINFOA lpVersionInformation);
    // The path of a process's executable from a handle to it; the Windows
    // 95 family (and the NT family before Windows Vista) has none: NULL.
    BOOL(WINAPI* pfnQueryFullProcessImageNameA)
    (HANDLE hProcess, DWORD dwFlags, LPSTR lpExeName, PDWORD lpdwSize);
    // Process identifiers: those that Tool Help gives are the ones that
    // open a process and the one this process has. (The Windows 95 family
    // hands out pointers XORed with a value of the session, near 2^32.)
    HANDLE(WINAPI* pfnOpenProcess)(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);
    DWORD(WINAPI* pfnGetCurrentProcessId)();
    // Ending a process and waiting for its end. Wine ends a process before
    // TerminateProcess returns, so only these calls show a test that the
    // wait comes, and comes before the process's row goes.
    BOOL(WINAPI* pfnTerminateProcess)(HANDLE hProcess, UINT uExitCode);
    DWORD(WINAPI* pfnWaitForSingleObject)(HANDLE hHandle, DWORD dwMilliseconds);

    // Whether all five Tool Help functions are there; where they are not,
    // none of them is called.
    bool HasToolHelp() const;
    // Whether the system is of the Windows 95 family (its platform
    // identifier is VER_PLATFORM_WIN32_WINDOWS); a failed query is not.
    bool IsWindows95Family() const;
    // The executable of an open process (with the right to query it): its
    // path and, as the module name, the path's last part. FALSE where the
    // query is missing or fails.
    BOOL QueryImage(HANDLE hProcess, MODULEENTRY32* lpme) const;
};
// The calls as this system's kernel has them (NULL where missing).
ProcessPlatform LoadProcessPlatform();
extern ProcessPlatform g_processPlatform;
