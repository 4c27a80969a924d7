// The status bar: panes with the texts of their string resources, as wide
// as their texts, the first one stretching, in the system's status font.
#include "afxext.h"
#include "afxhandle.h"

// The size of NONCLIENTMETRICSA that Windows 95 knows (later headers add
// a field for Vista, which the 4.0 headers here leave out).
#ifndef _WIN64
static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the NONCLIENTMETRICSA of Windows 95");
#endif

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    DWORD dwCtrl = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwCtrl |= SBARS_SIZEGRIP;
    if (!CreateBar(STATUSCLASSNAMEA, dwCtrl, dwStyle, pParentWnd, nID))
        return FALSE;
    // The status bar shows its text in the system's status font.
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0) &&
        m_font.CreateFontIndirect(&ncm.lfStatusFont))
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), FALSE);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.RemoveAll();
    {
        CClientDC dc(this);
        CSelectScope font(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        for (int i = 0; i < nIDCount; ++i) {
            AFX_STATUSPANE pane = {lpIDArray[i], SBPS_NORMAL, 0, CString()};
            if (pane.nID != ID_SEPARATOR) {
                if (!pane.strText.LoadString(pane.nID)) {
                    m_panes.RemoveAll();
                    return FALSE;
                }
                pane.cxText = dc.GetTextExtent(pane.strText, pane.strText.GetLength()).cx;
            } else if (i == 0) {
                pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
            }
            m_panes.Add(pane);
        }
    }
    UpdateParts();
    for (int i = 0; i < GetCount(); ++i)
        SetPaneText(i, m_panes[i].strText, FALSE);
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = ID_SEPARATOR;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    const AFX_STATUSPANE& pane = m_panes[nIndex];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    AFX_STATUSPANE& pane = m_panes[nIndex];
    if (pane.nID == nID && pane.nStyle == nStyle && pane.cxText == cxWidth)
        return; // the parts stay as they are, and the control is not redrawn
    bool bStyleChanged = pane.nStyle != nStyle;
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = cxWidth;
    UpdateParts();
    // The control keeps the texts across new part sizes; only a new
    // border style needs the text set again.
    if (bStyleChanged)
        SetPaneText(nIndex, pane.strText, TRUE);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    AFX_STATUSPANE& pane = m_panes[nIndex];
    pane.strText = lpszNewText;
    UINT nFlags = static_cast<UINT>(nIndex);
    if (pane.nStyle & SBPS_NOBORDERS)
        nFlags |= SBT_NOBORDERS;
    if (pane.nStyle & SBPS_POPOUT)
        nFlags |= SBT_POPOUT;
    BOOL bOk = static_cast<BOOL>(
        SendMessage(SB_SETTEXTA, nFlags, reinterpret_cast<LPARAM>(pane.strText.GetString())));
    if (bOk && bUpdate)
        UpdateWindow();
    return bOk;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return CString();
    return m_panes[nIndex].strText;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[i].nID == nIDFind)
            return i;
    }
    return -1;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

CArray<int> AfxStatusPaneEdges(const AFX_STATUSPANE* pPanes, int nCount, int cxClient, int cxGrip)
{
    int cxFixed = 0;
    for (int i = 0; i < nCount; ++i) {
        if (!(pPanes[i].nStyle & SBPS_STRETCH))
            cxFixed += pPanes[i].cxText + kStatusPaneExtra;
    }
    int cxStretch = cxClient - cxGrip - cxFixed;
    if (cxStretch < 0)
        cxStretch = 0;
    CArray<int> edges;
    edges.SetSize(nCount);
    int x = 0;
    for (int i = 0; i < nCount; ++i) {
        x += (pPanes[i].nStyle & SBPS_STRETCH) ? cxStretch : pPanes[i].cxText + kStatusPaneExtra;
        edges[i] = i == nCount - 1 ? -1 : x;
    }
    return edges;
}

void CStatusBar::UpdateParts()
{
    if (m_hWnd == nullptr || m_panes.IsEmpty())
        return;
    RECT rc;
    GetClientRect(&rc);
    // The size grip takes room while the frame can be sized from it.
    int cxGrip = 0;
    if ((GetStyle() & SBARS_SIZEGRIP) && m_pDockSite != nullptr && !::IsZoomed(m_pDockSite->m_hWnd))
        cxGrip = ::GetSystemMetrics(SM_CXVSCROLL);
    CArray<int> edges = AfxStatusPaneEdges(m_panes.GetData(), m_panes.GetSize(), rc.right, cxGrip);
    SendMessage(SB_SETPARTS, static_cast<WPARAM>(edges.GetSize()),
                reinterpret_cast<LPARAM>(edges.GetData()));
}

SIZE CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    TEXTMETRICA tm = {};
    {
        CClientDC dc(this);
        CSelectScope font(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        ::GetTextMetricsA(dc, &tm);
    }
    int borders[3] = {0, 2, 2};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    SIZE size = {32767, tm.tmHeight + 2 * borders[1] + 4};
    return size;
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CControlBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        UpdateParts();
    return lResult;
}
