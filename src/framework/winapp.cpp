// The application object, the message loop, message boxes, command-line
// processing and the framework's own profile.
#include "afxwin.h"

#include <commdlg.h>
#include <cstdlib>

namespace {
CWinApp* g_pApp = nullptr;
}

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    g_pApp = this;
    if (lpszAppName != nullptr) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR)
{
    // All resources are in the program's own module.
    return AfxGetResourceHandle();
}

LPCSTR AfxGetAppName()
{
    return g_pApp ? g_pApp->m_pszAppName : nullptr;
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return FALSE;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    if (pApp->m_pszAppName == nullptr) {
        // The application's name is its title string, or else the name of
        // the program file without its extension.
        CString strName;
        if (!strName.LoadString(AFX_IDS_APP_TITLE)) {
            char szPath[MAX_PATH];
            DWORD n = ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
            strName = CString(szPath, static_cast<int>(n));
            int nSlash = -1;
            for (int i = 0; i < strName.GetLength(); ++i) {
                if (strName[i] == '\\' || strName[i] == '/')
                    nSlash = i;
            }
            strName = strName.Mid(nSlash + 1);
            int nDot = strName.Find('.');
            if (nDot >= 0)
                strName = strName.Left(nDot);
        }
        pApp->m_strAppName = strName;
        pApp->m_pszAppName = pApp->m_strAppName;
    }
    ::InitCommonControls();
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return -1;
    if (!pApp->InitApplication() || !pApp->InitInstance()) {
        if (pApp->m_pMainWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    // The recent-file list goes back to the profile it came from.
    for (int i = 0; i < m_recentFiles.GetSize(); ++i) {
        CString strEntry;
        strEntry.Format("File%d", i + 1);
        WriteProfileString("Recent File List", strEntry, m_recentFiles[i]);
    }
    return static_cast<int>(m_msgCur.wParam);
}

static bool IsIdleMessage(const MSG& msg, POINT& ptLast)
{
    // Repeated mouse moves to the same place, painting and the caret's
    // system timer do not restart idle processing.
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.pt.x == ptLast.x && msg.pt.y == ptLast.y)
            return false;
        ptLast = msg.pt;
        return true;
    }
    return msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */;
}

int CWinApp::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    POINT ptLast = {-1, -1};
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(m_msgCur, ptLast)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount == 0) {
        // Bring the enabled state of toolbar buttons up to date.
        if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr)
            m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        return TRUE;
    }
    AfxUnlockTempMaps();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    // Offer the message to the window it is for and to its ancestors, up
    // to the main window.
    HWND hWndMain = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND h = pMsg->hwnd; h != nullptr; h = ::GetParent(h)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (h == hWndMain)
            return FALSE;
    }
    return FALSE;
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    HWND hWndOwner = nullptr;
    if (m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->m_hWnd))
        hWndOwner = ::GetLastActivePopup(m_pMainWnd->m_hWnd);
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return ::MessageBoxA(hWndOwner, lpszPrompt, m_pszAppName, nType);
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return ::MessageBoxA(nullptr, lpszText, nullptr, nType);
    return pApp->DoMessageBox(lpszText, nType, nIDHelp);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString str;
    str.LoadString(nIDPrompt);
    return AfxMessageBox(str, nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}

// ---------------------------------------------------------------------------
// Document templates and the command line

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.Add(std::unique_ptr<CDocTemplate>(pTemplate));
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return m_templates.IsEmpty() ? nullptr : m_templates[0].get();
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    CDocTemplate* pTemplate = GetFirstDocTemplate();
    return pTemplate ? pTemplate->OpenDocumentFile(lpszFileName) : nullptr;
}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL)
{
    if (!bFlag && m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

static bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

const char* AfxSkipProgramName(const char* pszCmdLine)
{
    const char* p = pszCmdLine;
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; ++p) {
        }
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && !IsBlank(*p))
            ++p;
    }
    while (IsBlank(*p))
        ++p;
    return p;
}

void AfxSplitCommandLine(const char* pszArgs, CArray<CString>& rArgs)
{
    rArgs.RemoveAll();
    const char* p = pszArgs;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (*p == '\0')
            return;
        CString strArg;
        bool bQuoted = false;
        while (*p != '\0' && (bQuoted || !IsBlank(*p))) {
            int nBackslashes = 0;
            while (*p == '\\') {
                ++nBackslashes;
                ++p;
            }
            if (*p == '"') {
                // 2n backslashes and a quote: n backslashes, and the quote
                // opens or closes a quoted part (two quotes inside one stand
                // for a quote); 2n + 1 backslashes: n and a plain quote.
                strArg += CString('\\', nBackslashes / 2);
                if (nBackslashes % 2 == 1) {
                    strArg += '"';
                } else if (bQuoted && p[1] == '"') {
                    strArg += '"';
                    ++p;
                } else {
                    bQuoted = !bQuoted;
                }
                ++p;
            } else {
                strArg += CString('\\', nBackslashes);
                if (*p != '\0' && (bQuoted || !IsBlank(*p)))
                    strArg += *p++;
            }
        }
        rArgs.Add(static_cast<CString&&>(strArg));
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    CArray<CString> args;
    AfxSplitCommandLine(AfxSkipProgramName(::GetCommandLineA()), args);
    for (int i = 0; i < args.GetSize(); ++i) {
        const char* pszParam = args[i];
        BOOL bFlag = pszParam[0] == '-' || pszParam[0] == '/';
        if (bFlag)
            ++pszParam;
        rCmdInfo.ParseParam(pszParam, bFlag, i + 1 == args.GetSize());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        break;
    }
    return TRUE;
}

void CWinApp::OnFileNew()
{
    CDocTemplate* pTemplate = GetFirstDocTemplate();
    if (pTemplate != nullptr)
        pTemplate->OpenDocumentFile(nullptr);
}

// The common dialogs are loaded only when one of these two commands runs:
// nothing else needs them, and the program starts without them.
namespace {
template <typename Fn> Fn CommonDialogFunction(HMODULE* phLib, const char* pszName)
{
    *phLib = ::LoadLibraryA("comdlg32.dll");
    if (*phLib == nullptr)
        return nullptr;
    Fn pfn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(*phLib, pszName)));
    if (pfn == nullptr) {
        ::FreeLibrary(*phLib);
        *phLib = nullptr;
    }
    return pfn;
}
} // namespace

void CWinApp::OnFileOpen()
{
    typedef BOOL(WINAPI * GetOpenFileNameAFn)(LPOPENFILENAMEA);
    HMODULE hLib;
    GetOpenFileNameAFn pfnGetOpenFileName =
        CommonDialogFunction<GetOpenFileNameAFn>(&hLib, "GetOpenFileNameA");
    if (pfnGetOpenFileName == nullptr)
        return;
    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = "All Files (*.*)\0*.*\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    BOOL bChosen = pfnGetOpenFileName(&ofn);
    ::FreeLibrary(hLib);
    if (bChosen)
        OpenDocumentFile(szFile);
}

void CWinApp::OnFilePrintSetup()
{
    typedef BOOL(WINAPI * PrintDlgAFn)(LPPRINTDLGA);
    HMODULE hLib;
    PrintDlgAFn pfnPrintDlg = CommonDialogFunction<PrintDlgAFn>(&hLib, "PrintDlgA");
    if (pfnPrintDlg == nullptr)
        return;
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    pfnPrintDlg(&pd);
    if (pd.hDevMode != nullptr)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames != nullptr)
        ::GlobalFree(pd.hDevNames);
    ::FreeLibrary(hLib);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------
// Three-dimensional controls and the profile

BOOL CWinApp::Enable3dControls()
{
    return TRUE;
}

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
    HKEY hKey;
    CString strPath = ProfileSectionPath(m_pszRegistryKey, m_pszProfileName, lpszSection);
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return strValue;
    char buf[MAX_PATH + 1];
    DWORD dwType = 0;
    DWORD cb = MAX_PATH;
    if (::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(buf), &cb) ==
            ERROR_SUCCESS &&
        dwType == REG_SZ) {
        buf[cb < MAX_PATH ? cb : MAX_PATH] = '\0';
        strValue = buf;
    }
    ::RegCloseKey(hKey);
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (m_pszRegistryKey == nullptr)
        return FALSE;
    HKEY hKey;
    CString strPath = ProfileSectionPath(m_pszRegistryKey, m_pszProfileName, lpszSection);
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, strPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_WRITE, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return FALSE;
    LONG lRes =
        ::RegSetValueExA(hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                         static_cast<DWORD>(lstrlenA(lpszValue) + 1));
    ::RegCloseKey(hKey);
    return lRes == ERROR_SUCCESS;
}
