// The main frame and the framework behaviours it relies on: placement and
// column widths in the settings, status panes and prompts, tooltips,
// command enabling, the bars and their docking, and the start-up checks.
#include "TestSupport.h"

#include "WindowRules.h"
#include "afxext.h"
#include "afxhandle.h"
#include "resource.h"

#include <commctrl.h>
#include <climits>
#include <cstring>

namespace {

const std::string kScreen = std::string(kQuellonKey) + "\\Screen";
const std::string kGrid = std::string(kQuellonKey) + "\\Grid";

std::string Stored(const std::string& path, const char* name)
{
    std::string text;
    return ReadRegistryText(HKEY_LOCAL_MACHINE, path, name, &text) ? text : "<absent>";
}

std::vector<std::string> StoredRect()
{
    return {Stored(kScreen, "x"), Stored(kScreen, "y"), Stored(kScreen, "cx"),
            Stored(kScreen, "cy")};
}

std::vector<std::string> Texts(int x, int y, int cx, int cy)
{
    return {std::to_string(x), std::to_string(y), std::to_string(cx), std::to_string(cy)};
}

void StoreRect(int x, int y, int cx, int cy)
{
    WriteRegistryText(HKEY_LOCAL_MACHINE, kScreen, "x", std::to_string(x));
    WriteRegistryText(HKEY_LOCAL_MACHINE, kScreen, "y", std::to_string(y));
    WriteRegistryText(HKEY_LOCAL_MACHINE, kScreen, "cx", std::to_string(cx));
    WriteRegistryText(HKEY_LOCAL_MACHINE, kScreen, "cy", std::to_string(cy));
}

// ---------------------------------------------------------------------------
// Rules without a window

TEST(WindowRules, DefaultRectangleIsNinetyFivePercentCentred)
{
    struct Case
    {
        int W, H, x, y, cx, cy;
    };
    const Case cases[] = {
        {640, 452, 16, 11, 607, 429},
        {800, 572, 20, 14, 759, 543}, // 800 x 0.95f is just below 760
        {1024, 740, 26, 19, 972, 702},
    };
    for (const Case& c : cases) {
        int x, y, cx, cy;
        DefaultWindowRect(c.W, c.H, x, y, cx, cy);
        EXPECT_EQ(std::vector<int>({x, y, cx, cy}), std::vector<int>({c.x, c.y, c.cx, c.cy}))
            << c.W << " x " << c.H;
    }
    // The program computes in integers (a 386 may have no coprocessor); the
    // result is that of the factor 0.95 in single precision, the product
    // truncated, for every width and height a screen can have.
    int nDiffering = 0;
    for (int W = 1; W <= 4096; ++W) {
        const int H = 4097 - W;
        const int fcx = static_cast<int>(static_cast<double>(W) * static_cast<double>(0.95f));
        const int fcy = static_cast<int>(static_cast<double>(H) * static_cast<double>(0.95f));
        int x, y, cx, cy;
        DefaultWindowRect(W, H, x, y, cx, cy);
        if (std::vector<int>({x, y, cx, cy}) !=
            std::vector<int>({(W - fcx) / 2, (H - fcy) / 2, fcx, fcy})) {
            if (++nDiffering <= 5)
                ADD_FAILURE() << W << " x " << H << " gives " << x << ", " << y << ", " << cx
                              << ", " << cy;
        }
    }
    EXPECT_EQ(nDiffering, 0);
}

TEST(WindowRules, StoredRectangleBoundsAreInclusive)
{
    const int W = 800, H = 600;
    EXPECT_TRUE(IsStoredRectValid(0, 0, 1, 1, W, H));
    EXPECT_TRUE(IsStoredRectValid(W, H, W, H, W, H)); // x + cx beyond W is not checked
    EXPECT_FALSE(IsStoredRectValid(W + 1, 0, 100, 100, W, H));
    EXPECT_FALSE(IsStoredRectValid(0, H + 1, 100, 100, W, H));
    EXPECT_FALSE(IsStoredRectValid(-1, 0, 100, 100, W, H));
    EXPECT_FALSE(IsStoredRectValid(0, -1, 100, 100, W, H));
    EXPECT_FALSE(IsStoredRectValid(0, 0, 0, 100, W, H));
    EXPECT_FALSE(IsStoredRectValid(0, 0, 100, 0, W, H));
    EXPECT_FALSE(IsStoredRectValid(0, 0, W + 1, 100, W, H));
    EXPECT_FALSE(IsStoredRectValid(0, 0, 100, H + 1, W, H));
}

TEST(WindowRules, ClampingKeepsTheRectangleOnTheWorkArea)
{
    int x = -30, y = -4, cx = 900, cy = 700;
    ClampWindowRect(x, y, cx, cy, 800, 600);
    EXPECT_EQ(std::vector<int>({x, y, cx, cy}), std::vector<int>({0, 0, 800, 600}));
    x = 700, y = 500, cx = 300, cy = 200; // beyond the right edge: left alone
    ClampWindowRect(x, y, cx, cy, 800, 600);
    EXPECT_EQ(std::vector<int>({x, y, cx, cy}), std::vector<int>({700, 500, 300, 200}));
}

TEST(ColumnWidths, StoredWidthsAreKeptOnlyAllTogether)
{
    EXPECT_EQ(DefaultColumnWidth(600), 108);
    EXPECT_EQ(DefaultColumnWidth(500), 90);

    int kept[5] = {100, 50, 80, 40, 300};
    ChooseColumnWidths(kept, 600, DefaultColumnWidth(600));
    EXPECT_EQ(std::vector<int>(kept, kept + 5), std::vector<int>({100, 50, 80, 40, 300}));

    int filling[5] = {100, 50, 80, 70, 300}; // columns that fill the view exactly
    ChooseColumnWidths(filling, 600, DefaultColumnWidth(600));
    EXPECT_EQ(std::vector<int>(filling, filling + 5), std::vector<int>({100, 50, 80, 70, 300}));

    int tooWide[5] = {100, 50, 80, 40, 300}; // sum 570 > 500
    ChooseColumnWidths(tooWide, 500, DefaultColumnWidth(500));
    EXPECT_EQ(std::vector<int>(tooWide, tooWide + 5), std::vector<int>(5, 90));

    int oneShut[5] = {100, 0, 80, 40, 30};
    ChooseColumnWidths(oneShut, 600, DefaultColumnWidth(600));
    EXPECT_EQ(std::vector<int>(oneShut, oneShut + 5), std::vector<int>(5, 108));

    int oneTooWide[5] = {601, 1, 1, 1, 1};
    ChooseColumnWidths(oneTooWide, 600, 108);
    EXPECT_EQ(std::vector<int>(oneTooWide, oneTooWide + 5), std::vector<int>(5, 108));

    // A width that is not positive hides its column (and a negative one
    // the columns after it): -1, the most negative int, and a mix whose
    // sum is negative.
    int negative[3][5] = {
        {100, -1, 80, 40, 30}, {100, 50, INT_MIN, 40, 30}, {300, -100000, 50, 50, 50}};
    for (auto& widths : negative) {
        ChooseColumnWidths(widths, 600, 108);
        EXPECT_EQ(std::vector<int>(widths, widths + 5), std::vector<int>(5, 108));
    }
}

// Creating a font into a CFont that holds one replaces it: the font held so
// far is deleted, not left behind.
TEST(GdiObjects, ASecondFontReplacesAndDeletesTheFirst)
{
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    lstrcpyA(lf.lfFaceName, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    HGDIOBJ hFirst = font.m_hObject;
    lf.lfUnderline = TRUE;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    ASSERT_NE(font.m_hObject, hFirst);
    EXPECT_EQ(::GetObjectType(hFirst), 0u) << "the first font is deleted";
    LOGFONTA held = {};
    ASSERT_EQ(::GetObjectA(font.m_hObject, sizeof held, &held), static_cast<int>(sizeof held));
    EXPECT_TRUE(held.lfUnderline) << "the object holds the second font";
}

// The faces that the window's parts are drawn in are the system's own: the
// caption buttons' glyphs (Marlett), the dialogs' and bars' texts (MS Sans
// Serif, Tahoma). Where the system lacks one, another face stands in and the
// caption buttons show letters.
TEST(GdiObjects, TheSystemsOwnFacesAreThere)
{
    HDC hdc = ::GetDC(nullptr);
    for (const char* name : {"Marlett", "Tahoma", "MS Sans Serif"}) {
        LOGFONTA lf = {};
        lf.lfHeight = -11;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(lf.lfFaceName, name);
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        HGDIOBJ old = ::SelectObject(hdc, font.m_hObject);
        char face[LF_FACESIZE] = "";
        ::GetTextFaceA(hdc, sizeof face, face);
        ::SelectObject(hdc, old);
        EXPECT_STREQ(face, name);
    }
    ::ReleaseDC(nullptr, hdc);
}

// ---------------------------------------------------------------------------
// The real window

class FrameTest : public QuellonTest
{
protected:
    void SetUp() override
    {
        QuellonTest::SetUp();
        workArea = GetWorkAreaSize();
    }

    SIZE workArea = {0, 0};
};

TEST_F(FrameTest, FirstStartTakesTheDefaultRectangleAndStoresIt)
{
    QuellonWindow w;
    ASSERT_TRUE(w.Alive());
    int x, y, cx, cy;
    DefaultWindowRect(workArea.cx, workArea.cy, x, y, cx, cy);
    RECT rc;
    ::GetWindowRect(w.m_hWnd, &rc);
    EXPECT_EQ(std::vector<int>({rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top}),
              std::vector<int>({x, y, cx, cy}));
    EXPECT_EQ(StoredRect(), Texts(x, y, cx, cy));
    char title[64];
    ::GetWindowTextA(w.m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "Quellon");
}

// The small icon belongs to the frames' window class, which stays
// registered: a frame that goes leaves it to the next frame of the class.
TEST_F(FrameTest, TheClassSmallIconOutlivesAFrame)
{
    {
        QuellonWindow w;
        ASSERT_TRUE(w.Alive());
    }
    QuellonWindow w;
    ASSERT_TRUE(w.Alive());
    HICON hIconSm = reinterpret_cast<HICON>(::GetClassLongPtrA(w.m_hWnd, GCLP_HICONSM));
    ASSERT_NE(hIconSm, nullptr);
    ICONINFO ii = {};
    EXPECT_TRUE(::GetIconInfo(hIconSm, &ii)) << "still an icon";
    CGdiObject color, mask; // GetIconInfo hands out copies of the bitmaps
    color.Attach(ii.hbmColor);
    mask.Attach(ii.hbmMask);
}

namespace {
struct Interrupter
{
    HANDLE hTarget;
    DWORD dwId;
    volatile LONG bDone;
};
DWORD WINAPI InterruptTarget(LPVOID pParam)
{
    Interrupter* p = static_cast<Interrupter*>(pParam);
    p->dwId = ::GetCurrentThreadId();
    for (int i = 0; i < 10; ++i) {
        ::SuspendThread(p->hTarget);
        CONTEXT context = {};
        context.ContextFlags = CONTEXT_CONTROL;
        ::GetThreadContext(p->hTarget, &context);
        ::ResumeThread(p->hTarget);
    }
    ::InterlockedExchange(&p->bDone, 1);
    return 0;
}
} // namespace

// A thread reaches its own thread data after another thread has started
// and this one has been interrupted (suspended, and its context read). The
// common dialogs start threads of their own: where the thread data were
// shared (as under an emulator that keeps one set of segment descriptors
// for all threads), the File Open dialog hung.
TEST(ThreadData, EachThreadKeepsItsOwnWhenAnotherStartsAndInterruptsIt)
{
    const DWORD dwOwnId = ::GetCurrentThreadId();
    Interrupter interrupter = {nullptr, 0, 0};
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(),
                                  ::GetCurrentProcess(), &interrupter.hTarget, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS));
    CKernelHandle target(interrupter.hTarget);
    CKernelHandle thread(::CreateThread(nullptr, 0, InterruptTarget, &interrupter, 0, nullptr));
    ASSERT_TRUE(thread.IsValid());
    // Busy, so that the interruptions come while this thread runs.
    const DWORD dwStart = ::GetTickCount();
    while (!interrupter.bDone && ::GetTickCount() - dwStart < 10000)
        ;
    ASSERT_TRUE(interrupter.bDone);
    ::WaitForSingleObject(thread, INFINITE);
    EXPECT_NE(interrupter.dwId, dwOwnId);
    EXPECT_EQ(::GetCurrentThreadId(), dwOwnId);
}

TEST_F(FrameTest, FileOpenCommandShowsTheCommonOpenDialog)
{
    // The common dialogs are loaded when the command runs.
    QuellonWindow w;
    bool bShown = false;
    RunModal(
        [&w] {
            w.Command(ID_FILE_OPEN);
            return static_cast<INT_PTR>(IDCANCEL);
        },
        {[&bShown] {
            HWND hDlg = FindDialog("Open");
            if (hDlg == nullptr)
                return false;
            bShown = true;
            ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
            return true;
        }});
    EXPECT_TRUE(bShown);
    EXPECT_TRUE(w.Alive());
}

TEST_F(FrameTest, StoredRectangleIsUsedWithinTheWorkAreaAndReplacedOtherwise)
{
    StoreRect(workArea.cx, 20, 300, 200); // x = W is still valid
    {
        QuellonWindow w;
        RECT rc;
        ::GetWindowRect(w.m_hWnd, &rc);
        EXPECT_EQ(rc.left, workArea.cx);
        EXPECT_EQ(rc.top, 20);
        EXPECT_EQ(rc.right - rc.left, 300);
        EXPECT_EQ(rc.bottom - rc.top, 200);
    }
    int x, y, cx, cy;
    DefaultWindowRect(workArea.cx, workArea.cy, x, y, cx, cy);
    for (const auto& bad : {std::vector<int>{workArea.cx + 1, 20, 300, 200},
                            std::vector<int>{10, 10, workArea.cx + 50, 200}}) {
        StoreRect(bad[0], bad[1], bad[2], bad[3]);
        QuellonWindow w;
        RECT rc;
        ::GetWindowRect(w.m_hWnd, &rc);
        EXPECT_EQ(rc.left, x);
        EXPECT_EQ(rc.top, y);
        EXPECT_EQ(rc.right - rc.left, cx);
        EXPECT_EQ(rc.bottom - rc.top, cy);
        EXPECT_EQ(StoredRect(), Texts(x, y, cx, cy));
    }
}

TEST_F(FrameTest, PlacementIsSavedOnEveryMoveOnceTheViewIsReady)
{
    QuellonWindow w;
    ASSERT_TRUE(w.frame->m_bViewReady);
    ::SetWindowPos(w.m_hWnd, nullptr, 50, 60, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(StoredRect(), Texts(50, 60, 500, 400));

    // What the flags of a change mark unchanged is the window's own, not
    // the fields of the message, which may hold zeros.
    WINDOWPOS pos = {};
    pos.hwnd = w.m_hWnd;
    pos.flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    ::SendMessageA(w.m_hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    EXPECT_EQ(StoredRect(), Texts(50, 60, 500, 400));
    pos.flags = SWP_NOSIZE | SWP_NOZORDER;
    pos.x = 55;
    pos.y = 65;
    ::SendMessageA(w.m_hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    EXPECT_EQ(StoredRect(), Texts(55, 65, 500, 400));

    // Negative positions are stored as 0.
    ::SetWindowPos(w.m_hWnd, nullptr, -30, -40, 520, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(StoredRect(), Texts(0, 0, 520, 410));

    // Before the view is ready, nothing is written.
    w.frame->m_bViewReady = FALSE;
    ::SetWindowPos(w.m_hWnd, nullptr, 70, 80, 530, 420, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(StoredRect(), Texts(0, 0, 520, 410));
    w.frame->m_bViewReady = TRUE;
}

TEST_F(FrameTest, MinimisedWritesNothingAndMaximisedStoresTheWorkArea)
{
    QuellonWindow w;
    ::SetWindowPos(w.m_hWnd, nullptr, 40, 30, 600, 450, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(50);
    ASSERT_EQ(StoredRect(), Texts(40, 30, 600, 450));
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kScreen);

    ::ShowWindow(w.m_hWnd, SW_MINIMIZE);
    PumpMessages(100);
    EXPECT_EQ(StoredRect(), std::vector<std::string>(4, "<absent>"));

    ::ShowWindow(w.m_hWnd, SW_RESTORE);
    PumpMessages(100);
    EXPECT_EQ(StoredRect(), Texts(40, 30, 600, 450));

    ::ShowWindow(w.m_hWnd, SW_MAXIMIZE);
    PumpMessages(100);
    EXPECT_EQ(StoredRect(), Texts(0, 0, workArea.cx, workArea.cy));
}

TEST_F(FrameTest, ColumnsTakeStoredWidthsOrTheDefaultAndAreSavedOnClose)
{
    {
        QuellonWindow w;
        RECT rc;
        ::GetClientRect(w.view->m_hWnd, &rc);
        int nDefault = DefaultColumnWidth(rc.right);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(w.view->GetListCtrl().GetColumnWidth(i), nDefault) << "column " << i;
        CHeaderCtrl* pHeader = w.view->GetListCtrl().GetHeaderCtrl();
        ASSERT_NE(pHeader, nullptr);
        const char* headers[] = {"Process", "PID", "Base Priority", "Num. Threads", "FullPath"};
        for (int i = 0; i < 5; ++i) {
            char text[64] = "";
            HDITEMA hdi = {};
            hdi.mask = HDI_TEXT | HDI_FORMAT;
            hdi.pszText = text;
            hdi.cchTextMax = sizeof text;
            ASSERT_TRUE(pHeader->GetItem(i, &hdi));
            EXPECT_STREQ(text, headers[i]);
            EXPECT_EQ(hdi.fmt & HDF_JUSTIFYMASK, HDF_LEFT);
        }

        // A column dragged shut is saved as 0 like any other width.
        const int widths[] = {130, 0, 90, 70, 200};
        for (int i = 0; i < 5; ++i)
            w.view->GetListCtrl().SetColumnWidth(i, widths[i]);
        ::SendMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(w.Alive());
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Stored(kGrid, ("col" + std::to_string(i)).c_str()),
                      std::to_string(widths[i]));
    }
    // The stored 0 makes the next start use the default for every column.
    {
        QuellonWindow w;
        RECT rc;
        ::GetClientRect(w.view->m_hWnd, &rc);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(w.view->GetListCtrl().GetColumnWidth(i), DefaultColumnWidth(rc.right));
    }
    // Usable widths are taken as they are.
    for (int i = 0; i < 5; ++i)
        WriteRegistryText(HKEY_LOCAL_MACHINE, kGrid, "col" + std::to_string(i),
                          std::to_string(60 + i));
    QuellonWindow w;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(w.view->GetListCtrl().GetColumnWidth(i), 60 + i);
}

TEST_F(FrameTest, StatusPaneTextFitsThePane)
{
    QuellonWindow w;
    CStatusBar& bar = w.frame->m_wndStatusBar;
    ASSERT_EQ(bar.GetCount(), 2);
    UINT nID, nStyle;
    int cxWidth;
    bar.GetPaneInfo(STATUS_PANE_KILL, nID, nStyle, cxWidth);
    EXPECT_EQ(nID, static_cast<UINT>(ID_INDICATOR_KILL));
    EXPECT_EQ(std::string(bar.GetPaneText(STATUS_PANE_KILL)), std::string(10, ' '));

    auto extent = [&bar](const char* text) {
        HDC hdc = ::GetDC(bar.m_hWnd);
        HGDIOBJ old = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(bar.SendMessage(WM_GETFONT)));
        SIZE size;
        ::GetTextExtentPoint32A(hdc, text, lstrlenA(text), &size);
        ::SelectObject(hdc, old);
        ::ReleaseDC(bar.m_hWnd, hdc);
        return size.cx;
    };
    // The text is drawn at once, bar and all: the pass that shows it
    // handles no messages. Before each text the bar is left to be painted
    // (as a window over it that goes during the pass leaves it), and one
    // text comes twice, as for a name that the Favorites hold twice: the
    // control itself then has nothing new to draw.
    for (const char* text : {"Killing... SOMEVERYLONGPROCESSNAME.EXE", "Killing... A.EXE",
                             "Killing... A.EXE", "     "}) {
        ::InvalidateRect(bar.m_hWnd, nullptr, FALSE);
        EXPECT_TRUE(w.frame->SetStatusPaneText(STATUS_PANE_KILL, text));
        EXPECT_FALSE(::GetUpdateRect(bar.m_hWnd, nullptr, FALSE)) << text;
        bar.GetPaneInfo(STATUS_PANE_KILL, nID, nStyle, cxWidth);
        EXPECT_EQ(cxWidth, extent(text) + 2) << text;
        EXPECT_EQ(std::string(bar.GetPaneText(STATUS_PANE_KILL)), text);
        char shown[128] = "";
        bar.SendMessage(SB_GETTEXTA, STATUS_PANE_KILL, reinterpret_cast<LPARAM>(shown));
        EXPECT_STREQ(shown, text);
        RECT rcPane;
        bar.GetItemRect(STATUS_PANE_KILL, &rcPane);
        EXPECT_GE(rcPane.right - rcPane.left, cxWidth) << text;
    }
}

TEST_F(FrameTest, MessagePaneShowsPromptsOfMenuItemsAndReadyWhenIdle)
{
    QuellonWindow w;
    CStatusBar& bar = w.frame->m_wndStatusBar;
    EXPECT_EQ(std::string(bar.GetPaneText(0)), "Ready");
    HMENU hMenu = ::GetMenu(w.m_hWnd);
    ::SendMessageA(w.m_hWnd, WM_MENUSELECT, MAKEWPARAM(ID_PROCESS_KILLFAVORITESEXIT, MF_HILITE),
                   reinterpret_cast<LPARAM>(::GetSubMenu(hMenu, 1)));
    EXPECT_EQ(std::string(bar.GetPaneText(0)), "Kill Favorites and Exit");
    ::SendMessageA(w.m_hWnd, WM_MENUSELECT, MAKEWPARAM(SC_CLOSE, MF_HILITE | MF_SYSMENU),
                   reinterpret_cast<LPARAM>(::GetSystemMenu(w.m_hWnd, FALSE)));
    EXPECT_EQ(std::string(bar.GetPaneText(0)), "Close the active window");
    ::SendMessageA(w.m_hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(std::string(bar.GetPaneText(0)), "Ready");
}

TEST_F(FrameTest, ToolbarTooltipsAreTheTextAfterTheNewline)
{
    QuellonWindow w;
    const std::pair<UINT, const char*> tips[] = {{ID_FILE_SAVE, "Save"},
                                                 {ID_PROCESS_KILL, "Kill Selected"},
                                                 {ID_PROCESS_KILLFAVORITES, "Kill Favorites"},
                                                 {ID_APP_ABOUT, "About"}};
    for (const auto& tip : tips) {
        TOOLTIPTEXTA ttt = {};
        ttt.hdr.hwndFrom = w.frame->m_wndToolBar.m_hWnd;
        ttt.hdr.idFrom = tip.first;
        ttt.hdr.code = TTN_NEEDTEXTA;
        ::SendMessageA(w.m_hWnd, WM_NOTIFY, tip.first, reinterpret_cast<LPARAM>(&ttt));
        EXPECT_STREQ(ttt.lpszText, tip.second);
    }
}

// The Windows 98 look: the bars in the button face colour, and one sunken
// edge around the list, the view's own.
TEST_F(FrameTest, BarsPaintTheButtonFaceAndOnlyTheViewHasASunkenEdge)
{
    QuellonWindow w;
    ASSERT_NE(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOW));
    EXPECT_FALSE(w.frame->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(w.view->GetExStyle() & WS_EX_CLIENTEDGE);
    CToolBar& bar = w.frame->m_wndToolBar;
    RECT rcButton, rcBar;
    bar.GetItemRect(bar.GetCount() - 1, &rcButton);
    bar.GetClientRect(&rcBar);
    ASSERT_GT(rcBar.right, rcButton.right + 4) << "room right of the last button";
    ::RedrawWindow(bar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC hdc = ::GetDC(bar.m_hWnd);
    COLORREF crBeside = ::GetPixel(hdc, rcButton.right + 4, (rcButton.top + rcButton.bottom) / 2);
    ::ReleaseDC(bar.m_hWnd, hdc);
    EXPECT_EQ(crBeside, ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(FrameTest, ToolbarPromptShowsWhileThePointerRestsOnAButton)
{
    QuellonWindow w;
    ::SetForegroundWindow(w.m_hWnd);
    CToolBar& bar = w.frame->m_wndToolBar;
    RECT rc;
    bar.GetItemRect(bar.CommandToIndex(ID_PROCESS_KILLFAVORITES), &rc);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(bar.m_hWnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
    ::PostMessageA(bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(PumpUntil(
        [&] { return std::string(w.frame->m_wndStatusBar.GetPaneText(0)) == "Kill Favorites"; },
        3000));
    // Away from the bar the pane goes back to "Ready".
    RECT rcView;
    ::GetWindowRect(w.view->m_hWnd, &rcView);
    ::SetCursorPos((rcView.left + rcView.right) / 2, (rcView.top + rcView.bottom) / 2);
    EXPECT_TRUE(PumpUntil(
        [&] { return std::string(w.frame->m_wndStatusBar.GetPaneText(0)) == "Ready"; }, 3000));
}

bool MenuItemEnabled(HWND hWnd, int nPopup, UINT nID)
{
    HMENU hPopup = ::GetSubMenu(::GetMenu(hWnd), nPopup);
    ::SendMessageA(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), nPopup);
    return (::GetMenuState(hPopup, nID, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

// Greyed (drawn grey, as the Windows 95 family shows an unavailable item),
// not only disabled.
bool MenuItemGrayed(HWND hWnd, int nPopup, UINT nID)
{
    HMENU hPopup = ::GetSubMenu(::GetMenu(hWnd), nPopup);
    ::SendMessageA(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), nPopup);
    return (::GetMenuState(hPopup, nID, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

bool MenuItemChecked(HWND hWnd, int nPopup, UINT nID)
{
    HMENU hPopup = ::GetSubMenu(::GetMenu(hWnd), nPopup);
    ::SendMessageA(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), nPopup);
    return (::GetMenuState(hPopup, nID, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool ToolbarButtonEnabled(QuellonWindow& w, UINT nID)
{
    ::SendMessageA(w.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    return w.frame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, nID) != 0;
}

TEST_F(FrameTest, KillSelectedIsAvailableExactlyWhileARowIsSelected)
{
    QuellonWindow w;
    w.view->RefreshProcessList();
    ASSERT_GE(w.RowCount(), 2);
    EXPECT_FALSE(MenuItemEnabled(w.m_hWnd, 1, ID_PROCESS_KILL));
    EXPECT_TRUE(MenuItemGrayed(w.m_hWnd, 1, ID_PROCESS_KILL));
    EXPECT_FALSE(ToolbarButtonEnabled(w, ID_PROCESS_KILL));
    w.Select({1});
    EXPECT_TRUE(MenuItemEnabled(w.m_hWnd, 1, ID_PROCESS_KILL));
    EXPECT_FALSE(MenuItemGrayed(w.m_hWnd, 1, ID_PROCESS_KILL));
    EXPECT_TRUE(ToolbarButtonEnabled(w, ID_PROCESS_KILL));
    w.Select({0, 1});
    EXPECT_TRUE(MenuItemEnabled(w.m_hWnd, 1, ID_PROCESS_KILL));
    // A refresh drops the selection, and with it the command.
    w.Command(ID_VIEW_REFRESH);
    EXPECT_FALSE(MenuItemEnabled(w.m_hWnd, 1, ID_PROCESS_KILL));
    EXPECT_FALSE(ToolbarButtonEnabled(w, ID_PROCESS_KILL));

    for (UINT nID :
         {ID_PROCESS_KILLFAVORITES, ID_PROCESS_KILLFAVORITESEXIT, ID_PROCESS_EDITFAVORITES})
        EXPECT_TRUE(MenuItemEnabled(w.m_hWnd, 1, nID)) << nID;
    EXPECT_TRUE(MenuItemEnabled(w.m_hWnd, 2, ID_VIEW_REFRESH));
    EXPECT_TRUE(MenuItemEnabled(w.m_hWnd, 0, ID_APP_EXIT));
    EXPECT_TRUE(MenuItemEnabled(w.m_hWnd, 3, ID_APP_ABOUT));
    for (UINT nID :
         {ID_PROCESS_KILLFAVORITES, ID_PROCESS_KILLFAVORITESEXIT, ID_APP_ABOUT, ID_FILE_SAVE})
        EXPECT_TRUE(ToolbarButtonEnabled(w, nID)) << nID;
}

BOOL CALLBACK CountWindow(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

int CountThreadWindows()
{
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

TEST_F(FrameTest, PaneKeysHaveNoHandlerAndSaveDoesNothingVisible)
{
    QuellonWindow w;
    for (UINT nID : {ID_NEXT_PANE, ID_PREV_PANE}) {
        CTestCmdUI state;
        state.m_nID = nID;
        state.DoUpdate(w.frame, TRUE);
        EXPECT_FALSE(state.m_bEnabled) << nID;
    }
    int nWindowsBefore = CountThreadWindows();
    // F6, Shift+F6 and Ctrl+S through the message loop's accelerator table.
    ::SetFocus(w.view->m_hWnd);
    for (WPARAM vk : {static_cast<WPARAM>(VK_F6), static_cast<WPARAM>('S')}) {
        MSG msg = {w.view->m_hWnd, WM_KEYDOWN, vk, 1, 0, {0, 0}};
        if (vk == 'S') {
            BYTE keys[256];
            ::GetKeyboardState(keys);
            keys[VK_CONTROL] = 0x80;
            ::SetKeyboardState(keys);
        }
        EXPECT_TRUE(AfxGetApp()->PreTranslateMessage(&msg)) << "the key is an accelerator";
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
    }
    PumpMessages(200);
    EXPECT_EQ(CountThreadWindows(), nWindowsBefore) << "no dialog appeared";
    EXPECT_TRUE(w.Alive());
    EXPECT_TRUE(TestApp().m_boxes.empty());
    char title[64];
    ::GetWindowTextA(w.m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "Quellon");
}

TEST_F(FrameTest, ViewMenuHidesAndShowsTheBarsWithCheckMarks)
{
    QuellonWindow w;
    for (UINT nID : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        HWND hBar = ::GetDlgItem(w.m_hWnd, static_cast<int>(nID));
        ASSERT_NE(hBar, nullptr);
        EXPECT_TRUE(::IsWindowVisible(hBar));
        EXPECT_TRUE(MenuItemChecked(w.m_hWnd, 2, nID));
        w.Command(nID);
        EXPECT_FALSE(::IsWindowVisible(hBar));
        EXPECT_FALSE(MenuItemChecked(w.m_hWnd, 2, nID));
        w.Command(nID);
        EXPECT_TRUE(::IsWindowVisible(hBar));
        EXPECT_TRUE(MenuItemChecked(w.m_hWnd, 2, nID));
    }
}

RECT ClientRectOf(HWND hWnd, HWND hFrame)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hFrame, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST(DockSide, TheNearestAllowedEdgeWithinTheBandWins)
{
    RECT rc = {100, 100, 500, 400};
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{300, 105}, CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{300, 399}, CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{101, 250}, CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{490, 250}, CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{102, 110}, CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{300, 250}, CBRS_ALIGN_ANY), 0u); // middle: float
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{300, 90}, CBRS_ALIGN_ANY), 0u);  // outside
    EXPECT_EQ(AfxDockSideForPoint(rc, POINT{300, 105}, CBRS_ALIGN_LEFT), 0u);
}

TEST(ToolBarHitTest, TheButtonWhoseRectangleHoldsThePoint)
{
    // Two buttons with a separator between them, given empty.
    const RECT items[] = {{0, 0, 23, 22}, {0, 0, 0, 0}, {31, 0, 54, 22}};
    EXPECT_EQ(AfxToolBarHitTest(items, 3, POINT{0, 0}), 0);
    EXPECT_EQ(AfxToolBarHitTest(items, 3, POINT{22, 21}), 0);
    EXPECT_EQ(AfxToolBarHitTest(items, 3, POINT{23, 10}), -1); // right edge excluded
    EXPECT_EQ(AfxToolBarHitTest(items, 3, POINT{27, 10}), -1); // on the separator
    EXPECT_EQ(AfxToolBarHitTest(items, 3, POINT{40, 10}), 2);
    EXPECT_EQ(AfxToolBarHitTest(items, 3, POINT{40, 22}), -1);
}

TEST(StatusPanes, FixedPanesFitTheirTextAndTheStretchingOneTakesTheRest)
{
    // The message pane and two panes of 50 and 30 pixels of text; each
    // fixed pane has 6 pixels for its borders.
    const AFX_STATUSPANE panes[] = {{ID_SEPARATOR, SBPS_NOBORDERS | SBPS_STRETCH, 0, CString()},
                                    {1, SBPS_NORMAL, 50, CString()},
                                    {2, SBPS_NORMAL, 30, CString()}};
    auto edges = [&panes](int cxClient, int cxGrip) {
        CArray<int> a = AfxStatusPaneEdges(panes, 3, cxClient, cxGrip);
        return std::vector<int>(a.begin(), a.end());
    };
    EXPECT_EQ(edges(300, 16), std::vector<int>({192, 248, -1})) << "the grip's room is kept";
    EXPECT_EQ(edges(300, 0), std::vector<int>({208, 264, -1}));
    EXPECT_EQ(edges(50, 16), std::vector<int>({0, 56, -1})) << "too narrow: no message pane";
    CArray<int> one = AfxStatusPaneEdges(panes, 1, 300, 16);
    ASSERT_EQ(one.GetSize(), 1);
    EXPECT_EQ(one[0], -1) << "one part runs to the right edge";
}

TEST(MenuPrompts, TheStringShownForASelectedMenuItem)
{
    HMENU hMenu = ::CreatePopupMenu();
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(AfxMenuPromptID(ID_FILE_SAVE, MF_HILITE, hMenu), static_cast<UINT>(ID_FILE_SAVE));
    EXPECT_EQ(AfxMenuPromptID(0, 0xFFFF, nullptr), static_cast<UINT>(AFX_IDS_IDLEMESSAGE))
        << "the menu has closed";
    EXPECT_EQ(AfxMenuPromptID(0, MF_SEPARATOR | MF_HILITE, hMenu), 0u);
    EXPECT_EQ(AfxMenuPromptID(2, MF_POPUP | MF_HILITE, hMenu), 0u) << "a pop-up: 2 is its place";
    EXPECT_EQ(AfxMenuPromptID(SC_SIZE, MF_SYSMENU | MF_HILITE, hMenu),
              static_cast<UINT>(AFX_IDS_SCFIRST));
    EXPECT_EQ(AfxMenuPromptID(SC_CLOSE, MF_SYSMENU | MF_HILITE, hMenu),
              static_cast<UINT>(AFX_IDS_SCFIRST + 6));
    EXPECT_EQ(AfxMenuPromptID(0xF1F0, MF_HILITE, hMenu), 0xF1F0u) << "past the system commands";
    ::DestroyMenu(hMenu);
}

TEST(CommandLine, SplitLikeTheCRuntime)
{
    EXPECT_STREQ(AfxSkipProgramName("\"C:\\My Programs\\Quellon.exe\"  /x y"), "/x y");
    EXPECT_STREQ(AfxSkipProgramName("quellon.exe\tdoc"), "doc");
    EXPECT_STREQ(AfxSkipProgramName("quellon.exe"), "");
    CArray<CString> args;
    AfxSplitCommandLine("  one \"two three\"\tfour\"\"five \"\" ", args);
    ASSERT_EQ(args.GetSize(), 4);
    EXPECT_STREQ(args[0], "one");
    EXPECT_STREQ(args[1], "two three");
    EXPECT_STREQ(args[2], "fourfive");
    EXPECT_STREQ(args[3], "");
    // Backslashes escape only a quote: 2n and a quote give n and a
    // grouping quote, 2n + 1 give n and a plain quote.
    AfxSplitCommandLine("a\\\\b \\\\\"c d\" \\\"e \"f\"\"g\"", args);
    ASSERT_EQ(args.GetSize(), 4);
    EXPECT_STREQ(args[0], "a\\\\b");
    EXPECT_STREQ(args[1], "\\c d");
    EXPECT_STREQ(args[2], "\"e");
    EXPECT_STREQ(args[3], "f\"g");
    AfxSplitCommandLine("", args);
    EXPECT_EQ(args.GetSize(), 0);
}

// Run with the Japanese code page (932): its CTest entry sets LC_ALL. The
// trail bytes of \x83\x5C and \x95\x5C are that of a backslash.
TEST(DoubleByteCodePage, PathsAndArgumentsAreSplitBetweenCharacters)
{
    ASSERT_EQ(::GetACP(), 932u) << "LC_ALL=ja_JP.UTF-8 chooses code page 932 under Wine";
    EXPECT_STREQ(AfxFindFileName("C:\\x\\\x83\x5C\x83\x74\x83\x67.exe"),
                 "\x83\x5C\x83\x74\x83\x67.exe");
    EXPECT_STREQ(AfxFindFileName("C:\\x\\\x95\x5C"), "\x95\x5C");
    EXPECT_STREQ(AfxFindFileName("C:\\\x95\x5C/a.txt"), "a.txt");
    EXPECT_STREQ(AfxFindFileName("a.txt"), "a.txt");
    CDocument doc;
    doc.SetPathName("C:\\docs\\\x95\x5C.txt");
    EXPECT_STREQ(doc.GetTitle(), "\x95\x5C.txt");

    EXPECT_STREQ(AfxSkipProgramName("\"C:\\\x95\x5C\\q.exe\" a"), "a");
    CArray<CString> args;
    AfxSplitCommandLine("\"\x83\x5C\" \x95\x5C\\\"x\"", args);
    ASSERT_EQ(args.GetSize(), 2);
    EXPECT_STREQ(args[0], "\x83\x5C");
    EXPECT_STREQ(args[1], "\x95\x5C\"x") << "the backslash after the character escapes the quote";
}

TEST(WindowCreation, TheSystemsImeWindowIsNotTakenForTheWindowBeingCreated)
{
    // East-Asian Windows creates a thread's default IME window (class
    // "IME") inside the creation of its first window, before that window.
    // Here one is made in the same place: after the creation hook is armed.
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.lpszClassName = "IME";
    ::RegisterClassA(&wc); // or the system's own class of that name
    CWnd wnd;
    AfxHookWindowCreate(&wnd);
    HWND hIme = ::CreateWindowExA(0, "IME", "Default IME", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  hInst, nullptr);
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "the window", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, hInst, nullptr);
    EXPECT_TRUE(AfxUnhookWindowCreate()) << "the hook attached a window";
    ASSERT_NE(hIme, nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(wnd.m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hIme), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    ::DestroyWindow(hIme);
}

TEST(StringFields, OneFieldOfAStringResource)
{
    CString str;
    EXPECT_TRUE(AfxExtractSubString(str, "Kill Favorites\nKill", 0));
    EXPECT_STREQ(str, "Kill Favorites");
    EXPECT_TRUE(AfxExtractSubString(str, "Kill Favorites\nKill", 1));
    EXPECT_STREQ(str, "Kill");
    EXPECT_TRUE(AfxExtractSubString(str, "Refresh", 0)) << "one field: the whole string";
    EXPECT_STREQ(str, "Refresh");
    EXPECT_FALSE(AfxExtractSubString(str, "Refresh", 1));
    EXPECT_STREQ(str, "");
    EXPECT_TRUE(AfxExtractSubString(str, "Quellon\n\nQuello", 1)) << "an empty field is a field";
    EXPECT_STREQ(str, "");
    EXPECT_TRUE(AfxExtractSubString(str, "Quellon\n\nQuello", 2));
    EXPECT_STREQ(str, "Quello");
    EXPECT_TRUE(AfxExtractSubString(str, "a,b\nc", 1, ','));
    EXPECT_STREQ(str, "b\nc");
    EXPECT_FALSE(AfxExtractSubString(str, "a", -1));
    // The source may be the result's own text.
    str = "Kill Favorites\nKill";
    EXPECT_TRUE(AfxExtractSubString(str, str, 1));
    EXPECT_STREQ(str, "Kill");
    str = "Refresh";
    EXPECT_TRUE(AfxExtractSubString(str, str, 0));
    EXPECT_STREQ(str, "Refresh");
}

TEST(StringFields, ASubstringIsFoundUpToTheVeryEnd)
{
    CString str("QUELLON.EXE");
    EXPECT_EQ(str.Find(".EXE"), 7) << "it ends the string";
    EXPECT_EQ(str.Find("QUELLON.EXE"), 0) << "it is the whole string";
    EXPECT_EQ(str.Find("QUELLON.EXE", 1), -1);
    EXPECT_EQ(str.Find("QUELLON.EXE."), -1);
    EXPECT_EQ(str.Find("E", 10), 10);
}

TEST(StringFields, AFormatMayTakeTheStringItselfAsItsArgument)
{
    // Long enough that the formatted text needs a new buffer.
    CString str(CString('x', 300) + "y");
    str.Format("%s-%s", str.GetString(), str.GetString());
    EXPECT_EQ(str.GetLength(), 603);
    EXPECT_EQ(str, CString('x', 300) + "y-" + CString('x', 300) + "y");
    CString small("ab");
    small.Format("[%s]", small.GetString());
    EXPECT_STREQ(small, "[ab]");
}

TEST(StringFields, LongFormattedTextsAreCutAndMemoryMovesOverlap)
{
    // wsprintf formats at most 1024 characters: a longer text is cut, and
    // nothing is written past it.
    CString str;
    str.Format("%s|%d", CString('x', 1500).GetString(), 7);
    EXPECT_GE(str.GetLength(), CString::kFormatLimit - 1);
    EXPECT_LE(str.GetLength(), CString::kFormatLimit);
    EXPECT_EQ(str, CString('x', str.GetLength()));
    str.Format("%lX %u %d  (%s)", 0xBEEFul, 4000000000u, -12, "High");
    EXPECT_STREQ(str, "BEEF 4000000000 -12  (High)");

    // The framework's memory functions, which the program has in place of
    // a C runtime's: overlapping moves either way, and ordered compares.
    char buf[] = "abcdefgh";
    std::memmove(buf + 2, buf, 5);
    EXPECT_STREQ(buf, "ababcdeh");
    std::memmove(buf, buf + 3, 5);
    EXPECT_STREQ(buf, "bcdehdeh");
    EXPECT_GT(std::memcmp("ab\x80", "ab\x7F", 3), 0) << "bytes compare unsigned";
    EXPECT_EQ(std::memcmp("abc", "abd", 2), 0);
}

TEST(StringFields, ADestroyedArrayHoldsNoElementsAndNoBlock)
{
    struct Bytes
    {
        void* pData;
        int nSize;
        int nMaxSize;
    };
    static_assert(sizeof(Bytes) == sizeof(CArray<int>),
                  "CArray holds a block, a size and a capacity");
    alignas(CArray<int>) unsigned char storage[sizeof(CArray<int>)];
    // Through a pointer that the compiler cannot follow, so that the bytes
    // are read as the destructor left them.
    unsigned char* volatile pStorage = storage;
    CArray<int>* pArray = new (pStorage) CArray<int>{1, 2, 3, 4, 5};
    pArray->~CArray();
    Bytes bytes;
    std::memcpy(&bytes, pStorage, sizeof bytes);
    EXPECT_EQ(bytes.pData, nullptr);
    EXPECT_EQ(bytes.nSize, 0);
    EXPECT_EQ(bytes.nMaxSize, 0);
}

// A list view that does not answer LVM_GETHEADER (as comctl32 4.00 is
// believed not to): it answers 0, as a window does to a message it lacks.
WNDPROC g_pfnListProc = nullptr;
LRESULT CALLBACK ListWithoutGetHeader(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == LVM_GETHEADER)
        return 0;
    return ::CallWindowProcA(g_pfnListProc, hWnd, nMsg, wParam, lParam);
}

TEST_F(FrameTest, WhereTheListDoesNotTellItsHeaderTheWidthsAreSavedAllTheSame)
{
    QuellonWindow w;
    CListCtrl& list = w.view->GetListCtrl();
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(list.m_hWnd, LVM_GETHEADER, 0, 0));
    ASSERT_NE(hHeader, nullptr);
    g_pfnListProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        list.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListWithoutGetHeader)));
    ASSERT_EQ(::SendMessageA(list.m_hWnd, LVM_GETHEADER, 0, 0), 0);
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    ASSERT_NE(pHeader, nullptr);
    EXPECT_EQ(pHeader->m_hWnd, hHeader) << "the list's child window of the header class";

    const int widths[] = {111, 52, 73, 64, 205};
    for (int i = 0; i < 5; ++i)
        list.SetColumnWidth(i, widths[i]);
    ::SendMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(w.Alive());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Stored(kGrid, ("col" + std::to_string(i)).c_str()), std::to_string(widths[i]));
}

TEST_F(FrameTest, ToolbarDocksAtEveryEdgeFloatsAndStartsAtTheTopNextTime)
{
    {
        QuellonWindow w;
        CToolBar& bar = w.frame->m_wndToolBar;
        RECT rcClient;
        ::GetClientRect(w.m_hWnd, &rcClient);
        RECT rc = ClientRectOf(bar.m_hWnd, w.m_hWnd);
        EXPECT_EQ(rc.top, 0);
        EXPECT_EQ(rc.left, 0);
        EXPECT_GT(rc.right - rc.left, rc.bottom - rc.top) << "horizontal at the top";

        w.frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
        rc = ClientRectOf(bar.m_hWnd, w.m_hWnd);
        EXPECT_EQ(rc.left, 0);
        EXPECT_GT(rc.bottom - rc.top, rc.right - rc.left) << "vertical at the left";
        RECT rcView = ClientRectOf(w.view->m_hWnd, w.m_hWnd);
        EXPECT_EQ(rcView.left, rc.right) << "the view makes room";

        w.frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT);
        rc = ClientRectOf(bar.m_hWnd, w.m_hWnd);
        EXPECT_EQ(rc.right, rcClient.right);

        w.frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_BOTTOM);
        rc = ClientRectOf(bar.m_hWnd, w.m_hWnd);
        RECT rcStatus = ClientRectOf(w.frame->m_wndStatusBar.m_hWnd, w.m_hWnd);
        EXPECT_EQ(rc.bottom, rcStatus.top) << "docked just above the status bar";

        w.frame->FloatControlBar(&bar, POINT{200, 300});
        HWND hParent = ::GetParent(bar.m_hWnd);
        EXPECT_NE(hParent, w.m_hWnd);
        EXPECT_TRUE(::GetWindowLongA(hParent, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(::IsWindowVisible(hParent));
        EXPECT_TRUE(MenuItemChecked(w.m_hWnd, 2, ID_VIEW_TOOLBAR));
        // Its buttons still reach the frame.
        EXPECT_TRUE(ToolbarButtonEnabled(w, ID_APP_ABOUT));
        // View > Toolbar hides the floating window, and shows it again.
        w.Command(ID_VIEW_TOOLBAR);
        EXPECT_FALSE(::IsWindowVisible(hParent));
        w.Command(ID_VIEW_TOOLBAR);
        EXPECT_TRUE(::IsWindowVisible(hParent));
        rcView = ClientRectOf(w.view->m_hWnd, w.m_hWnd);
        EXPECT_EQ(rcView.top, 0) << "the view takes the place of the floating bar";
        ::SendMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(w.Alive());
        EXPECT_FALSE(::IsWindow(hParent));
    }
    QuellonWindow w;
    RECT rc = ClientRectOf(w.frame->m_wndToolBar.m_hWnd, w.m_hWnd);
    EXPECT_EQ(rc.top, 0);
    EXPECT_TRUE(::IsWindowVisible(w.frame->m_wndToolBar.m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(w.frame->m_wndStatusBar.m_hWnd));
}

// A floating bar's style names no side: docked without an id, it goes to
// the top rather than nowhere.
TEST_F(FrameTest, AFloatingBarDockedWithoutASideGoesToTheTop)
{
    QuellonWindow w;
    CToolBar& bar = w.frame->m_wndToolBar;
    w.frame->FloatControlBar(&bar, POINT{200, 300});
    ASSERT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, 0u);
    w.frame->DockControlBar(&bar);
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_TOP));
    EXPECT_EQ(::GetParent(bar.m_hWnd), w.m_hWnd);
    RECT rc = ClientRectOf(bar.m_hWnd, w.m_hWnd);
    EXPECT_EQ(rc.top, 0);
    EXPECT_GT(rc.right - rc.left, rc.bottom - rc.top) << "horizontal";
    EXPECT_EQ(ClientRectOf(w.view->m_hWnd, w.m_hWnd).top, rc.bottom) << "the view makes room";
}

void MouseTo(POINT pt)
{
    ::SetCursorPos(pt.x, pt.y);
    PumpMessages(30);
}

TEST_F(FrameTest, ToolbarIsDraggedByItsGripperToAnotherEdge)
{
    QuellonWindow w;
    ::SetForegroundWindow(w.m_hWnd);
    CToolBar& bar = w.frame->m_wndToolBar;
    RECT rcBar;
    ::GetWindowRect(bar.m_hWnd, &rcBar);
    POINT grip = {rcBar.left + 4, (rcBar.top + rcBar.bottom) / 2};
    ASSERT_EQ(::SendMessageA(bar.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCAPTION);
    RECT rcView;
    ::GetWindowRect(w.view->m_hWnd, &rcView);
    POINT target = {rcView.left + 5, (rcView.top + rcView.bottom) / 2};

    // The drag runs its own loop; the pointer's path is fed to it as input.
    MouseTo(grip);
    ::PostMessageA(bar.m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(grip.x, grip.y));
    ::SetCursorPos(target.x, target.y);
    POINT client = target;
    ::ScreenToClient(bar.m_hWnd, &client);
    ::PostMessageA(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    ::PostMessageA(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    PumpMessages(200);

    RECT rc = ClientRectOf(bar.m_hWnd, w.m_hWnd);
    EXPECT_EQ(rc.left, 0);
    EXPECT_GT(rc.bottom - rc.top, rc.right - rc.left) << "docked at the left, vertical";
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
}

// ---------------------------------------------------------------------------
// Start-up checks

TEST_F(FrameTest, FirstStartWarnsOnceThenFillsTheList)
{
    ResetQuellonSettings(false);
    {
        QuellonWindow w;
        EXPECT_EQ(w.RowCount(), 0) << "no rows before the start-up timer";
        ASSERT_TRUE(PumpUntil([&] { return w.RowCount() > 0; }));
        ASSERT_EQ(TestApp().m_boxes.size(), 1u);
        EXPECT_EQ(TestApp().m_boxes[0].text,
                  "Quellon is for advanced users.\n\nTake care when killing programs that live\n"
                  "in the Windows folder or its sub-folders.");
        EXPECT_EQ(TestApp().m_boxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
        EXPECT_EQ(Stored(std::string(kQuellonKey) + "\\Newbie", "Start"), "0");
        PumpMessages(500); // the timer fired once
        EXPECT_EQ(TestApp().m_boxes.size(), 1u);
    }
    TestApp().m_boxes.clear();
    {
        QuellonWindow w;
        ASSERT_TRUE(PumpUntil([&] { return w.RowCount() > 0; }));
        EXPECT_TRUE(TestApp().m_boxes.empty()) << "the second start does not warn";
    }
    WriteRegistryText(HKEY_LOCAL_MACHINE, std::string(kQuellonKey) + "\\Newbie", "Start", "5");
    QuellonWindow w;
    ASSERT_TRUE(PumpUntil([&] { return w.RowCount() > 0; }));
    EXPECT_EQ(TestApp().m_boxes.size(), 1u);
    EXPECT_EQ(Stored(std::string(kQuellonKey) + "\\Newbie", "Start"), "0");
}

BOOL WINAPI FailingGetVersionExA(LPOSVERSIONINFOA)
{
    return FALSE;
}

TEST_F(FrameTest, AFailingVersionQueryRefusesAndCloses)
{
    ScopedProcessPlatform platform;
    g_processPlatform.pfnGetVersionExA = FailingGetVersionExA;
    QuellonWindow w;
    bool bClosed = PumpUntil([&] { return !w.Alive(); });
    EXPECT_TRUE(bClosed);
    ASSERT_EQ(TestApp().m_boxes.size(), 1u);
    EXPECT_EQ(TestApp().m_boxes[0].text, "Quellon is not designed for NT or Win2K");
    EXPECT_EQ(Stored(std::string(kQuellonKey) + "\\Newbie", "Start"), "0") << "no warning either";
}

// A kernel without Tool Help (Windows NT 4.0's) on a platform that says it is
// of the Windows 95 family: nothing calls the missing functions, Refresh
// does nothing, and the start-up refuses and closes the normal way.
TEST_F(FrameTest, WithoutToolHelpTheStartUpRefusesNeverListsAndCloses)
{
    ScopedProcessPlatform platform;
    ASSERT_TRUE(g_processPlatform.HasToolHelp());
    g_processPlatform.pfnCreateToolhelp32Snapshot = nullptr;
    g_processPlatform.pfnProcess32First = nullptr;
    g_processPlatform.pfnProcess32Next = nullptr;
    g_processPlatform.pfnModule32First = nullptr;
    g_processPlatform.pfnModule32Next = nullptr;
    ASSERT_FALSE(g_processPlatform.HasToolHelp());
    QuellonWindow w;
    w.Command(ID_VIEW_REFRESH);
    EXPECT_EQ(MostRowsUntilClosed(w), 0) << "closed, the list never filled";
    ASSERT_EQ(TestApp().m_boxes.size(), 1u);
    EXPECT_EQ(TestApp().m_boxes[0].text, "Quellon is not designed for NT or Win2K");
    std::string text;
    EXPECT_TRUE(
        ReadRegistryText(HKEY_LOCAL_MACHINE, std::string(kQuellonKey) + "\\Grid", "col0", &text))
        << "closed the normal way, column widths saved";
}

} // namespace
