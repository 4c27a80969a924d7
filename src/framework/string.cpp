// CString: a byte string of the ANSI code page in a buffer of its own.
#include "afxwin.h"

#include <cstring>

const char CString::kEmpty[1] = "";

CString::CString(const char* psz)
{
    if (psz != nullptr)
        Assign(psz, lstrlenA(psz));
}

CString::CString(const char* pch, int nLength)
{
    Assign(pch, nLength);
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat <= 0)
        return;
    Reserve(nRepeat);
    std::memset(m_pch, ch, static_cast<size_t>(nRepeat));
    SetLength(nRepeat);
}

CString::~CString()
{
    if (m_nCapacity != 0)
        AfxFree(m_pch);
}

CString& CString::operator=(CString&& s) noexcept
{
    if (this != &s) {
        if (m_nCapacity != 0)
            AfxFree(m_pch);
        m_pch = s.m_pch;
        m_nLength = s.m_nLength;
        m_nCapacity = s.m_nCapacity;
        s.m_pch = const_cast<char*>(kEmpty);
        s.m_nLength = s.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(const char* psz)
{
    Assign(psz, psz ? lstrlenA(psz) : 0);
    return *this;
}

CString& CString::operator+=(const char* psz)
{
    if (psz != nullptr)
        Append(psz, lstrlenA(psz));
    return *this;
}

bool operator==(const CString& a, const char* b)
{
    if (b == nullptr)
        b = "";
    size_t n = static_cast<size_t>(lstrlenA(b));
    return n == static_cast<size_t>(a.m_nLength) && CString::Equal(a.m_pch, b, a.m_nLength);
}

bool CString::Equal(const char* a, const char* b, int n)
{
    return std::memcmp(a, b, static_cast<size_t>(n)) == 0;
}

void CString::Empty()
{
    if (m_nCapacity != 0)
        SetLength(0);
}

void CString::Reserve(int nLength)
{
    if (nLength <= m_nCapacity)
        return;
    if (nLength < 0 || nLength > 0x3FFFFFFF)
        AfxAbortOutOfMemory();
    // Growth by half again keeps repeated appending linear.
    int nCapacity = m_nCapacity + m_nCapacity / 2;
    if (nCapacity < nLength)
        nCapacity = nLength;
    if (nCapacity < 15)
        nCapacity = 15;
    char* pNew = static_cast<char*>(
        AfxReAlloc(m_nCapacity != 0 ? m_pch : nullptr, static_cast<size_t>(nCapacity) + 1));
    if (m_nCapacity == 0)
        pNew[0] = '\0';
    m_pch = pNew;
    m_nCapacity = nCapacity;
}

void CString::SetLength(int nLength)
{
    m_nLength = nLength;
    m_pch[nLength] = '\0';
}

void CString::Assign(const char* pch, int nLength)
{
    if (nLength <= 0) {
        Empty();
        return;
    }
    if (pch >= m_pch && pch <= m_pch + m_nLength) {
        // A piece of this very string.
        std::memmove(m_pch, pch, static_cast<size_t>(nLength));
        SetLength(nLength);
        return;
    }
    Reserve(nLength);
    std::memcpy(m_pch, pch, static_cast<size_t>(nLength));
    SetLength(nLength);
}

void CString::Append(const char* pch, int nLength)
{
    if (nLength <= 0)
        return;
    if (pch >= m_pch && pch <= m_pch + m_nLength && m_nCapacity != 0) {
        CString strCopy(pch, nLength); // the buffer may move
        Append(strCopy.m_pch, nLength);
        return;
    }
    Reserve(m_nLength + nLength);
    std::memcpy(m_pch + m_nLength, pch, static_cast<size_t>(nLength));
    SetLength(m_nLength + nLength);
}

void CString::MakeUpper()
{
    if (m_nLength != 0)
        ::CharUpperBuffA(m_pch, static_cast<DWORD>(m_nLength));
}

void CString::MakeLower()
{
    if (m_nLength != 0)
        ::CharLowerBuffA(m_pch, static_cast<DWORD>(m_nLength));
}

static bool IsTrimSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

void CString::TrimLeft()
{
    int n = 0;
    while (n < m_nLength && IsTrimSpace(m_pch[n]))
        ++n;
    if (n > 0) {
        std::memmove(m_pch, m_pch + n, static_cast<size_t>(m_nLength - n));
        SetLength(m_nLength - n);
    }
}

void CString::TrimRight()
{
    int n = m_nLength;
    while (n > 0 && IsTrimSpace(m_pch[n - 1]))
        --n;
    if (n < m_nLength)
        SetLength(n);
}

// Finds go character by character of the ANSI code page, as the
// upper-casing does: in a double-byte code page the trail byte of a
// character (Shift-JIS 0x83 0x5D, say) is not the single character of that
// value (0x5D, "]"). Positions are byte positions; nStart is taken to be at
// the start of a character.
int CString::NextChar(int i) const
{
    return ::IsDBCSLeadByte(static_cast<BYTE>(m_pch[i])) && i + 1 < m_nLength ? i + 2 : i + 1;
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart > m_nLength)
        return -1;
    for (int i = nStart; i < m_nLength; i = NextChar(i)) {
        if (m_pch[i] == ch)
            return i;
    }
    return -1;
}

int CString::Find(const char* pszSub, int nStart) const
{
    if (nStart < 0 || nStart > m_nLength || pszSub == nullptr)
        return -1;
    int nSub = lstrlenA(pszSub);
    for (int i = nStart; i + nSub <= m_nLength; i = NextChar(i)) {
        if (Equal(m_pch + i, pszSub, nSub))
            return i;
    }
    return -1;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_pch, nCount < m_nLength ? nCount : m_nLength);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, m_nLength - nFirst);
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= m_nLength || nCount <= 0)
        return CString();
    if (nCount > m_nLength - nFirst)
        nCount = m_nLength - nFirst;
    return CString(m_pch + nFirst, nCount);
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
    // wvsprintfA (user32) formats at most kFormatLimit characters and cuts
    // a longer text; the cut leaves no lead byte of a double-byte character
    // without its trail byte. The text is made in a buffer of its own, so
    // an argument may point into this string.
    char szText[kFormatLimit + 2];
    szText[0] = '\0';
    ::wvsprintfA(szText, pszFormat, args);
    szText[kFormatLimit] = '\0';
    Assign(szText, lstrlenA(szText));
    int iLast = 0;
    for (int i = 0; i < m_nLength; i = NextChar(i))
        iLast = i;
    if (m_nLength != 0 && iLast == m_nLength - 1 &&
        ::IsDBCSLeadByte(static_cast<BYTE>(m_pch[iLast])))
        SetLength(iLast); // a lead byte without its trail byte is dropped
}

BOOL CString::LoadString(UINT nID)
{
    // LoadString copies at most the buffer's size less the terminator; a
    // string that filled the buffer may have been cut, so it is loaded again
    // into a larger one.
    for (int nSize = 255;; nSize *= 2) {
        char* pBuf = GetBuffer(nSize);
        int n = ::LoadStringA(AfxGetResourceHandle(), nID, pBuf, nSize + 1);
        if (n <= 0) {
            Empty();
            return FALSE;
        }
        if (n < nSize || nSize >= 0x10000) {
            ReleaseBuffer(n);
            return TRUE;
        }
    }
}

char* CString::GetBuffer(int nMinLength)
{
    if (nMinLength < m_nLength)
        nMinLength = m_nLength;
    Reserve(nMinLength < 1 ? 1 : nMinLength);
    m_pch[m_nCapacity] = '\0'; // ReleaseBuffer(-1) never reads past the buffer
    return m_pch;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_nCapacity == 0)
        return;
    if (nNewLength < 0 || nNewLength > m_nCapacity)
        nNewLength = lstrlenA(m_pch);
    SetLength(nNewLength);
}

// ---------------------------------------------------------------------------
// Fields of a string

// The end of the field that starts at p: its separator or the terminator.
static const char* FieldEnd(const char* p, char chSep)
{
    while (*p != '\0' && *p != chSep)
        ++p;
    return p;
}

LPCSTR AfxNextChar(LPCSTR p)
{
    if (*p == '\0')
        return p;
    return ::IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0' ? p + 2 : p + 1;
}

LPCSTR AfxFindFileName(LPCSTR lpszPath)
{
    LPCSTR lpszName = lpszPath;
    for (LPCSTR p = lpszPath; *p != '\0'; p = AfxNextChar(p)) {
        if (*p == '\\' || *p == '/')
            lpszName = p + 1;
    }
    return lpszName;
}

BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep)
{
    // The full string may be rString's own text: rString changes only once
    // the field has been read out.
    if (lpszFullString == nullptr || iSubString < 0) {
        rString.Empty();
        return FALSE;
    }
    const char* p = lpszFullString;
    for (int i = 0; i < iSubString; ++i) {
        p = FieldEnd(p, chSep);
        if (*p == '\0') {
            rString.Empty();
            return FALSE;
        }
        ++p;
    }
    rString = CString(p, static_cast<int>(FieldEnd(p, chSep) - p));
    return TRUE;
}
