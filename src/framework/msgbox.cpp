// Message boxes: every one of the framework and the program goes through
// the application object, owned by the main window's active pop-up.
#include "afxwin.h"

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
