// Owners of system handles and scoped changes of state: each gives back
// what it holds when it goes, on every way out of the scope that holds it.
// They need nothing of the framework but the system's own types; afx.h
// includes this header, so every part of the framework has them.
#pragma once

#include <windows.h>

// ---------------------------------------------------------------------------
// CHandleT: the owner of one handle. The traits name the handle's type, the
// value that stands for no handle, and how a handle is released. An owner
// can be moved, not copied.

template <class Traits> class CHandleT
{
public:
    typedef typename Traits::Type Type;

    CHandleT() noexcept : m_h(Traits::None()) {}
    explicit CHandleT(Type h) noexcept : m_h(h) {}
    ~CHandleT() { Close(); }
    CHandleT(CHandleT&& other) noexcept : m_h(other.Detach()) {}
    CHandleT& operator=(CHandleT&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CHandleT(const CHandleT&) = delete;
    CHandleT& operator=(const CHandleT&) = delete;

    Type Get() const { return m_h; }
    operator Type() const { return m_h; }
    bool IsValid() const { return m_h != Traits::None(); }
    // Where a function that makes a handle puts it; the handle held so far
    // is released first.
    Type* Receive()
    {
        Close();
        return &m_h;
    }
    // Takes a handle, releasing the one held so far.
    void Attach(Type h)
    {
        Close();
        m_h = h;
    }
    // Gives the handle up without releasing it.
    Type Detach()
    {
        Type h = m_h;
        m_h = Traits::None();
        return h;
    }
    void Close()
    {
        if (IsValid())
            Traits::Close(Detach());
    }

private:
    Type m_h;
};

// Kernel objects that say "none" with NULL: processes, threads, events.
struct AfxKernelHandleTraits
{
    typedef HANDLE Type;
    static HANDLE None() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

// Kernel objects that say "none" with INVALID_HANDLE_VALUE: files and Tool
// Help snapshots.
struct AfxFileHandleTraits
{
    typedef HANDLE Type;
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

struct AfxRegKeyTraits
{
    typedef HKEY Type;
    static HKEY None() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};

// A module that LoadLibrary loaded.
struct AfxLibraryTraits
{
    typedef HMODULE Type;
    static HMODULE None() { return nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};

// A block of memory from GlobalAlloc, as the common dialogs hand them out.
struct AfxGlobalTraits
{
    typedef HGLOBAL Type;
    static HGLOBAL None() { return nullptr; }
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};

// An icon that the program made or loaded for itself (not a shared one).
struct AfxIconTraits
{
    typedef HICON Type;
    static HICON None() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};

typedef CHandleT<AfxKernelHandleTraits> CKernelHandle;
typedef CHandleT<AfxFileHandleTraits> CFileHandle;
typedef CHandleT<AfxRegKeyTraits> CRegKey;
typedef CHandleT<AfxLibraryTraits> CLibrary;
typedef CHandleT<AfxGlobalTraits> CGlobalHandle;
typedef CHandleT<AfxIconTraits> CIconHandle;

// The function of that name in a loaded module, as a pointer of the type
// Fn; NULL where the module (NULL) or the function is missing. For what
// only some systems have, looked up when it is needed.
template <typename Fn> Fn AfxGetProcAddress(HMODULE hModule, const char* pszName)
{
    return hModule
               ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszName)))
               : nullptr;
}

// Registry keys into an owner. On failure the owner holds no key: whatever
// a failed call left in the place it was given is not taken for one.
inline BOOL AfxRegOpenKey(HKEY hParent, LPCSTR lpszSubKey, REGSAM samDesired, CRegKey* pKey)
{
    if (::RegOpenKeyExA(hParent, lpszSubKey, 0, samDesired, pKey->Receive()) == ERROR_SUCCESS)
        return TRUE;
    pKey->Detach();
    return FALSE;
}

// Creates the key if it is missing, and opens it for writing.
inline BOOL AfxRegCreateKey(HKEY hParent, LPCSTR lpszSubKey, CRegKey* pKey,
                            DWORD* pdwDisposition = nullptr)
{
    if (::RegCreateKeyExA(hParent, lpszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                          nullptr, pKey->Receive(), pdwDisposition) == ERROR_SUCCESS)
        return TRUE;
    pKey->Detach();
    return FALSE;
}

// ---------------------------------------------------------------------------
// Scoped changes of state.

// A GDI object selected into a device context for the lifetime of the
// object; the one it replaced is selected again when it goes.
class CSelectScope
{
public:
    CSelectScope(HDC hDC, HGDIOBJ hObject)
        : m_hDC(hDC), m_hOld(hObject != nullptr ? ::SelectObject(hDC, hObject) : nullptr)
    {
    }
    ~CSelectScope()
    {
        if (m_hOld != nullptr)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// A window that does not draw its changes for the lifetime of the object;
// when it goes, the window draws again and is redrawn as a whole.
class CRedrawScope
{
public:
    explicit CRedrawScope(HWND hWnd) : m_hWnd(hWnd)
    {
        ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~CRedrawScope()
    {
        ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    CRedrawScope(const CRedrawScope&) = delete;
    CRedrawScope& operator=(const CRedrawScope&) = delete;

private:
    HWND m_hWnd;
};
