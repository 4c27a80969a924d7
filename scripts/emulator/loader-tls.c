/* A library that qemu's user-mode emulator loads into Wine's emulated
   32-bit loader beside loader-mmap.c (LD_PRELOAD through QEMU_SET_ENV;
   scripts/i386.sh). It gives every thread segment descriptors of its own.

   A 32-bit Linux program reaches its thread's data through segment
   registers: the C library's through %gs, Wine's (the TEB of the Windows
   thread) through %fs. Both come from thread-local entries of the global
   descriptor table (set_thread_area), which the kernel keeps for each
   thread. qemu 7.2 keeps one table for all the threads of a program, so
   the entries of every thread hold the bases of the thread created last.
   A thread keeps its own bases only until it loads the selector again,
   and Wine loads %fs and %gs at every signal it handles (and qemu at the
   return from it): from then on the thread runs on another thread's TEB
   and C library data. A Windows program that starts a thread and then
   takes a signal in another one hangs or fails (the common file dialog
   did, one start in two).

   Entries of the local descriptor table (modify_ldt) are the program's
   alike, but each thread takes entries of its own there. So this library
   - refuses the allocation of a thread-local entry through syscall(),
     which is how Wine asks for its %fs entry; Wine then gives each
     thread an entry of the local table of its own for %fs (as it does
     where the kernel has no thread-local entries), from entry 512 up,
     because %gs is in the local table too;
   - moves the C library's %gs of the main thread, and of every thread
     that pthread_create starts, to an entry of the local table below 512
     with the same base, before the thread runs any of Wine's code; a
     thread's entry is given back when it ends (the key's destructor) and
     taken again only after every other entry (next fit). The C library
     starts a thread in the global entry that the caller's %gs selects, so
     the caller goes back to glibc's entry for the time of the start.

   Built freestanding like loader-mmap.c; the C library's functions are
   found when the library is loaded. */

typedef unsigned int size_t;
typedef unsigned int pthread_key_t;

#define RTLD_NEXT ((void*)-1l)
#define ENOSYS 38
#define EAGAIN 11
#define SYS_modify_ldt 123
#define SYS_rt_sigprocmask 175
#define SYS_set_thread_area 243
#define SIG_SETMASK 2

extern void* dlsym(void* handle, const char* name);
extern int* __errno_location(void);
extern void* malloc(size_t size);
extern void free(void* p);
extern int pthread_key_create(pthread_key_t* key, void (*destructor)(void*));
extern int pthread_setspecific(pthread_key_t key, const void* value);

/* The kernel's struct user_desc. */
struct UserDesc
{
    unsigned int entry_number;
    unsigned int base_addr;
    unsigned int limit;
    unsigned int seg_32bit : 1;
    unsigned int contents : 2;
    unsigned int read_exec_only : 1;
    unsigned int limit_in_pages : 1;
    unsigned int seg_not_present : 1;
    unsigned int useable : 1;
};

/* The entries of the local table for %gs: below Wine's, which start at 512
   once %gs is in the local table. */
enum { kFirstEntry = 16, kEndEntry = 512 };
static volatile unsigned char s_used[kEndEntry];
static volatile unsigned int s_next = kFirstEntry;
static pthread_key_t s_key;
static int s_haveKey;
/* The C library's own selector for %gs, in the global table. */
static unsigned short s_libcGs;

static int AllocEntry(void)
{
    for (unsigned int n = 0; n < kEndEntry - kFirstEntry; ++n) {
        unsigned int i = __sync_fetch_and_add(&s_next, 1);
        unsigned int entry = kFirstEntry + (i - kFirstEntry) % (kEndEntry - kFirstEntry);
        if (__sync_bool_compare_and_swap(&s_used[entry], 0, 1))
            return (int)entry;
    }
    return -1;
}

static void FreeEntry(void* value)
{
    unsigned int entry = (unsigned int)value;
    if (entry >= kFirstEntry && entry < kEndEntry)
        __sync_lock_release(&s_used[entry]);
}

static long Syscall4(long number, long a1, long a2, long a3, long a4)
{
    long result;
    __asm__ volatile("int $0x80"
                     : "=a"(result)
                     : "0"(number), "b"(a1), "c"(a2), "d"(a3), "S"(a4)
                     : "memory");
    return result;
}

/* A descriptor like glibc's for its thread data: 4 GiB of writable data
   from the base. */
static struct UserDesc TlsDesc(unsigned int entry, unsigned int base)
{
    struct UserDesc desc = {entry, base, 0xfffff, 1, 0, 0, 1, 0, 1};
    return desc;
}

static unsigned short Gs(void)
{
    unsigned short selector;
    __asm__ volatile("movw %%gs, %0" : "=r"(selector));
    return selector;
}

/* The C library's thread control block, which points to itself at %gs:0. */
static unsigned int GsBase(void)
{
    unsigned int base;
    __asm__ volatile("movl %%gs:0, %0" : "=r"(base));
    return base;
}

static void LoadGs(unsigned short selector)
{
    __asm__ volatile("movw %0, %%gs" : : "r"(selector) : "memory");
}

/* Moves the calling thread's %gs to an entry of its own in the local table,
   with the base it has now. A thread that cannot have one keeps its entry
   of the global table. */
static void OwnGs(void)
{
    int entry = AllocEntry();
    if (entry < 0)
        return;
    struct UserDesc desc = TlsDesc((unsigned int)entry, GsBase());
    if (Syscall4(SYS_modify_ldt, 0x11, (long)&desc, sizeof desc, 0) != 0) {
        FreeEntry((void*)entry);
        return;
    }
    LoadGs((unsigned short)((entry << 3) | 7)); /* local table, ring 3 */
    if (s_haveKey)
        pthread_setspecific(s_key, (void*)entry);
}

struct Start
{
    void* (*pfn)(void*);
    void* pArg;
    unsigned int mask[2]; /* the caller's signal mask */
};

static void* StartThread(void* p)
{
    struct Start start = *(struct Start*)p;
    free(p);
    if (s_libcGs != 0)
        OwnGs();
    /* The C library starts the thread with the mask that its caller had,
       which was every signal blocked: back to the caller's own. */
    Syscall4(SYS_rt_sigprocmask, SIG_SETMASK, (long)start.mask, 0, sizeof start.mask);
    return start.pfn(start.pArg);
}

typedef int (*pthread_create_fn)(void*, const void*, void* (*)(void*), void*);

static volatile int s_createLock;

/* The C library starts a thread in the entry of the global table that the
   caller's %gs selects, the new thread's base in it. So for the time of the
   start the caller is back in glibc's entry, set to its own base first,
   with every signal blocked (a signal would load the selector again) and
   one start at a time (the entry is shared). */
int pthread_create(void* pThread, const void* pAttr, void* (*pfn)(void*), void* pArg)
{
    static pthread_create_fn next;
    if (next == 0)
        next = (pthread_create_fn)dlsym(RTLD_NEXT, "pthread_create");
    struct Start* pStart = malloc(sizeof *pStart);
    if (pStart == 0)
        return EAGAIN;
    pStart->pfn = pfn;
    pStart->pArg = pArg;

    unsigned int all[2] = {0xffffffffu, 0xffffffffu}, old[2];
    Syscall4(SYS_rt_sigprocmask, SIG_SETMASK, (long)all, (long)old, sizeof all);
    pStart->mask[0] = old[0];
    pStart->mask[1] = old[1];
    while (__sync_lock_test_and_set(&s_createLock, 1))
        ;
    unsigned short ownGs = Gs();
    int moved = s_libcGs != 0 && (ownGs & 4) != 0;
    if (moved) {
        struct UserDesc desc = TlsDesc(s_libcGs >> 3, GsBase());
        Syscall4(SYS_set_thread_area, (long)&desc, 0, 0, 0);
        LoadGs(s_libcGs);
    }
    int result = next(pThread, pAttr, StartThread, pStart);
    if (moved)
        LoadGs(ownGs);
    __sync_lock_release(&s_createLock);
    Syscall4(SYS_rt_sigprocmask, SIG_SETMASK, (long)old, 0, sizeof old);
    if (result != 0) /* else the new thread has it */
        free(pStart);
    return result;
}

typedef long (*syscall_fn)(long, long, long, long, long, long, long);

/* The C library's syscall(): up to six arguments, read from the caller's
   stack as the variadic original reads them. */
long syscall(long number, long a1, long a2, long a3, long a4, long a5, long a6)
{
    static syscall_fn next;
    if (number == SYS_set_thread_area && ((struct UserDesc*)a1)->entry_number == 0xffffffffu) {
        *__errno_location() = ENOSYS;
        return -1;
    }
    if (next == 0)
        next = (syscall_fn)dlsym(RTLD_NEXT, "syscall");
    return next(number, a1, a2, a3, a4, a5, a6);
}

__attribute__((constructor)) static void OwnMainThreadGs(void)
{
    s_libcGs = Gs();
    if (s_libcGs == 0 || (s_libcGs & 4) != 0) { /* not in the global table: nothing to mend */
        s_libcGs = 0;
        return;
    }
    s_haveKey = pthread_key_create(&s_key, FreeEntry) == 0;
    OwnGs();
}
