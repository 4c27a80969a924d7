// The application object: its start, its message loop with idle-time
// processing, its document templates and its standard commands.
#include "afxwin.h"

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
            CString strPath(szPath, static_cast<int>(n));
            strName = AfxFindFileName(strPath);
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
    SaveStdProfileSettings();
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

// ---------------------------------------------------------------------------
// Document templates and standard commands

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

void CWinApp::OnFileNew()
{
    CDocTemplate* pTemplate = GetFirstDocTemplate();
    if (pTemplate != nullptr)
        pTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::Enable3dControls()
{
    return TRUE;
}
