// Memory for the framework and the program, from the process heap, and the
// memory functions that the compiler calls for copies and fills of its
// own: Quellon.exe links no C runtime library, so these are the only ones
// it has. (Test programs use them too: the framework's library comes
// before the C runtime in their link.)
#include "afx.h"

void* AfxAlloc(size_t cb)
{
    void* p = ::HeapAlloc(::GetProcessHeap(), 0, cb != 0 ? cb : 1);
    if (p == nullptr)
        AfxAbortOutOfMemory();
    return p;
}

void* AfxReAlloc(void* p, size_t cb)
{
    if (p == nullptr)
        return AfxAlloc(cb);
    void* pNew = ::HeapReAlloc(::GetProcessHeap(), 0, p, cb != 0 ? cb : 1);
    if (pNew == nullptr)
        AfxAbortOutOfMemory();
    return pNew;
}

void AfxFree(void* p)
{
    if (p != nullptr)
        ::HeapFree(::GetProcessHeap(), 0, p);
}

// Byte by byte: the program copies short strings and small arrays. (This
// file is compiled so that the compiler does not turn the loops back into
// calls of the functions themselves.)
extern "C" {

void* memmove(void* pDst, const void* pSrc, size_t cb)
{
    unsigned char* d = static_cast<unsigned char*>(pDst);
    const unsigned char* s = static_cast<const unsigned char*>(pSrc);
    if (d <= s || d >= s + cb) {
        while (cb-- != 0)
            *d++ = *s++;
    } else {
        // The source overlaps the destination's end: copied from the back.
        d += cb;
        s += cb;
        while (cb-- != 0)
            *--d = *--s;
    }
    return pDst;
}

// The ranges of a copy do not overlap; a move's do no harm.
void* memcpy(void* pDst, const void* pSrc, size_t cb)
{
    return memmove(pDst, pSrc, cb);
}

void* memset(void* pDst, int c, size_t cb)
{
    unsigned char* d = static_cast<unsigned char*>(pDst);
    while (cb-- != 0)
        *d++ = static_cast<unsigned char>(c);
    return pDst;
}

int memcmp(const void* pA, const void* pB, size_t cb)
{
    const unsigned char* a = static_cast<const unsigned char*>(pA);
    const unsigned char* b = static_cast<const unsigned char*>(pB);
    for (; cb != 0; --cb, ++a, ++b) {
        if (*a != *b)
            return *a < *b ? -1 : 1;
    }
    return 0;
}

} // extern "C"
