// Core of the application framework: the string class, the root object
// class and run-time class information.
//
// The framework is a small layer over the ANSI Win32 API that offers the
// classes and behaviours of the classic document/view framework that this
// program is written against. Only what the program uses is provided.
#pragma once

#ifndef STRICT
#define STRICT
#endif
#ifndef WINVER
#define WINVER 0x0400
#endif
#ifndef _WIN32_IE
#define _WIN32_IE 0x0400
#endif
#include <windows.h>

#include "afxhandle.h"

#include <cstdarg>
#include <cstdlib>
#include <initializer_list>
#include <new>
#include <utility>

// Ends the program with a message box: memory for an object that the
// program cannot do without could not be had. It does not return.
[[noreturn]] void AfxAbortOutOfMemory();

// Memory from the process heap: a block of at least cb bytes, the block p
// (NULL for none) grown or shrunk to cb bytes with its contents kept, and a
// block given back (NULL is ignored). Where no memory can be had the
// program ends (AfxAbortOutOfMemory), so the first two never return NULL.
void* AfxAlloc(size_t cb) __attribute__((malloc, returns_nonnull, alloc_size(1)));
void* AfxReAlloc(void* p, size_t cb) __attribute__((returns_nonnull, alloc_size(2)));
void AfxFree(void* p);

// ---------------------------------------------------------------------------
// CString: a byte string of the ANSI code page, held in a buffer of its own
// from the process heap. An empty string holds no buffer.

class CString
{
public:
    CString() noexcept = default;
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(char ch, int nRepeat = 1);
    CString(const CString& s) : CString(s.m_pch, s.m_nLength) {}
    CString(CString&& s) noexcept
        : m_pch(s.m_pch), m_nLength(s.m_nLength), m_nCapacity(s.m_nCapacity)
    {
        s.m_pch = const_cast<char*>(kEmpty);
        s.m_nLength = s.m_nCapacity = 0;
    }
    ~CString();
    CString& operator=(const CString& s)
    {
        if (this != &s)
            Assign(s.m_pch, s.m_nLength);
        return *this;
    }
    CString& operator=(CString&& s) noexcept;
    CString& operator=(const char* psz);

    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }
    void Empty();
    char GetAt(int nIndex) const { return m_pch[nIndex]; }
    char operator[](int nIndex) const { return m_pch[nIndex]; }
    void SetAt(int nIndex, char ch) { m_pch[nIndex] = ch; }
    operator const char*() const { return m_pch; }
    const char* GetString() const { return m_pch; }

    CString& operator+=(const CString& s)
    {
        Append(s.m_pch, s.m_nLength);
        return *this;
    }
    CString& operator+=(const char* psz);
    CString& operator+=(char ch)
    {
        Append(&ch, 1);
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const CString& a, const char* b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const char* a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend bool operator==(const CString& a, const CString& b)
    {
        return a.m_nLength == b.m_nLength && Equal(a.m_pch, b.m_pch, a.m_nLength);
    }
    friend bool operator==(const CString& a, const char* b);
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

    // Upper-cases the text by the ANSI code page's rules (multibyte-aware).
    void MakeUpper();
    void MakeLower();
    // Removes white space (blank, tab, CR, LF, VT, FF) at either end.
    void TrimLeft();
    void TrimRight();
    void Trim()
    {
        TrimRight();
        TrimLeft();
    }

    // Position of the first occurrence, or -1; character by character of
    // the ANSI code page (a double-byte character's trail byte is not
    // found as a single character).
    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    // The formats of wsprintf (user32): %d, %u, %lX, %s and the like,
    // without floating point; a text longer than kFormatLimit characters
    // is cut there.
    void Format(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* pszFormat, va_list args);
    static constexpr int kFormatLimit = 1024;

    // Loads a string resource from the module that holds the resources.
    BOOL LoadString(UINT nID);

    // Direct access to a buffer of at least nMinLength characters plus the
    // terminator; ReleaseBuffer(-1) takes the length from the terminator.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    static const char kEmpty[1];
    static bool Equal(const char* a, const char* b, int n);
    // The position of the character after the one at i.
    int NextChar(int i) const;
    // Makes room for nLength characters and the terminator, keeping the text.
    void Reserve(int nLength);
    void Assign(const char* pch, int nLength);
    void Append(const char* pch, int nLength);
    void SetLength(int nLength);

    char* m_pch = const_cast<char*>(kEmpty); // never written while it is kEmpty
    int m_nLength = 0;
    int m_nCapacity = 0; // characters the buffer holds besides the terminator
};

// Field iSubString (counted from 0) of a string whose fields are separated
// by chSep, as a string resource holds a command's prompt and its tooltip,
// or a document template's strings: into rString, and TRUE; FALSE, and
// rString empty, when the string has fewer fields. The separator is a
// character that is never part of a double-byte one, such as the newline.
BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString,
                         char chSep = '\n');

// The character after the one at p (p itself at the terminator), in the
// ANSI code page: a double-byte character's lead byte is stepped over
// together with its trail byte, whose value may be that of a backslash or a
// quote (Shift-JIS 0x83 0x5C).
LPCSTR AfxNextChar(LPCSTR p);
// Where the file name of a path begins: after its last backslash or slash,
// found character by character; the whole path when it has neither.
LPCSTR AfxFindFileName(LPCSTR lpszPath);

// ---------------------------------------------------------------------------
// CArray: a growable array of elements of one type, kept in one block of
// the process heap. Elements move when the array grows.

template <class TYPE> class CArray
{
public:
    CArray() = default;
    CArray(std::initializer_list<TYPE> items)
    {
        SetCapacity(static_cast<int>(items.size()));
        for (const TYPE& item : items)
            Add(item);
    }
    CArray(const CArray& other)
    {
        SetCapacity(other.m_nSize);
        for (const TYPE& item : other)
            Add(item);
    }
    CArray(CArray&& other) noexcept
        : m_pData(other.m_pData), m_nSize(other.m_nSize), m_nMaxSize(other.m_nMaxSize)
    {
        other.m_pData = nullptr;
        other.m_nSize = other.m_nMaxSize = 0;
    }
    CArray& operator=(CArray other) noexcept
    {
        std::swap(m_pData, other.m_pData);
        std::swap(m_nSize, other.m_nSize);
        std::swap(m_nMaxSize, other.m_nMaxSize);
        return *this;
    }
    // A destroyed array is left empty and without a block, so that what
    // still reaches it (the handle maps, say, between the exit functions
    // and the static destructors) finds no elements and writes no freed
    // memory. (The barrier keeps the compiler from dropping the stores into
    // an object whose life ends.)
    ~CArray()
    {
        RemoveAll();
        AfxFree(m_pData);
        m_pData = nullptr;
        m_nMaxSize = 0;
        asm volatile("" : : "r"(this) : "memory");
    }
    int GetSize() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    TYPE& operator[](int nIndex) { return m_pData[nIndex]; }
    const TYPE& operator[](int nIndex) const { return m_pData[nIndex]; }
    TYPE* GetData() { return m_pData; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* begin() { return m_pData; }
    TYPE* end() { return m_pData + m_nSize; }
    const TYPE* begin() const { return m_pData; }
    const TYPE* end() const { return m_pData + m_nSize; }

    // Appends an element; returns its index.
    int Add(const TYPE& item) { return Add(TYPE(item)); }
    int Add(TYPE&& item)
    {
        if (m_nSize == m_nMaxSize)
            SetCapacity(m_nMaxSize < 4 ? 4 : m_nMaxSize * 2);
        new (m_pData + m_nSize) TYPE(static_cast<TYPE&&>(item));
        return m_nSize++;
    }
    // Inserts an element before the one at nIndex (0 to GetSize()).
    void InsertAt(int nIndex, TYPE&& item)
    {
        Add(static_cast<TYPE&&>(item));
        for (int i = m_nSize - 1; i > nIndex; --i)
            std::swap(m_pData[i], m_pData[i - 1]);
    }
    void RemoveAt(int nIndex)
    {
        for (int i = nIndex; i + 1 < m_nSize; ++i)
            m_pData[i] = static_cast<TYPE&&>(m_pData[i + 1]);
        m_pData[--m_nSize].~TYPE();
    }
    void RemoveAll()
    {
        while (m_nSize > 0)
            m_pData[--m_nSize].~TYPE();
    }
    // Grows with default elements, or shrinks, to nNewSize elements.
    void SetSize(int nNewSize)
    {
        if (nNewSize > m_nMaxSize)
            SetCapacity(nNewSize);
        while (m_nSize < nNewSize)
            new (m_pData + m_nSize++) TYPE();
        while (m_nSize > nNewSize)
            m_pData[--m_nSize].~TYPE();
    }

private:
    void SetCapacity(int nMaxSize)
    {
        if (nMaxSize <= m_nMaxSize)
            return;
        if (static_cast<unsigned>(nMaxSize) > 0x7FFFFFFFu / sizeof(TYPE))
            AfxAbortOutOfMemory();
        TYPE* pNew = static_cast<TYPE*>(AfxAlloc(static_cast<size_t>(nMaxSize) * sizeof(TYPE)));
        for (int i = 0; i < m_nSize; ++i) {
            new (pNew + i) TYPE(static_cast<TYPE&&>(m_pData[i]));
            m_pData[i].~TYPE();
        }
        AfxFree(m_pData);
        m_pData = pNew;
        m_nMaxSize = nMaxSize;
    }

    TYPE* m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
};

// ---------------------------------------------------------------------------
// CStdioFile: a file read line by line as text, the way the C runtime's
// text mode reads it: a carriage return right before a line feed is
// dropped, a lone one is kept, and a Ctrl+Z (0x1A) ends the file.
class CStdioFile
{
public:
    CStdioFile() = default;
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Opens an existing file for reading; FALSE where it cannot be opened.
    BOOL Open(LPCSTR lpszFileName);
    void Close();
    // The next line into lpsz, as fgets reads it: at most nMax - 1
    // characters, up to and including the line feed that ends the line,
    // and the terminator; a longer line comes in pieces. NULL at the end of
    // the file (and after a read fails).
    LPSTR ReadString(LPSTR lpsz, UINT nMax);

private:
    // The next byte of the file, or -1 at its end; Peek leaves it unread.
    int Get();
    int Peek();
    // The next character as text mode sees it, or -1 at the end.
    int GetChar();

    CFileHandle m_file;
    BOOL m_bEnd = FALSE; // the end of the file, a Ctrl+Z or a failed read
    DWORD m_nPos = 0;
    DWORD m_nLength = 0;
    BYTE m_buffer[512];
};

// ---------------------------------------------------------------------------
// Run-time class information and the root class.

class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // Creates an object of a dynamically creatable class; NULL otherwise.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

class CObject
{
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

public:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew)                               \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), pfnNew,  \
                                                         RUNTIME_CLASS(base_class_name)};          \
    const CRuntimeClass* class_name::GetRuntimeClass() const                                       \
    {                                                                                              \
        return RUNTIME_CLASS(class_name);                                                          \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, class_name::CreateObject)

// Trace output of debug builds; compiled away in release builds.
#ifdef _DEBUG
void AfxTrace(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
#define TRACE AfxTrace
#else
#define TRACE(...) ((void)0)
#endif
