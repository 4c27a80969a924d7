// A snapshot of the running processes, as the rows of the process list:
// one row per executable and path, in the order the platform enumerates
// them, each the first process of its executable.
#pragma once

#include "ProcessPlatform.h"
#include "afx.h"

// One listed process.
struct ProcessRow
{
    char szProcess[256];   // name of the process's executable
    DWORD dwPID;           // process identifier
    DWORD dwPriorityClass; // priority class; 0 when it cannot be read
    LONG lBasePriority;    // base priority of the process's threads
    DWORD dwNumThreads;    // number of threads
    char szFullPath[260];  // full path of the executable file
};

enum SnapshotResult {
    SnapshotNone,  // no snapshot could be had (or no Tool Help): nothing is known
    SnapshotEmpty, // the snapshot had no first process
    SnapshotTaken  // the snapshot was walked to its end
};

// Walks a snapshot of the running processes: visit(pe) for each process
// entry, in the platform's order, until it returns false.
template <class Visit>
SnapshotResult WalkProcessEntries(const ProcessPlatform& platform, Visit visit)
{
    if (!platform.HasToolHelp())
        return SnapshotNone;
    CFileHandle snapshot(platform.pfnCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return SnapshotNone;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    if (!platform.pfnProcess32First(snapshot, &pe))
        return SnapshotEmpty;
    while (visit(pe) && platform.pfnProcess32Next(snapshot, &pe)) {
    }
    return SnapshotTaken;
}

// Takes the snapshot into rows (emptied first). A process whose executable
// cannot be found (GetEntryExecutable) has no row; a process whose
// priority class cannot be read has the class 0.
SnapshotResult TakeProcessSnapshot(const ProcessPlatform& platform, CArray<ProcessRow>& rows);
