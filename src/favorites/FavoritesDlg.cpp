// The Favorites editor and the Add Process Name dialog.
#include "FavoritesDlg.h"

#include "Favorites.h"
#include "QuellonApp.h"
#include "QuellonView.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CFavoritesDlg, CDialog)
    ON_LBN_SELCHANGE(IDC_CANDIDATES, &CFavoritesDlg::OnSelChangeCandidates)
    ON_LBN_SELCHANGE(IDC_FAVORITES, &CFavoritesDlg::OnSelChangeFavorites)
    ON_BN_CLICKED(IDC_REMOVE, &CFavoritesDlg::OnRemove)
    ON_BN_CLICKED(IDC_ADD, &CFavoritesDlg::OnAdd)
    ON_BN_CLICKED(IDC_MANUALADD, &CFavoritesDlg::OnManuallyAdd)
END_MESSAGE_MAP()

bool IsArrowEnabled(int nCount, int nCurSel)
{
    return nCount > 0 && nCurSel != LB_ERR;
}

CFavoritesDlg::CFavoritesDlg(CWnd* pParent) : CDialog(IDD_FAVORITES, pParent) {}

CFavoritesDlg::~CFavoritesDlg() = default;

void CFavoritesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FAVORITES, m_listFavorites);
    DDX_Control(pDX, IDC_CANDIDATES, m_listCandidates);
    DDX_Control(pDX, IDC_ADD, m_btnAdd);
    DDX_Control(pDX, IDC_REMOVE, m_btnRemove);
}

CQuellonView* CFavoritesDlg::GetProcessView() const
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || !pMainWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return nullptr;
    CView* pView = static_cast<CFrameWnd*>(pMainWnd)->GetActiveView();
    if (pView == nullptr || !pView->IsKindOf(RUNTIME_CLASS(CQuellonView)))
        return nullptr;
    return static_cast<CQuellonView*>(pView);
}

BOOL CFavoritesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CArray<CString> favorites = LoadFavorites(GetQuellonApp()->m_settings);
    for (const CString& strName : favorites)
        m_listFavorites.AddString(strName);

    // The rows the list shows now, as their last refresh left them.
    CArray<CString> rowNames;
    CQuellonView* pView = GetProcessView();
    if (pView != nullptr) {
        CListCtrl& list = pView->GetListCtrl();
        for (int i = 0; i < list.GetItemCount(); ++i)
            rowNames.Add(list.GetItemText(i, kColumnProcess));
    }
    for (const CString& strName : ChooseCandidates(
             rowNames, [this](const CString& strName) { return HoldsFavorite(strName); }))
        m_listCandidates.AddString(strName);
    UpdateButtons();
    return TRUE;
}

void CFavoritesDlg::UpdateButtons()
{
    EnableArrow(m_btnRemove, m_listFavorites);
    EnableArrow(m_btnAdd, m_listCandidates);
}

void CFavoritesDlg::EnableArrow(CButton& button, CListBox& list)
{
    BOOL bEnable = IsArrowEnabled(list.GetCount(), list.GetCurSel());
    // An arrow pressed from the keyboard that disables itself would leave
    // the dialog without a focus; the focus goes to its list instead.
    if (!bEnable && ::GetFocus() == button.m_hWnd)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list.m_hWnd), TRUE);
    button.EnableWindow(bEnable);
}

void CFavoritesDlg::OnSelChangeCandidates()
{
    UpdateButtons();
}

void CFavoritesDlg::OnSelChangeFavorites()
{
    UpdateButtons();
}

void CFavoritesDlg::OnAdd()
{
    int nSel = m_listCandidates.GetCurSel();
    if (nSel == LB_ERR) {
        UpdateButtons();
        return;
    }
    CString strName;
    m_listCandidates.GetText(nSel, strName);
    strName.MakeUpper();
    CString strQuestion;
    if (NeedsConfirmationToAdd(strName, &strQuestion) &&
        AfxMessageBox(strQuestion, MB_YESNO, 0) != IDYES)
        return;
    m_listCandidates.DeleteString(static_cast<UINT>(nSel));
    m_listFavorites.AddString(strName);
    UpdateButtons();
}

void CFavoritesDlg::OnRemove()
{
    int nSel = m_listFavorites.GetCurSel();
    if (nSel == LB_ERR) {
        UpdateButtons();
        return;
    }
    CString strName;
    m_listFavorites.GetText(nSel, strName);
    strName.MakeUpper();
    m_listFavorites.DeleteString(static_cast<UINT>(nSel));
    // A name goes back among the Candidates only if a process of that name
    // is listed.
    CQuellonView* pView = GetProcessView();
    if (pView != nullptr && pView->FindRowByName(strName) != -1)
        m_listCandidates.AddString(strName);
    UpdateButtons();
}

void CFavoritesDlg::OnManuallyAdd()
{
    CAddNameDlg dlg;
    if (dlg.DoModal() != IDOK)
        return;
    CString strName = dlg.m_strName;
    strName.MakeUpper();
    // An empty name would end the stored list at its place; it is kept out.
    if (strName.IsEmpty())
        return;
    if (!HoldsFavorite(strName))
        m_listFavorites.AddString(strName);
}

bool CFavoritesDlg::HoldsFavorite(LPCSTR lpszName) const
{
    return m_listFavorites.FindStringExact(-1, lpszName) != LB_ERR;
}

void CFavoritesDlg::OnOK()
{
    CArray<CString> names;
    for (int i = 0; i < m_listFavorites.GetCount(); ++i) {
        CString strName;
        m_listFavorites.GetText(i, strName);
        if (!strName.IsEmpty())
            names.Add(strName);
    }
    SaveFavorites(GetQuellonApp()->m_settings, names);
    CDialog::OnOK();
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CAddNameDlg, CDialog)
END_MESSAGE_MAP()

CAddNameDlg::CAddNameDlg(CWnd* pParent) : CDialog(IDD_ADDNAME, pParent) {}

CAddNameDlg::~CAddNameDlg() = default;

void CAddNameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, 12);
}
