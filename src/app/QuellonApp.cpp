// The application object: start-up, the settings key and the legacy INI
// file, and the About command.
#include "QuellonApp.h"

#include "AboutDlg.h"
#include "MainFrm.h"
#include "QuellonDoc.h"
#include "QuellonView.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CQuellonApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &CQuellonApp::OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CQuellonApp::CQuellonApp()
    : m_bEmailVisited(0), m_bWebVisited(0), m_hSettingsRootKey(HKEY_LOCAL_MACHINE)
{
}

CQuellonApp* GetQuellonApp()
{
    return static_cast<CQuellonApp*>(AfxGetApp());
}

BOOL CQuellonApp::InitInstance()
{
    BindSettingsStore();
    Enable3dControls();
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQuellonDoc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CQuellonView)));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

void CQuellonApp::BindSettingsStore()
{
    CString strBasePath = CString("Software\\Corvanel Software\\") + m_pszAppName;
    CRegKey key;
    DWORD dwDisposition = 0;
    if (!m_settings.OpenBaseKey(&key, &dwDisposition, m_hSettingsRootKey, strBasePath))
        return; // reads fall back on their defaults
    if (dwDisposition == REG_CREATED_NEW_KEY)
        ImportIniFile(key);
}

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

void CQuellonApp::ImportIniFile(HKEY hBaseKey)
{
    char szPath[260];
    UINT nLen = ::GetWindowsDirectoryA(szPath, sizeof szPath);
    if (nLen == 0 || nLen >= sizeof szPath)
        return;
    CString strPath = CString(szPath) + "\\" + m_pszAppName + ".INI";
    CStdioFile file;
    if (!file.Open(strPath))
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

void CQuellonApp::OnAppAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
