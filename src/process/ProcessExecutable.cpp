#include "ProcessExecutable.h"

#include "ExecutableKey.h"
#include "ProcessSnapshot.h"
#include "afxhandle.h"

namespace {

const char kKernelFile[] = "KERNEL32.DLL";

// Whether a path's file name is the kernel's, in any letter case.
bool IsKernelFile(LPCSTR lpszPath)
{
    CString strName(AfxFindFileName(lpszPath));
    strName.MakeUpper();
    return strName == kKernelFile;
}

// A 32-bit program cannot take a module snapshot of a 64-bit process. The
// NT family then tells the executable's path through
// QueryFullProcessImageNameA, which the Windows 95 family does not have.
BOOL QueryExecutableImage(const ProcessPlatform& platform, DWORD dwPID, MODULEENTRY32* lpme)
{
    if (platform.pfnQueryFullProcessImageNameA == nullptr)
        return FALSE;
    CKernelHandle process(platform.pfnOpenProcess(kProcessQueryLimitedInformation, FALSE, dwPID));
    if (!process.IsValid() || !platform.QueryImage(process, lpme))
        return FALSE;
    lpme->th32ProcessID = dwPID;
    return TRUE;
}

} // namespace

BOOL FindExecutableModule(const ProcessPlatform& platform, DWORD dwPID, DWORD dwModuleID,
                          MODULEENTRY32* lpme, DWORD cbme)
{
    if (!platform.HasToolHelp())
        return FALSE;
    CFileHandle snapshot(platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dwPID));
    if (!snapshot.IsValid()) {
        if (dwModuleID == 0 && cbme >= sizeof(MODULEENTRY32))
            return QueryExecutableImage(platform, dwPID, lpme);
        return FALSE;
    }
    MODULEENTRY32 me;
    me.dwSize = sizeof me;
    bool bFirst = true;
    for (BOOL bMore = platform.pfnModule32First(snapshot, &me); bMore;
         bMore = platform.pfnModule32Next(snapshot, &me)) {
        if (dwModuleID != 0 ? me.th32ModuleID == dwModuleID : bFirst) {
            ::CopyMemory(lpme, &me, cbme < sizeof me ? cbme : sizeof me);
            return TRUE;
        }
        bFirst = false;
    }
    return FALSE;
}

BOOL GetEntryExecutable(const ProcessPlatform& platform, const PROCESSENTRY32& pe,
                        ProcessExecutable* pExe)
{
    MODULEENTRY32 me;
    if (!FindExecutableModule(platform, pe.th32ProcessID, pe.th32ModuleID, &me, sizeof me))
        return FALSE;
    // The entry's own file, where it names one other than the kernel.
    LPCSTR lpszExeFile = pe.szExeFile;
    if (IsKernelFile(me.szExePath) && *AfxFindFileName(lpszExeFile) != '\0' &&
        !IsKernelFile(lpszExeFile)) {
        lstrcpynA(pExe->szName, AfxFindFileName(lpszExeFile), sizeof pExe->szName);
        lstrcpynA(pExe->szPath, lpszExeFile, sizeof pExe->szPath);
        return TRUE;
    }
    lstrcpynA(pExe->szName, me.szModule, sizeof pExe->szName);
    lstrcpynA(pExe->szPath, me.szExePath, sizeof pExe->szPath);
    return TRUE;
}

BOOL ProcessRunsExecutable(const ProcessPlatform& platform, DWORD dwPID, LPCSTR lpszName,
                           LPCSTR lpszPath)
{
    ProcessExecutable exe;
    BOOL bFound = FALSE;
    WalkProcessEntries(platform, [&](const PROCESSENTRY32& pe) {
        if (pe.th32ProcessID != dwPID)
            return true;
        bFound = GetEntryExecutable(platform, pe, &exe);
        return false;
    });
    return bFound && ExecutableKey(exe.szName, exe.szPath) == ExecutableKey(lpszName, lpszPath);
}
