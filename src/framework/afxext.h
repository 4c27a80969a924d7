// Control bars of the framework: toolbar and status bar, and their docking
// at the edges of a frame window.
#pragma once

#include "afxwin.h"

// Control bar styles. They live in CControlBar::m_dwStyle; the window of the
// bar receives only the WS_xxx bits.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ALL 0x0040FFFFL
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)

// Status bar pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    ~CControlBar() override;

    // Size the bar wants when laid out horizontally (bHorz) or vertically.
    virtual SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Updates the enabled state of the bar's items from the frame's handlers.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    // Lets the bar dock at the given sides (CBRS_ALIGN_xxx) and be floated.
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    BOOL IsFloating() const { return m_pFloatWnd != nullptr; }
    // Horizontal while docked at the top or bottom or floating.
    BOOL IsHorz() const;
    // Shown to the user: the bar's window, and its floating window if any.
    BOOL IsBarVisible() const;
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    // Bars paint their background in the button face colour themselves: a
    // flat toolbar would let its parent's background show through.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CFrameWnd* m_pDockSite = nullptr;
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CWnd* m_pFloatWnd = nullptr; // the small window that holds the bar while it floats
    RECT m_rcBorders = {0, 0, 0, 0};

    DECLARE_MESSAGE_MAP()

protected:
    // Creates the bar's window from a control class; CBRS_xxx bits of dwStyle
    // are kept in m_dwStyle.
    BOOL CreateBar(LPCSTR lpszClass, DWORD dwCtrlStyle, DWORD dwStyle, CWnd* pParentWnd, UINT nID);
};

class CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)
public:
    // (comctl32 4.00 ignores TBSTYLE_FLAT: its buttons are drawn raised.)
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  RECT rcBorders = {0, 0, 0, 0}, UINT nID = AFX_IDW_TOOLBAR);
    // Loads the buttons from a toolbar resource (type 241) and the images
    // from the bitmap of the same id.
    BOOL LoadToolBar(UINT nIDResource);
    int GetCount() const;
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    // Rectangle of a button in the bar's client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void SetBarStyle(DWORD dwStyle) override;
    // Width (horizontal) or height (vertical) of the gripper band.
    static const int kGripperSize = 8;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateFlyBy(POINT ptScreen);
    void DrawGripper(HDC hdc, const RECT& rcWindow);
    void LayoutButtons();
    UINT m_nFlyByID = 0;
    BOOL m_bLaidOutHorz = TRUE;
};

// One pane of a status bar: its id, its SBPS_xxx style, the width of its
// text and the text.
struct AFX_STATUSPANE
{
    UINT nID;
    UINT nStyle;
    int cxText;
    CString strText;
};

class CStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CStatusBar)
public:
    ~CStatusBar() override;
    // The bar's own creation stands beside the window's general one, which
    // stays callable on a status bar as on any window.
    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; ID_SEPARATOR panes have no text of their own, any
    // other pane starts with the string resource of its id, and is as wide
    // as that text. The first pane stretches.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return m_panes.GetSize(); }
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    // Rectangle of a pane in the bar's client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Gives the control the parts that AfxStatusPaneEdges computes for the
    // bar's width and its size grip.
    void UpdateParts();
    CArray<AFX_STATUSPANE> m_panes;
    CFont m_font;
};

// The index of the item whose rectangle (in the bar's client coordinates)
// holds the point, or -1; a separator's rectangle is given empty. The
// toolbar control of Windows 95 has no hit-test message of its own.
int AfxToolBarHitTest(const RECT* prcItems, int nCount, POINT pt);

// The right edges of a status bar's parts (for SB_SETPARTS), in its client
// coordinates: every pane but a stretching one (SBPS_STRETCH) is as wide as
// its text plus kStatusPaneExtra for its borders; a stretching pane takes
// what cxClient, the bar's client width, leaves beside the size grip (cxGrip
// wide, 0 without one), and nothing where nothing is left. The last part
// runs to the bar's right edge, over the grip: its edge is -1.
CArray<int> AfxStatusPaneEdges(const AFX_STATUSPANE* pPanes, int nCount, int cxClient, int cxGrip);
const int kStatusPaneExtra = 6;

// Where a bar dragged to the screen point pt docks: the AFX_IDW_DOCKBAR_xxx
// id of the side whose band (kDockBand pixels inside that edge of rcClient,
// the frame's client area in screen coordinates) holds the point, the
// nearest edge first, among the allowed sides (CBRS_ALIGN_xxx); 0 to float.
UINT AfxDockSideForPoint(const RECT& rcClient, POINT pt, DWORD dwAllowed);
const int kDockBand = 32;
