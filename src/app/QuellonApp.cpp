// The application object: start-up, the settings key (and, the first time
// it is made, the legacy INI file's import), and the About command.
#include "QuellonApp.h"

#include "AboutDlg.h"
#include "IniImport.h"
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

void CQuellonApp::ImportIniFile(HKEY hBaseKey)
{
    CString strPath;
    if (LegacyIniPath(m_pszAppName, strPath))
        ImportIni(hBaseKey, strPath);
}

void CQuellonApp::OnAppAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
