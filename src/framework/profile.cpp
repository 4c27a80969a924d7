// The framework's own profile in the registry,
// HKEY_CURRENT_USER\Software\<registry key>\<application>, and the
// recent-file list it keeps.
#include "afxwin.h"
#include "afxhandle.h"

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
    m_strProfileName = m_pszAppName;
    m_pszProfileName = m_strProfileName;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_recentFiles.RemoveAll();
    for (UINT i = 0; i < nMaxMRU; ++i) {
        CString strEntry;
        strEntry.Format("File%u", i + 1);
        CString strFile = GetProfileString("Recent File List", strEntry);
        if (strFile.IsEmpty())
            break;
        m_recentFiles.Add(strFile);
    }
}

void CWinApp::SaveStdProfileSettings()
{
    for (int i = 0; i < m_recentFiles.GetSize(); ++i) {
        CString strEntry;
        strEntry.Format("File%d", i + 1);
        WriteProfileString("Recent File List", strEntry, m_recentFiles[i]);
    }
}

static CString ProfileSectionPath(LPCSTR lpszRegistryKey, LPCSTR lpszProfile, LPCSTR lpszSection)
{
    CString strPath = "Software\\";
    strPath += lpszRegistryKey;
    strPath += "\\";
    strPath += lpszProfile;
    strPath += "\\";
    strPath += lpszSection;
    return strPath;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CString strValue = lpszDefault;
    if (m_pszRegistryKey == nullptr)
        return strValue;
    CRegKey key;
    CString strPath = ProfileSectionPath(m_pszRegistryKey, m_pszProfileName, lpszSection);
    if (!AfxRegOpenKey(HKEY_CURRENT_USER, strPath, KEY_READ, &key))
        return strValue;
    char buf[MAX_PATH + 1];
    DWORD dwType = 0;
    DWORD cb = MAX_PATH;
    if (::RegQueryValueExA(key, lpszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(buf), &cb) ==
            ERROR_SUCCESS &&
        dwType == REG_SZ) {
        buf[cb < MAX_PATH ? cb : MAX_PATH] = '\0';
        strValue = buf;
    }
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (m_pszRegistryKey == nullptr)
        return FALSE;
    CRegKey key;
    CString strPath = ProfileSectionPath(m_pszRegistryKey, m_pszProfileName, lpszSection);
    if (!AfxRegCreateKey(HKEY_CURRENT_USER, strPath, &key))
        return FALSE;
    return ::RegSetValueExA(key, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                            static_cast<DWORD>(lstrlenA(lpszValue) + 1)) == ERROR_SUCCESS;
}
