/* Wine's 32-bit loader for the emulated programs, at a fixed address far
   above the Windows programs' own. scripts/i386.sh builds it where the
   system's loader is a position-independent executable and puts it beside
   a copy of Wine's 64-bit loader, which starts 32-bit programs through it.

   A Windows program is made to be loaded at its own base, 0x00400000 for
   almost every EXE, and one without base relocations (Quellon.exe among
   them) can be loaded nowhere else. qemu's user-mode emulator as Debian 13
   has it (10.0.13) puts a position-independent executable at 0x00400000:
   Debian 13's Wine loader is one, so the program's place is taken before
   Wine starts, and Wine refuses the program (STATUS_CONFLICTING_ADDRESSES).
   Debian 12's loader is linked at 0x7d000000, out of the way; this one is
   linked there too, and does what Wine's loader does: it loads Wine's
   ntdll.so and hands it the command line. Wine finds its own folders from
   this file's place (scripts/i386.sh puts Wine's data folder beside it).

   Built freestanding against the 32-bit C library (no 32-bit development
   files are needed), with the start-up of a plain C program of its own. */

#define RTLD_NOW 2

extern void* dlopen(const char* file, int mode);
extern void* dlsym(void* handle, const char* name);
extern char* dlerror(void);
extern unsigned int strlen(const char* text);
extern long write(int fd, const void* buffer, unsigned int count);
extern int __libc_start_main(int (*main)(int, char**, char**), int argc, char** argv,
                             void (*init)(void), void (*fini)(void), void (*rtld_fini)(void),
                             void* stack_end);

/* Tells the C library that this program was built against its current
   stdio, as the C start-up files do: without it the library takes the
   program for one built before glibc 2.1, and an emulated Windows
   program's writes to a file landed a gigabyte into it. */
const int _IO_stdin_used = 0x20001;

/* What the loader reserved of the address space before ntdll.so came:
   nothing; ntdll.so reserves it itself. */
void* wine_main_preload_info;

static void Fail(const char* what, const char* why)
{
    write(2, what, strlen(what));
    if (why != 0)
        write(2, why, strlen(why));
    write(2, "\n", 1);
}

int LoaderMain(int argc, char** argv, char** envp)
{
    void* ntdll = dlopen(NTDLL_PATH, RTLD_NOW);
    if (ntdll == 0) {
        Fail("wine: could not load ntdll.so: ", dlerror());
        return 1;
    }
    void (*wine_main)(int, char**, char**) =
        (void (*)(int, char**, char**))dlsym(ntdll, "__wine_main");
    if (wine_main == 0) {
        Fail("wine: __wine_main function not found in ntdll.so", 0);
        return 1;
    }
    wine_main(argc, argv, envp);
    return 1;
}

/* The start-up of a C program on the i386: the C library's own start with
   argc and argv as the kernel left them, and the dynamic linker's
   finalizer in %edx. */
__asm__(".text\n"
        ".globl _start\n"
        "_start:\n"
        "    xorl %ebp, %ebp\n"
        "    popl %esi\n"
        "    movl %esp, %ecx\n"
        "    andl $-16, %esp\n"
        "    pushl %eax\n"
        "    pushl %esp\n"
        "    pushl %edx\n"
        "    pushl $0\n"
        "    pushl $0\n"
        "    pushl %ecx\n"
        "    pushl %esi\n"
        "    pushl $LoaderMain\n"
        "    call __libc_start_main\n"
        "    hlt\n");
