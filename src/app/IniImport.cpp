// The first run's import of the legacy INI file into the settings key.
#include "IniImport.h"

#include "afxhandle.h"

IniLineKind ClassifyIniLine(const char* pszLine, CString& rName, CString& rValue)
{
    CString strLine(pszLine);
    strLine.Trim();
    int a = strLine.Find('[');
    int b = strLine.Find(']');
    int n = strLine.GetLength();
    if (a >= 0 && b >= 0 && b - a + 1 == n) {
        strLine.SetAt(a, ' ');
        strLine.SetAt(b, ' ');
        strLine.Trim();
        rName = strLine;
        rValue.Empty();
        return IniLineSection;
    }
    int nEquals = strLine.Find('=');
    if (nEquals >= 0) {
        rName = strLine.Left(nEquals);
        rValue = strLine.Mid(nEquals + 1);
        return IniLineValue;
    }
    return IniLineIgnored;
}

BOOL LegacyIniPath(LPCSTR lpszAppName, CString& rPath)
{
    char szPath[260];
    UINT nLen = ::GetWindowsDirectoryA(szPath, sizeof szPath);
    if (nLen == 0 || nLen >= sizeof szPath)
        return FALSE;
    rPath = CString(szPath) + "\\" + lpszAppName + ".INI";
    return TRUE;
}

void ImportIni(HKEY hBaseKey, LPCSTR lpszPath)
{
    CStdioFile file;
    if (!file.Open(lpszPath))
        return;

    // Lines longer than the buffer arrive in pieces, each taken as a line.
    char szLine[520];
    CRegKey section;
    BOOL bGoOn = TRUE;
    while (file.ReadString(szLine, sizeof szLine) != nullptr && bGoOn) {
        CString strName, strValue;
        switch (ClassifyIniLine(szLine, strName, strValue)) {
        case IniLineSection:
            section.Close();
            if (!AfxRegCreateKey(hBaseKey, strName, &section))
                bGoOn = FALSE; // the import stops after the next read
            break;
        case IniLineValue:
            // Values before the first section header have nowhere to go.
            if (section.IsValid())
                ::RegSetValueExA(section, strName, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(strValue.GetString()),
                                 static_cast<DWORD>(strValue.GetLength() + 1));
            break;
        case IniLineIgnored:
            break;
        }
    }
}
