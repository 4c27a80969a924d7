#include "NineXToolHelp.h"

#include <map>

namespace ninex {

const Module kKernel = {0x60, "KERNEL32.DLL", "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL"};
const Module kUser = {0x62, "USER32.DLL", "C:\\WINDOWS\\SYSTEM\\USER32.DLL"};
const char kKernelFile[] = "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL";

std::vector<Process> g_table;
void (*g_pfnRefill)(std::vector<Process>& table) = nullptr;

namespace {

// Upper-cased in the code page, character by character.
std::string Upper(std::string text)
{
    if (!text.empty())
        ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The part after the last backslash, found character by character.
std::string FileName(const std::string& path)
{
    size_t nName = 0;
    for (const char* p = path.c_str(); *p != '\0'; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/')
            nName = static_cast<size_t>(p - path.c_str()) + 1;
    }
    return path.substr(nName);
}

// An open snapshot: the process whose modules it lists (the process list:
// none) and its next entry.
struct Cursor
{
    bool bModules;
    DWORD dwID;
    size_t nNext;
};
std::map<HANDLE, Cursor> g_cursors;

bool Ended(const Process& p)
{
    if (p.dwRealPID == 0)
        return false;
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, p.dwRealPID);
    if (hProcess == nullptr)
        return true;
    bool bEnded = ::WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0;
    ::CloseHandle(hProcess);
    return bEnded;
}

const Process* Find(DWORD dwID)
{
    for (const Process& p : g_table) {
        if (p.dwID == dwID && !Ended(p))
            return &p;
    }
    return nullptr;
}

HANDLE WINAPI CreateSnapshot(DWORD dwFlags, DWORD dwID)
{
    bool bModules = (dwFlags & TH32CS_SNAPMODULE) != 0;
    if (!bModules && g_pfnRefill != nullptr)
        g_pfnRefill(g_table);
    if (bModules && Find(dwID) == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = ::CreateEventA(nullptr, TRUE, FALSE, nullptr); // for the caller to close
    g_cursors[h] = {bModules, dwID, 0};
    return h;
}

BOOL WINAPI ProcessNext(HANDLE h, LPPROCESSENTRY32 pe)
{
    Cursor& cursor = g_cursors[h];
    while (cursor.nNext < g_table.size()) {
        const Process& p = g_table[cursor.nNext++];
        if (Ended(p))
            continue;
        DWORD dwSize = pe->dwSize;
        ::ZeroMemory(pe, dwSize);
        pe->dwSize = dwSize;
        pe->cntUsage = 1;
        pe->th32ProcessID = p.dwID;
        pe->th32ModuleID = p.dwModuleID;
        pe->cntThreads = 1;
        pe->th32ParentProcessID = kKernelProcessID;
        pe->pcPriClassBase = 8;
        lstrcpynA(pe->szExeFile, p.exeFile.c_str(), sizeof pe->szExeFile);
        return TRUE;
    }
    ::SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
}

BOOL WINAPI ProcessFirst(HANDLE h, LPPROCESSENTRY32 pe)
{
    g_cursors[h].nNext = 0;
    return ProcessNext(h, pe);
}

BOOL WINAPI ModuleNext(HANDLE h, LPMODULEENTRY32 me)
{
    Cursor& cursor = g_cursors[h];
    const Process* p = Find(cursor.dwID);
    if (p == nullptr || cursor.nNext >= p->modules.size()) {
        ::SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    const Module& m = p->modules[cursor.nNext++];
    DWORD dwSize = me->dwSize;
    ::ZeroMemory(me, dwSize);
    me->dwSize = dwSize;
    me->th32ModuleID = m.dwID;
    me->th32ProcessID = p->dwID;
    me->GlblcntUsage = me->ProccntUsage = 1;
    lstrcpynA(me->szModule, m.name.c_str(), sizeof me->szModule);
    lstrcpynA(me->szExePath, m.path.c_str(), sizeof me->szExePath);
    return TRUE;
}

BOOL WINAPI ModuleFirst(HANDLE h, LPMODULEENTRY32 me)
{
    g_cursors[h].nNext = 0;
    return ModuleNext(h, me);
}

HANDLE WINAPI OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwID)
{
    const Process* p = Find(dwID);
    if (p == nullptr || p->dwRealPID == 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return ::OpenProcess(dwDesiredAccess, bInheritHandle, p->dwRealPID);
}

DWORD WINAPI GetCurrentProcessId()
{
    return Shown(::GetCurrentProcessId());
}

} // namespace

Process KernelEntry()
{
    return {kKernelProcessID, 0, kKernel.dwID, kKernelFile, {kKernel, kUser}};
}

Process Program32(DWORD dwRealPID, DWORD dwModuleID, const std::string& path)
{
    std::string file = Upper(path);
    return {Shown(dwRealPID),
            dwRealPID,
            dwModuleID,
            file,
            {kKernel, {dwModuleID, FileName(file), file}, kUser}};
}

Process Program16(DWORD dwRealPID, const std::string& path)
{
    return {Shown(dwRealPID), dwRealPID, kKernel.dwID, Upper(path), {kKernel, kUser}};
}

void Install(ProcessPlatform& platform)
{
    platform.pfnCreateToolhelp32Snapshot = CreateSnapshot;
    platform.pfnProcess32First = ProcessFirst;
    platform.pfnProcess32Next = ProcessNext;
    platform.pfnModule32First = ModuleFirst;
    platform.pfnModule32Next = ModuleNext;
    platform.pfnQueryFullProcessImageNameA = nullptr; // the family has none
    platform.pfnOpenProcess = OpenProcess;
    platform.pfnGetCurrentProcessId = GetCurrentProcessId;
}

} // namespace ninex
