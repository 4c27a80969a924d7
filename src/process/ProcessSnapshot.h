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

// Takes the snapshot into rows (emptied first). A process whose executable
// cannot be found (GetEntryExecutable) has no row; a process whose
// priority class cannot be read has the class 0.
SnapshotResult TakeProcessSnapshot(const ProcessPlatform& platform, CArray<ProcessRow>& rows);
