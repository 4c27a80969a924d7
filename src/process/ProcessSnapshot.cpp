#include "ProcessSnapshot.h"

#include "ExecutableKey.h"
#include "ProcessExecutable.h"

namespace {
const DWORD kProcessAllAccess = 0x1F0FFF;
} // namespace

SnapshotResult TakeProcessSnapshot(const ProcessPlatform& platform, CArray<ProcessRow>& rows)
{
    rows.RemoveAll();
    if (!platform.HasToolHelp())
        return SnapshotNone;
    CFileHandle snapshot(platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return SnapshotNone;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    if (!platform.pfnProcess32First(snapshot, &pe))
        return SnapshotEmpty;
    // The executables listed so far.
    CExecutableSet listed;
    do {
        ProcessExecutable exe;
        if (!GetEntryExecutable(platform, pe, &exe))
            continue; // no executable, no row
        // One row per executable and path.
        if (!listed.Add(ExecutableKey(exe.szName, exe.szPath)))
            continue;

        DWORD dwPriorityClass = 0;
        CKernelHandle process(platform.pfnOpenProcess(kProcessAllAccess, FALSE, pe.th32ProcessID));
        if (process.IsValid())
            dwPriorityClass = ::GetPriorityClass(process);

        ProcessRow row;
        lstrcpynA(row.szProcess, exe.szName, sizeof row.szProcess);
        row.dwPID = pe.th32ProcessID;
        row.dwPriorityClass = dwPriorityClass;
        row.lBasePriority = pe.pcPriClassBase;
        row.dwNumThreads = pe.cntThreads;
        lstrcpynA(row.szFullPath, exe.szPath, sizeof row.szFullPath);
        rows.Add(row);
    } while (platform.pfnProcess32Next(snapshot, &pe));
    return SnapshotTaken;
}
