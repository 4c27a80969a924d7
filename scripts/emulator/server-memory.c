/* A library for Wine's server where 32-bit programs run emulated by qemu
   (LD_PRELOAD, set by scripts/wine64/wine and scripts/wine64/wineserver,
   from which a server starts; native programs that load it are left as
   they are).

   The server reads and writes the memory of a Windows program through
   /proc/<pid>/mem, and single words with ptrace (ReadProcessMemory,
   WriteProcessMemory, and what Wine builds on them, the Tool Help module
   snapshots among them). qemu keeps the emulated program's
   address 0 at a host address above it (its guest base), so the server
   misses every such access by that much: a module snapshot of an emulated
   program fails (error 998) and a message that carries a pointer into it
   reads and writes the wrong bytes. This library adds the guest base to
   the address of every access that the server makes to the memory of a
   process that runs under qemu, so that the server sees the emulated
   program's memory where the program sees it. Processes that run natively
   are left as they are.

   The guest base is read off the process: qemu reserves the emulated
   address space from the guest base up, so it is the start of the
   process's lowest mapping. That holds where the base is given to qemu
   (QEMU_GUEST_BASE, which scripts/i386.sh sets for every emulated
   program); left to itself, qemu 8 and later choose a base of 0 and
   start the reservation at the host's lowest mappable address instead,
   which this could not tell from a base (qemu 7.2 chooses 0x1000 and
   reserves from there).

   qemu reserves the whole emulated address space, so the server could read
   the pages that the program has not mapped, as zeros, where the system
   refuses. Windows never maps the first 64 KiB, and Wine's walk of another
   process's module list ends when a read of a null pointer fails; with
   zeros it would go round for ever. Accesses there fail as they do
   natively (EIO). */
#define _GNU_SOURCE
#include <stdlib.h>
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <sys/ptrace.h>
#include <sys/types.h>
#include <unistd.h>

typedef long (*ptrace_fn)(int, pid_t, void*, void*);

/* The emulated program's lowest address that may be mapped. */
static const unsigned long kLowestMapped = 0x10000;

/* The host address of an emulated process's address 0: the start of the
   lowest mapping of the qemu process, where qemu's reservation of the
   emulated address space begins at the guest base that it was given; 0 for
   a process that qemu does not run. */
static unsigned long GuestBase(pid_t pid)
{
    char path[64], exe[4096];
    snprintf(path, sizeof path, "/proc/%d/exe", (int)pid);
    ssize_t n = readlink(path, exe, sizeof exe - 1);
    if (n <= 0)
        return 0;
    exe[n] = '\0';
    const char* name = strrchr(exe, '/');
    name = name ? name + 1 : exe;
    if (strncmp(name, "qemu-i386", 9) != 0)
        return 0;
    snprintf(path, sizeof path, "/proc/%d/maps", (int)pid);
    FILE* maps = fopen(path, "r");
    unsigned long start = 0;
    if (maps == NULL)
        return 0;
    if (fscanf(maps, "%lx-", &start) != 1)
        start = 0;
    fclose(maps);
    return start;
}

/* The offset for an access through a file descriptor: that of the process
   when the descriptor is open on its /proc/<pid>/mem, else 0. */
static unsigned long MemFileBase(int fd)
{
    char path[64], target[64];
    snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(path, target, sizeof target - 1);
    if (n <= 0)
        return 0;
    target[n] = '\0';
    char* end = NULL;
    if (strncmp(target, "/proc/", 6) != 0)
        return 0;
    long pid = strtol(target + 6, &end, 10);
    if (end == target + 6 || strcmp(end, "/mem") != 0)
        return 0;
    return GuestBase((pid_t)pid);
}

/* Whether an access at an emulated program's address must fail. */
static int Refused(unsigned long base, unsigned long address)
{
    if (base != 0 && address < kLowestMapped) {
        errno = EIO;
        return 1;
    }
    return 0;
}

typedef ssize_t (*pread_fn)(int, void*, size_t, off_t);
typedef ssize_t (*pwrite_fn)(int, const void*, size_t, off_t);

/* pread, pwrite and their 64-bit names: the access goes to the emulated
   program's address (or fails) where fd is open on its memory. */
#define AT_GUEST_ADDRESS(name, fn_type, buf_type)                                                  \
    ssize_t name(int fd, buf_type buf, size_t count, off_t offset)                                 \
    {                                                                                              \
        static fn_type next;                                                                       \
        if (next == NULL)                                                                          \
            next = (fn_type)dlsym(RTLD_NEXT, #name);                                               \
        unsigned long base = MemFileBase(fd);                                                      \
        if (Refused(base, (unsigned long)offset))                                                  \
            return -1;                                                                             \
        return next(fd, buf, count, offset + (off_t)base);                                         \
    }

AT_GUEST_ADDRESS(pread, pread_fn, void*)
AT_GUEST_ADDRESS(pread64, pread_fn, void*)
AT_GUEST_ADDRESS(pwrite, pwrite_fn, const void*)
AT_GUEST_ADDRESS(pwrite64, pwrite_fn, const void*)

long ptrace(enum __ptrace_request request, ...)
{
    static ptrace_fn next;
    /* The process whose offset was looked up last: the server peeks many
       words of one process in a row, and attaches before it does. */
    static pid_t cached_pid = -1;
    static unsigned long cached_base;
    va_list ap;
    va_start(ap, request);
    pid_t pid = va_arg(ap, pid_t);
    char* addr = va_arg(ap, char*);
    void* data = va_arg(ap, void*);
    va_end(ap);
    if (next == NULL)
        next = (ptrace_fn)dlsym(RTLD_NEXT, "ptrace");
    if (request == PTRACE_ATTACH)
        cached_pid = -1;
    if (request == PTRACE_PEEKDATA || request == PTRACE_PEEKTEXT || request == PTRACE_POKEDATA ||
        request == PTRACE_POKETEXT) {
        if (pid != cached_pid) {
            cached_base = GuestBase(pid);
            cached_pid = pid;
        }
        if (Refused(cached_base, (unsigned long)addr))
            return -1;
        addr += cached_base;
    }
    return next(request, pid, addr, data);
}
