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

#include <cstdarg>
#include <string>

// ---------------------------------------------------------------------------
// CString: a byte string of the ANSI code page.

class CString
{
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}
    CString(char ch, int nRepeat = 1) : m_str(static_cast<size_t>(nRepeat), ch) {}
    CString(const CString&) = default;
    CString(CString&&) = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) = default;
    CString& operator=(const char* psz)
    {
        m_str = psz ? psz : "";
        return *this;
    }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch) { m_str[static_cast<size_t>(nIndex)] = ch; }
    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }

    CString& operator+=(const CString& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const char* psz)
    {
        m_str += psz ? psz : "";
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_str += ch;
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
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

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

    // Position of the first occurrence, or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    void Format(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* pszFormat, va_list args);

    // Loads a string resource from the module that holds the resources.
    BOOL LoadString(UINT nID);

    // Direct access to a buffer of at least nMinLength characters plus the
    // terminator; ReleaseBuffer(-1) takes the length from the terminator.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_str;
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
