// The registry-backed settings store.
#include "SettingsStore.h"

#include <climits>

namespace {
const DWORD kValueBufferSize = 260;
}

CSettingsStore::CSettingsStore() : m_hRootKey(HKEY_LOCAL_MACHINE) {}

BOOL CSettingsStore::OpenBaseKey(CRegKey* pKey, DWORD* pdwDisposition, HKEY hRootKey,
                                 LPCSTR lpszBasePath)
{
    // The store stays bound to the path even if the key cannot be created.
    m_strBasePath = lpszBasePath;
    m_hRootKey = hRootKey;
    return AfxRegCreateKey(hRootKey, lpszBasePath, pKey, pdwDisposition);
}

CString CSettingsStore::SectionPath(LPCSTR lpszSection) const
{
    return m_strBasePath + "\\" + lpszSection;
}

BOOL CSettingsStore::ReadText(LPCSTR lpszSection, LPCSTR lpszName, CString& rText)
{
    CRegKey key;
    if (!AfxRegOpenKey(m_hRootKey, SectionPath(lpszSection), KEY_READ, &key))
        return FALSE;
    char buf[kValueBufferSize];
    DWORD dwType = 0;
    DWORD cbData = kValueBufferSize;
    if (::RegQueryValueExA(key, lpszName, nullptr, &dwType, reinterpret_cast<BYTE*>(buf),
                           &cbData) != ERROR_SUCCESS)
        return FALSE;
    // The type is not examined: the data is taken as text. It ends at its
    // first NUL, and never goes past the length the registry returned.
    if (cbData > kValueBufferSize)
        cbData = kValueBufferSize;
    DWORD nLength = 0;
    while (nLength < cbData && buf[nLength] != '\0')
        ++nLength;
    rText = CString(buf, static_cast<int>(nLength));
    return TRUE;
}

int CSettingsStore::ReadInt(LPCSTR lpszSection, LPCSTR lpszName, int nDefault)
{
    CString strText;
    int nValue;
    if (!ReadText(lpszSection, lpszName, strText) || !ParseSettingsInt(strText, &nValue))
        return nDefault;
    return nValue;
}

CString CSettingsStore::ReadString(LPCSTR lpszSection, LPCSTR lpszName, LPCSTR lpszDefault)
{
    CString strText;
    if (!ReadText(lpszSection, lpszName, strText))
        return CString(lpszDefault);
    return strText;
}

BOOL CSettingsStore::WriteInt(LPCSTR lpszSection, LPCSTR lpszName, int nValue)
{
    CString strText;
    strText.Format("%d", nValue);
    return WriteString(lpszSection, lpszName, strText);
}

BOOL CSettingsStore::WriteString(LPCSTR lpszSection, LPCSTR lpszName, LPCSTR lpszValue)
{
    CRegKey key;
    if (!AfxRegCreateKey(m_hRootKey, SectionPath(lpszSection), &key))
        return FALSE;
    return ::RegSetValueExA(key, lpszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                            static_cast<DWORD>(lstrlenA(lpszValue) + 1)) == ERROR_SUCCESS;
}

BOOL ParseSettingsInt(const char* psz, int* pnValue)
{
    while (*psz == ' ' || *psz == '\t' || *psz == '\n' || *psz == '\v' || *psz == '\f' ||
           *psz == '\r')
        ++psz;
    bool bNegative = false;
    if (*psz == '+' || *psz == '-') {
        bNegative = *psz == '-';
        ++psz;
    }
    if (*psz < '0' || *psz > '9')
        return FALSE;
    // Accumulate the magnitude; a number beyond the range of int is no
    // number at all rather than a wrapped one.
    const long long kLimit = bNegative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long nMagnitude = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        nMagnitude = nMagnitude * 10 + (*psz - '0');
        if (nMagnitude > kLimit)
            return FALSE;
    }
    *pnValue = static_cast<int>(bNegative ? -nMagnitude : nMagnitude);
    return TRUE;
}
