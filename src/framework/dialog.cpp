// Modal dialogs from dialog templates, centred over their owners.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

// Centres a window over its owner (or the screen's work area), kept within
// the work area.
static void CenterOverOwner(HWND hWnd)
{
    RECT rcWork, rcArea, rc;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    if (hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &rcArea);
    else
        rcArea = rcWork;
    ::GetWindowRect(hWnd, &rc);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    int x = (rcArea.left + rcArea.right - cx) / 2;
    int y = (rcArea.top + rcArea.bottom - cy) / 2;
    if (x + cx > rcWork.right)
        x = rcWork.right - cx;
    if (y + cy > rcWork.bottom)
        y = rcWork.bottom - cy;
    if (x < rcWork.left)
        x = rcWork.left;
    if (y < rcWork.top)
        y = rcWork.top;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog manager's procedure. Every other message reaches the dialog's
// message map through the framework's window procedure, which is put in
// place when the dialog window is created; this procedure only starts the
// dialog.
static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
            return TRUE;
        RECT rcBefore;
        ::GetWindowRect(hWnd, &rcBefore);
        BOOL bResult = static_cast<CDialog*>(pWnd)->OnInitDialog();
        // A dialog that did not place itself is centred over its owner.
        RECT rcAfter;
        ::GetWindowRect(hWnd, &rcAfter);
        if (::EqualRect(&rcBefore, &rcAfter) && !(pWnd->GetStyle() & (DS_ABSALIGN | DS_CENTER)))
            CenterOverOwner(hWnd);
        return bResult;
    }
    return FALSE;
}

INT_PTR CDialog::DoModal()
{
    // Without a parent the dialog goes over the main window, or over the
    // dialog that the main window is showing at the moment.
    HWND hWndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (hWndParent == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != nullptr && ::IsWindow(pMain->m_hWnd))
            hWndParent = ::GetLastActivePopup(pMain->m_hWnd);
    }
    AfxHookWindowCreate(this);
    INT_PTR nResult = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                        hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (m_hWnd != nullptr)
        Detach();
    return nResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}
