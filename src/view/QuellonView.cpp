// The process list view: columns, initial update and command routing.
#include "QuellonView.h"

#include "FavoritesDlg.h"
#include "MainFrm.h"
#include "QuellonApp.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CQuellonView, CListView)

BEGIN_MESSAGE_MAP(CQuellonView, CListView)
    ON_COMMAND(ID_PROCESS_KILL, &CQuellonView::OnKillSelected)
    ON_UPDATE_COMMAND_UI(ID_PROCESS_KILL, &CQuellonView::OnUpdateKillSelected)
    ON_COMMAND(ID_PROCESS_KILLFAVORITES, &CQuellonView::OnKillFavorites)
    ON_COMMAND(ID_PROCESS_KILLFAVORITESEXIT, &CQuellonView::OnKillFavoritesExit)
    ON_COMMAND(ID_PROCESS_EDITFAVORITES, &CQuellonView::OnEditFavorites)
    ON_COMMAND(ID_VIEW_REFRESH, &CQuellonView::OnRefresh)
END_MESSAGE_MAP()

namespace {
const char* const kColumnHeaders[kColumnCount] = {"Process", "PID", "Base Priority", "Num. Threads",
                                                  "FullPath"};
}

CString ColumnWidthName(int nColumn)
{
    CString strName;
    strName.Format("col%d", nColumn);
    return strName;
}

int DefaultColumnWidth(int nClientWidth)
{
    return nClientWidth * 9 / 50;
}

void ChooseColumnWidths(int widths[kColumnCount], int nClientWidth, int nDefault)
{
    // A width that is not positive is no width: it would hide its column,
    // and a negative one would hide others behind it. The sum is taken in
    // 64 bits: five stored ints can add up to more than an int holds.
    long long nSum = 0;
    bool bUsable = true;
    for (int i = 0; i < kColumnCount; ++i) {
        if (widths[i] <= 0 || widths[i] > nClientWidth)
            bUsable = false;
        nSum += widths[i];
    }
    if (nSum > nClientWidth)
        bUsable = false;
    if (!bUsable) {
        for (int i = 0; i < kColumnCount; ++i)
            widths[i] = nDefault;
    }
}

BOOL CQuellonView::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    dwStyle |= LVS_REPORT | LVS_SORTASCENDING | LVS_ALIGNLEFT;
    return CListView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID,
                             pContext);
}

BOOL CQuellonView::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CListView::PreCreateWindow(cs);
}

CMainFrame* CQuellonView::GetMainFrame() const
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr || !pFrame->IsKindOf(RUNTIME_CLASS(CMainFrame)))
        return nullptr;
    return static_cast<CMainFrame*>(pFrame);
}

void CQuellonView::OnInitialUpdate()
{
    CListView::OnInitialUpdate();

    CListCtrl& list = GetListCtrl();
    RECT rc;
    list.GetClientRect(&rc);
    int nWidth = rc.right - rc.left;
    int nDefault = DefaultColumnWidth(nWidth);

    CSettingsStore& settings = GetQuellonApp()->m_settings;
    int widths[kColumnCount];
    for (int i = 0; i < kColumnCount; ++i)
        widths[i] = settings.ReadInt("Grid", ColumnWidthName(i), nDefault);
    ChooseColumnWidths(widths, nWidth, nDefault);

    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = widths[i];
        col.pszText = const_cast<char*>(kColumnHeaders[i]);
        col.iSubItem = i;
        list.InsertColumn(i, &col);
    }

    // From now on the frame saves its placement; the first snapshot comes
    // from the start-up checks when the frame's timer fires.
    CMainFrame* pFrame = GetMainFrame();
    if (pFrame != nullptr) {
        pFrame->m_bViewReady = TRUE;
        pFrame->StartStartupTimer();
    }
}

void CQuellonView::OnUpdateKillSelected(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetListCtrl().GetNextItem(-1, LVNI_SELECTED) != -1);
}

void CQuellonView::OnRefresh()
{
    RefreshProcessList();
}

void CQuellonView::OnEditFavorites()
{
    CFavoritesDlg dlg;
    dlg.DoModal();
}
