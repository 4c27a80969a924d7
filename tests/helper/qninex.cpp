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

// The real Tool Help, which the model's table is made from.
struct RealToolHelp
{
    decltype(&::CreateToolhelp32Snapshot) create;
    decltype(&::Process32First) processFirst;
    decltype(&::Process32Next) processNext;
    decltype(&::Module32First) moduleFirst;
    decltype(&::Module32Next) moduleNext;
};
RealToolHelp g_real;

template <typename Fn> void LookUp(HMODULE hKernel, const char* pszName, Fn* ppfn)
{
    *ppfn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(hKernel, pszName)));
}

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
    HANDLE hSnapshot = g_real.create(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    for (BOOL bMore = g_real.processFirst(hSnapshot, &pe); bMore;
         bMore = g_real.processNext(hSnapshot, &pe)) {
        // The executable's path: the first module of the process. A process
        // whose modules cannot be read (a 64-bit one) is none of the family.
        HANDLE hModules = g_real.create(TH32CS_SNAPMODULE, pe.th32ProcessID);
        if (hModules == INVALID_HANDLE_VALUE)
            continue;
        MODULEENTRY32 me;
        me.dwSize = sizeof me;
        BOOL bFound = g_real.moduleFirst(hModules, &me);
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
    const void* wanted[] = {
        reinterpret_cast<void*>(g_real.create), reinterpret_cast<void*>(g_real.processFirst),
        reinterpret_cast<void*>(g_real.processNext), reinterpret_cast<void*>(g_real.moduleFirst),
        reinterpret_cast<void*>(g_real.moduleNext)};
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
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    LookUp(hKernel, "CreateToolhelp32Snapshot", &g_real.create);
    LookUp(hKernel, "Process32First", &g_real.processFirst);
    LookUp(hKernel, "Process32Next", &g_real.processNext);
    LookUp(hKernel, "Module32First", &g_real.moduleFirst);
    LookUp(hKernel, "Module32Next", &g_real.moduleNext);
    ProcessPlatform* pPlatform = FindPlatform();
    if (pPlatform == nullptr)
        return FALSE;
    ninex::g_pfnRefill = Refill;
    ninex::Install(*pPlatform);
    return TRUE;
}
