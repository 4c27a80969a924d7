// What a process runs, as its row shows it: the executable's name and full
// path. The refresh lists a process by it and the kill confirms it before
// it ends a process, so the two can never tell a process's executable
// apart.
#pragma once

#include "ProcessPlatform.h"

#include <windows.h>

struct ProcessExecutable
{
    char szName[256]; // the Process column
    char szPath[260]; // the FullPath column
};

// The module entry of a process's executable. The Windows 95 family names
// it in the process entry (th32ModuleID), and that module is found by its
// id in the process's module snapshot. The NT family (and Wine) leave
// th32ModuleID 0 in process entries; there the executable is the first
// module of the snapshot or, where the snapshot cannot be had (a 64-bit
// process seen by this 32-bit program), what the system tells from a
// handle to the process.
BOOL FindExecutableModule(const ProcessPlatform& platform, DWORD dwPID, DWORD dwModuleID,
                          MODULEENTRY32* lpme, DWORD cbme);

// The executable that a process entry runs: that of its module, except
// where the module is the kernel's own (KERNEL32.DLL) while the entry's own
// file is another. The Windows 95 family gives a 16-bit Windows program,
// and the host of an MS-DOS session, a process entry whose module is the
// kernel's; the entry's szExeFile holds the program's own full path. Those
// are listed, and killed, under their own names. FALSE when the executable
// cannot be found: the process gets no row.
BOOL GetEntryExecutable(const ProcessPlatform& platform, const PROCESSENTRY32& pe,
                        ProcessExecutable* pExe);

// Whether the process with this identifier runs the executable of that name
// and path (compared upper-cased), by a snapshot taken now. A process that
// is not in the snapshot, or whose executable cannot be found, does not.
BOOL ProcessRunsExecutable(const ProcessPlatform& platform, DWORD dwPID, LPCSTR lpszName,
                           LPCSTR lpszPath);
