/* A library that qemu's user-mode emulator loads into Wine's emulated
   32-bit loader (LD_PRELOAD, which QEMU_SET_ENV sets for the emulated
   programs only; scripts/i386.sh). It gives
   mmap with MAP_FIXED_NOREPLACE the kernel's meaning: the range asked for
   or nothing (EEXIST).

   qemu 7.2 takes MAP_FIXED_NOREPLACE for a mere hint and answers with any
   free range when the one asked for is taken. Wine reserves the address
   space of a 32-bit process with such requests, from 0x00010000 up; qemu
   has put the emulated program's own libraries just below 0x40000000, so
   the first request is answered elsewhere, high up, where Wine keeps what
   it got as a reservation of its own; every later request for high memory
   then collides with those, and Wine splits them all down to 64 KiB: some
   130,000 calls and a minute before the first instruction of the Windows
   program. With the kernel's answer, Wine only splits the ranges that
   really hold something.

   Built freestanding (no 32-bit C library needed to build it); the C
   library's functions are found when the library is loaded. */

typedef unsigned int size_t;
typedef long off_t;
typedef long long off64_t;

#define MAP_FIXED_NOREPLACE 0x100000
#define MAP_FAILED ((void*)-1)
#define EEXIST 17
#define RTLD_NEXT ((void*)-1l)

extern void* dlsym(void* handle, const char* name);
extern int* __errno_location(void);
extern int munmap(void* addr, size_t len);
extern int unsetenv(const char* name);

typedef void* (*mmap_fn)(void*, size_t, int, int, int, off_t);
typedef void* (*mmap64_fn)(void*, size_t, int, int, int, off64_t);

static void* Checked(void* want, void* got, size_t len, int flags)
{
    if ((flags & MAP_FIXED_NOREPLACE) != 0 && got != MAP_FAILED && got != want) {
        munmap(got, len);
        *__errno_location() = EEXIST;
        return MAP_FAILED;
    }
    return got;
}

void* mmap(void* addr, size_t len, int prot, int flags, int fd, off_t off)
{
    static mmap_fn next;
    if (next == 0)
        next = (mmap_fn)dlsym(RTLD_NEXT, "mmap");
    return Checked(addr, next(addr, len, prot, flags, fd, off), len, flags);
}

void* mmap64(void* addr, size_t len, int prot, int flags, int fd, off64_t off)
{
    static mmap64_fn next;
    if (next == 0)
        next = (mmap64_fn)dlsym(RTLD_NEXT, "mmap64");
    return Checked(addr, next(addr, len, prot, flags, fd, off), len, flags);
}

/* The emulator sets LD_PRELOAD again for every emulated program it starts;
   the native 64-bit programs that Wine starts from this one (a 64-bit
   Windows program, the Wine server) need not see it. */
__attribute__((constructor)) static void ForgetPreload(void)
{
    unsetenv("LD_PRELOAD");
}
