// String class, run-time class information and trace output.
#include "afxwin.h"

#include <cstdio>

// ---------------------------------------------------------------------------
// CString

void CString::MakeUpper()
{
    if (!m_str.empty())
        ::CharUpperBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
}

void CString::MakeLower()
{
    if (!m_str.empty())
        ::CharLowerBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
}

static bool IsTrimSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

void CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_str.size() && IsTrimSpace(m_str[n]))
        ++n;
    m_str.erase(0, n);
}

void CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsTrimSpace(m_str[n - 1]))
        --n;
    m_str.erase(n);
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* pszSub, int nStart) const
{
    if (nStart < 0 || nStart > GetLength() || pszSub == nullptr)
        return -1;
    size_t pos = m_str.find(pszSub, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, static_cast<size_t>(nCount)).c_str());
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength() - nFirst);
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= GetLength() || nCount <= 0)
        return CString();
    std::string sub = m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount));
    return CString(sub.data(), static_cast<int>(sub.size()));
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(const char* pszFormat, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
        return;
    }
    std::string buf(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&buf[0], buf.size(), pszFormat, args);
    buf.resize(static_cast<size_t>(n));
    m_str.swap(buf);
}

BOOL CString::LoadString(UINT nID)
{
    // String resources are at most 4096 bytes long in practice; the length
    // returned tells whether the buffer was large enough.
    char buf[4096];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, sizeof buf);
    if (n <= 0) {
        m_str.clear();
        return FALSE;
    }
    m_str.assign(buf, static_cast<size_t>(n));
    return TRUE;
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength < GetLength())
        nMinLength = GetLength();
    m_str.resize(static_cast<size_t>(nMinLength) + 1, '\0');
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::char_traits<char>::length(m_str.c_str()));
    m_str.resize(static_cast<size_t>(nNewLength));
}

// ---------------------------------------------------------------------------
// Run-time classes

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

#ifdef _DEBUG
void AfxTrace(const char* pszFormat, ...)
{
    char buf[1024];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(buf, sizeof buf, pszFormat, args);
    va_end(args);
    ::OutputDebugStringA(buf);
}
#endif
