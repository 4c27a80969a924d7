// The program's start-up, in place of the compiler's C runtime start-up
// code: Quellon.exe is linked without that code, without the compiler's
// support libraries and without a C runtime library, against the Win32
// DLLs of Windows 95 only. Everything here runs on the i386, with or
// without a maths coprocessor, and on every Windows of the 95 family.
//
// The entry point runs the static constructors, calls WinMain with the
// command line after the program's name, runs the registered exit functions
// (the destructors of function-local static objects) in reverse order and
// then the destructors of the other static objects, and ends the process
// with WinMain's result. Test programs do not link this file: they keep the
// compiler's own start-up.
#include "afxwin.h"

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOA) == 68, "the STARTUPINFOA of Windows 95");
#endif

extern "C" {

typedef void(__cdecl* PVFV)();

// The linker's constructor and destructor tables: -1, the functions, 0.
extern PVFV __CTOR_LIST__[];
extern PVFV __DTOR_LIST__[];

// The exit functions, run last registered first. A function-local static
// object registers its destructor here when it is first constructed
// (compiled with -fno-use-cxa-atexit); the program has a few.
static PVFV g_exitFunctions[256];
static int g_nExitFunctions;

int __cdecl atexit(PVFV pfn)
{
    if (g_nExitFunctions == static_cast<int>(sizeof g_exitFunctions / sizeof g_exitFunctions[0]))
        return -1;
    g_exitFunctions[g_nExitFunctions++] = pfn;
    return 0;
}

// Referenced by the linker's start-up support; the program has no
// pseudo-relocations to apply (the linker map shows none).
void __cdecl _pei386_runtime_relocator() {}

// A pure virtual function was called: a defect of the program.
void __cdecl __cxa_pure_virtual()
{
    ::FatalAppExitA(0, "Pure virtual function call.");
    ::ExitProcess(3);
}

void __cdecl QuellonStartup()
{
    // Constructors run from the end of the table to its start.
    int nCtors = 0;
    while (__CTOR_LIST__[nCtors + 1] != nullptr)
        ++nCtors;
    for (int i = nCtors; i >= 1; --i)
        __CTOR_LIST__[i]();

    STARTUPINFOA si;
    si.cb = sizeof si;
    ::GetStartupInfoA(&si);
    int nCmdShow = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
    int nResult = WinMain(::GetModuleHandleA(nullptr), nullptr,
                          const_cast<LPSTR>(AfxSkipProgramName(::GetCommandLineA())), nCmdShow);

    while (g_nExitFunctions > 0)
        g_exitFunctions[--g_nExitFunctions]();
    for (int i = 1; __DTOR_LIST__[i] != nullptr; ++i)
        __DTOR_LIST__[i]();
    ::ExitProcess(static_cast<UINT>(nResult));
}

} // extern "C"

// Memory for objects comes from the process heap. Without memory for an
// object the program cannot go on; it ends with a message (AfxAlloc).
void* operator new(size_t cb)
{
    return AfxAlloc(cb);
}

void* operator new[](size_t cb)
{
    return operator new(cb);
}

void operator delete(void* p) noexcept
{
    AfxFree(p);
}

void operator delete[](void* p) noexcept
{
    AfxFree(p);
}

void operator delete(void* p, size_t) noexcept
{
    AfxFree(p);
}

void operator delete[](void* p, size_t) noexcept
{
    AfxFree(p);
}
