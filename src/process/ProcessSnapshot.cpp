#include "ProcessSnapshot.h"

#include "ExecutableKey.h"
#include "ProcessExecutable.h"

namespace {
const DWORD kProcessAllAccess = 0x1F0FFF;
} // namespace

SnapshotResult TakeProcessSnapshot(const ProcessPlatform& platform, CArray<ProcessRow>& rows)
{
    rows.RemoveAll();
    // The executables listed so far.
    CExecutableSet listed;
    return WalkProcessEntries(platform, [&](const PROCESSENTRY32& pe) {
        ProcessExecutable exe;
        if (!GetEntryExecutable(platform, pe, &exe))
            return true; // no executable, no row
        // One row per executable and path.
        if (!listed.Add(ExecutableKey(exe.szName, exe.szPath)))
            return true;

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
        return true;
    });
}
