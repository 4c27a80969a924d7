// Tool Help as the Windows 95 family gives it, which Wine cannot show:
//  - a process entry names its executable's module by id (th32ModuleID)
//    and holds its file's full path, upper-cased, in szExeFile;
//  - a module snapshot lists modules each with an id of its own, the
//    executable not first;
//  - a 16-bit Windows program, and the host of an MS-DOS session, have
//    process entries whose module is the kernel's (KERNEL32.DLL);
//  - the kernel's own entry comes first, with an identifier that opens
//    nothing;
//  - identifiers are those of the processes XORed with a value of the
//    session, near 2^32, and the current process's identifier is given
//    the same way;
//  - QueryFullProcessImageNameA does not exist.
// The snapshots are made from a table over real processes, so that what
// is killed through them is really killed; a process of the table that
// has ended is not listed. The test programs install the model into their
// own process platform; qninex.dll installs it into a running Quellon.exe.
#pragma once

#include "ProcessPlatform.h"

#include <string>
#include <vector>

namespace ninex {

struct Module
{
    DWORD dwID;
    std::string name; // szModule
    std::string path; // szExePath
};

struct Process
{
    DWORD dwID;          // th32ProcessID, as the family gives it
    DWORD dwRealPID;     // the process it stands for; 0 for none (opens nothing)
    DWORD dwModuleID;    // th32ModuleID: the module that names its executable
    std::string exeFile; // szExeFile
    std::vector<Module> modules;
};

// The value of the session that the family XORs identifiers with.
const DWORD kSessionXor = 0xFFEF0000;
// The kernel's module and a system DLL, with the ids every process's
// module snapshot gives them; the kernel's own process entry and its file.
extern const Module kKernel;
extern const Module kUser;
const DWORD kKernelProcessID = 0xFFEF4BCD;
extern const char kKernelFile[];

// The identifier the family gives a real process.
inline DWORD Shown(DWORD dwRealPID)
{
    return dwRealPID ^ kSessionXor;
}

// The kernel's own entry, which lists first.
Process KernelEntry();
// The entry of a real process whose executable is at that path (a 32-bit
// program: its own module, with that id, second in its module snapshot).
Process Program32(DWORD dwRealPID, DWORD dwModuleID, const std::string& path);
// The entry of a real process that the family shows as a 16-bit program,
// or as an MS-DOS session's host, run from that path: its module is the
// kernel's.
Process Program16(DWORD dwRealPID, const std::string& path);

// What the snapshots list. With a refill function, the table is made
// afresh by it at every process snapshot.
extern std::vector<Process> g_table;
extern void (*g_pfnRefill)(std::vector<Process>& table);

// Puts the model's calls into a process platform record.
void Install(ProcessPlatform& platform);

} // namespace ninex
