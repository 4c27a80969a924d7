// Loaded into a running Quellon.exe by the end-to-end probe (qprobe inject),
// this library gives the program Tool Help as the Windows 95 family gives it
// (NineXToolHelp.h), over the real processes of the machine: every process
// whose executable lies in a folder named 16BIT stands for a 16-bit Windows
// program (or an MS-DOS session's host), every other one for a 32-bit
// program. It finds the program's record of the process platform by the
// Tool Help functions that it holds and puts the model's calls into it.
// Loading fails when the record is not found.
#include "NineXToolHelp.h"

#include <map>
#include <string>

namespace {

bool InSixteenBitFolder(const std::string& path)
{
    std::string upper = path;
    if (!upper.empty())
        ::CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    return upper.find("\\16BIT\\") != std::string::npos;
}

// Each executable path keeps its module id for the whole run.
DWORD ModuleID(const std::string& path)
{
    static std::map<std::string, DWORD> ids;
    auto it = ids.find(path);
    if (it == ids.end())
        it = ids.emplace(path, 0x100 + 4 * static_cast<DWORD>(ids.size())).first;
    return it->second;
}

void Refill(std::vector<ninex::Process>& table)
{
    table.assign(1, ninex::KernelEntry());
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    for (BOOL bMore = ::Process32First(hSnapshot, &pe); bMore;
         bMore = ::Process32Next(hSnapshot, &pe)) {
        // The executable's path: the first module of the process. A process
        // whose modules cannot be read (a 64-bit one) is none of the family.
        HANDLE hModules = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pe.th32ProcessID);
        if (hModules == INVALID_HANDLE_VALUE)
            continue;
        MODULEENTRY32 me;
        me.dwSize = sizeof me;
        BOOL bFound = ::Module32First(hModules, &me);
        ::CloseHandle(hModules);
        if (!bFound)
            continue;
        std::string path = me.szExePath;
        table.push_back(InSixteenBitFolder(path)
                            ? ninex::Program16(pe.th32ProcessID, path)
                            : ninex::Program32(pe.th32ProcessID, ModuleID(path), path));
    }
    ::CloseHandle(hSnapshot);
}

// The program's process platform record: the writable memory of its image
// that holds the five Tool Help functions in their order.
ProcessPlatform* FindPlatform()
{
    auto* pBase = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    auto* pDos = reinterpret_cast<IMAGE_DOS_HEADER*>(pBase);
    auto* pNt = reinterpret_cast<IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    IMAGE_SECTION_HEADER* pSection = IMAGE_FIRST_SECTION(pNt);
    // The functions as the program looked them up in the kernel (this
    // library's own imports of them may go through stubs of its own).
    const char* const names[] = {"CreateToolhelp32Snapshot", "Process32First", "Process32Next",
                                 "Module32First", "Module32Next"};
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    void* wanted[5];
    for (int k = 0; k < 5; ++k)
        wanted[k] = reinterpret_cast<void*>(::GetProcAddress(hKernel, names[k]));
    for (WORD i = 0; i < pNt->FileHeader.NumberOfSections; ++i, ++pSection) {
        if ((pSection->Characteristics & IMAGE_SCN_MEM_WRITE) == 0)
            continue;
        auto* p = reinterpret_cast<void**>(pBase + pSection->VirtualAddress);
        size_t n = pSection->Misc.VirtualSize / sizeof(void*);
        for (size_t j = 0; j + 5 <= n; ++j) {
            if (p[j] == wanted[0] && p[j + 1] == wanted[1] && p[j + 2] == wanted[2] &&
                p[j + 3] == wanted[3] && p[j + 4] == wanted[4])
                return reinterpret_cast<ProcessPlatform*>(&p[j]);
        }
    }
    return nullptr;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason != DLL_PROCESS_ATTACH)
        return TRUE;
    ProcessPlatform* pPlatform = FindPlatform();
    if (pPlatform == nullptr)
        return FALSE;
    ninex::g_pfnRefill = Refill;
    ninex::Install(*pPlatform);
    return TRUE;
}
