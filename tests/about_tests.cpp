// The About box and its hyperlink control: the link's decisions on their
// own, then real links under Wine, with the shell's handlers of the mailto
// and http protocols pointed at a copy of the helper that records the URL
// it is started with.
#include "TestSupport.h"

#include "AboutDlg.h"
#include "LinkLogic.h"
#include "StaticLink.h"
#include "resource.h"

#include <algorithm>
#include <set>

namespace {

// ---------------------------------------------------------------------------
// The link's decisions

struct LinkState
{
    const char* name;
    BOOL bCaptured;
    BOOL bLaunchPending;
};
const LinkState kIdle = {"Idle", FALSE, FALSE};
const LinkState kHover = {"Hover", TRUE, FALSE};
const LinkState kQuiet = {"Quiet", FALSE, TRUE};

TEST(AboutLinkLogic, PointerMovesCaptureAndReleaseOnlyOutsideTheQuietPeriod)
{
    struct Row
    {
        LinkState from;
        BOOL bInside;
        LinkPointerAction action;
        LinkState to;
    };
    const Row rows[] = {
        {kIdle, TRUE, LinkPointerEnter, kHover}, {kIdle, FALSE, LinkPointerNone, kIdle},
        {kHover, TRUE, LinkPointerNone, kHover}, {kHover, FALSE, LinkPointerLeave, kIdle},
        {kQuiet, TRUE, LinkPointerNone, kQuiet}, {kQuiet, FALSE, LinkPointerNone, kQuiet},
    };
    for (const Row& r : rows) {
        BOOL bCaptured = r.from.bCaptured;
        EXPECT_EQ(LinkPointerMove(bCaptured, r.from.bLaunchPending, r.bInside), r.action)
            << r.from.name << (r.bInside ? " + inside" : " + outside");
        EXPECT_EQ(bCaptured, r.to.bCaptured) << r.from.name << " -> " << r.to.name;
    }
}

TEST(AboutLinkLogic, ClickStartsTheQuietPeriodWhichOnlyItsOwnTimerEnds)
{
    for (const LinkState& from : {kIdle, kHover, kQuiet}) {
        BOOL bCaptured = from.bCaptured, bLaunchPending = from.bLaunchPending;
        LinkClicked(bCaptured, bLaunchPending);
        EXPECT_FALSE(bCaptured) << from.name << " + click";
        EXPECT_TRUE(bLaunchPending) << from.name << " + click";
    }
    struct Row
    {
        LinkState from;
        UINT_PTR nIDEvent;
        bool bEnded;
        LinkState to;
    };
    const Row rows[] = {
        {kQuiet, 102, true, kIdle},
        {kQuiet, 101, false, kQuiet},
        {kQuiet, 1, false, kQuiet},
        {kHover, 103, false, kHover},
    };
    for (const Row& r : rows) {
        BOOL bLaunchPending = r.from.bLaunchPending;
        EXPECT_EQ(LinkTimer(r.nIDEvent, bLaunchPending), r.bEnded)
            << r.from.name << " + timer " << r.nIDEvent;
        EXPECT_EQ(bLaunchPending, r.to.bLaunchPending) << r.from.name << " -> " << r.to.name;
    }
}

TEST(AboutLinkLogic, LeftAndTopEdgesAreInsideRightAndBottomEdgesOutside)
{
    const RECT rc = {0, 0, 120, 16};
    const struct
    {
        POINT pt;
        bool bInside;
    } cases[] = {
        {{0, 0}, true},    {{119, 15}, true},  {{60, 8}, true},  {{120, 8}, false},
        {{60, 16}, false}, {{120, 16}, false}, {{-1, 8}, false}, {{60, -1}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsInsideClient(rc, c.pt), c.bInside) << c.pt.x << "," << c.pt.y;
}

TEST(AboutLinkLogic, OnlyTheContactAddressGetsOneMailtoPrefix)
{
    const std::string email = QUELLON_CONTACT_EMAIL;
    const std::pair<std::string, std::string> cases[] = {
        {email, "mailto:" + email},
        {"mailto:" + email, "mailto:" + email},
        {"x" + std::string(kContactMarker) + "y", "mailto:x" + std::string(kContactMarker) + "y"},
        {QUELLON_WEB_ADDRESS, QUELLON_WEB_ADDRESS},
        {"someone@corvanel.example", "someone@corvanel.example"},
        {"", ""},
    };
    for (const auto& c : cases) {
        CString strOnce = ShellTarget(c.first.c_str());
        EXPECT_EQ(std::string(strOnce.GetString()), c.second) << '"' << c.first << '"';
        EXPECT_EQ(std::string(ShellTarget(strOnce).GetString()), c.second)
            << "again for \"" << c.first << '"';
    }
}

TEST(AboutLinkLogic, ColourAndKindOfStatic)
{
    const COLORREF crUnvisited = RGB(1, 2, 3), crVisited = RGB(4, 5, 6);
    EXPECT_EQ(LinkTextColor(0, crUnvisited, crVisited), crUnvisited);
    EXPECT_EQ(LinkTextColor(1, crUnvisited, crVisited), crVisited);
    EXPECT_EQ(LinkTextColor(2, crUnvisited, crVisited), crUnvisited);
    EXPECT_EQ(LinkTextColor(-1, crUnvisited, crVisited), crUnvisited);

    for (DWORD dwStyle :
         {SS_LEFT, SS_CENTER, SS_RIGHT, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_RIGHT})
        EXPECT_TRUE(IsTextStatic(dwStyle)) << std::hex << dwStyle;
    for (DWORD dwStyle : {SS_ICON, SS_BLACKRECT, SS_SIMPLE, SS_LEFTNOWORDWRAP, SS_OWNERDRAW,
                          SS_BITMAP, WS_CHILD | SS_NOTIFY | SS_ICON})
        EXPECT_FALSE(IsTextStatic(dwStyle)) << std::hex << dwStyle;
}

// ---------------------------------------------------------------------------
// Real controls

// What a control shows once painted: the pixels in the two link colours,
// and the longest horizontal run of either within one row (the underline
// spans the text) against the width the coloured pixels cover.
struct Painted
{
    int nUnvisited = 0;
    int nVisited = 0;
    int nLongestRun = 0;
    int nTextWidth = 0;
};

Painted Paint(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Painted p;
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    const int cx = rc.right, cy = rc.bottom;
    HDC hdc = ::GetDC(hWnd);
    HDC hMem = ::CreateCompatibleDC(hdc);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hbm = ::CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hbm != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hMem, hbm);
        ::BitBlt(hMem, 0, 0, cx, cy, hdc, 0, 0, SRCCOPY);
        ::GdiFlush();
        const DWORD* pPixels = static_cast<const DWORD*>(pBits);
        int xMin = cx, xMax = -1;
        for (int y = 0; y < cy; ++y) {
            int nRun = 0;
            for (int x = 0; x < cx; ++x) {
                DWORD px = pPixels[y * cx + x] & 0xFFFFFF; // 0x00RRGGBB
                bool bUnvisited = px == 0x0000FF, bVisited = px == 0x800080;
                p.nUnvisited += bUnvisited;
                p.nVisited += bVisited;
                if (bUnvisited || bVisited) {
                    xMin = std::min(xMin, x);
                    xMax = std::max(xMax, x);
                    p.nLongestRun = std::max(p.nLongestRun, ++nRun);
                } else {
                    nRun = 0;
                }
            }
        }
        p.nTextWidth = xMax - xMin + 1;
        ::SelectObject(hMem, hOld);
        ::DeleteObject(hbm);
    }
    ::DeleteDC(hMem);
    ::ReleaseDC(hWnd, hdc);
    return p;
}

void ExpectLinkColour(HWND hWnd, bool bVisited, const char* what)
{
    Painted p = Paint(hWnd);
    EXPECT_GT(bVisited ? p.nVisited : p.nUnvisited, 0) << what << " is not drawn in its colour";
    EXPECT_EQ(bVisited ? p.nUnvisited : p.nVisited, 0) << what << " shows the other colour";
    EXPECT_GE(p.nLongestRun * 10, p.nTextWidth * 9)
        << what << " is not underlined: longest run " << p.nLongestRun << " of " << p.nTextWidth;
}

BOOL CALLBACK AddVisibleWindow(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd))
        reinterpret_cast<std::set<HWND>*>(lParam)->insert(hWnd);
    return TRUE;
}

// The top-level windows on the screen, of every process.
std::set<HWND> VisibleWindows()
{
    std::set<HWND> windows;
    ::EnumWindows(AddVisibleWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Keeps the mouse pointer away from the windows of the tests, so that only
// the messages a test sends move it over a link.
void ParkPointer()
{
    ::SetCursorPos(1010, 750);
}

// A framework window holding static controls, which it reflects the
// controls' notifications and colour requests to, as a dialog does.
class StaticHost
{
public:
    explicit StaticHost(bool bVisible)
    {
        m_host.CreateEx(0, nullptr, "Link host",
                        WS_POPUP | WS_CAPTION | (bVisible ? WS_VISIBLE : 0), 560, 80, 400, 160,
                        nullptr, nullptr);
    }
    HWND Add(UINT nID, DWORD dwStyle, const char* pszText)
    {
        HWND hWnd = ::CreateWindowExA(0, "STATIC", pszText, WS_CHILD | WS_VISIBLE | dwStyle, 10,
                                      10 + 30 * static_cast<int>(nID % 4), 360, 20, m_host.m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                                      AfxGetInstanceHandle(), nullptr);
        HGDIOBJ hFont = ::GetStockObject(DEFAULT_GUI_FONT);
        ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        return hWnd;
    }
    // What a click on a control with the notify style sends to its parent.
    void Click(HWND hCtrl)
    {
        ::SendMessageA(m_host.m_hWnd, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hCtrl), STN_CLICKED),
                       reinterpret_cast<LPARAM>(hCtrl));
    }
    HWND Hwnd() const { return m_host.m_hWnd; }

private:
    CWnd m_host;
};

struct DcState
{
    COLORREF crText;
    int nBkMode;
    HGDIOBJ hFont;
};
DcState StateOf(HDC hdc)
{
    return {::GetTextColor(hdc), ::GetBkMode(hdc), ::GetCurrentObject(hdc, OBJ_FONT)};
}

TEST(AboutLinkControl, ColourRequestUnderlinesAndColoursTextStaticsAndLeavesOthersAlone)
{
    StaticHost host(false);
    ASSERT_NE(host.Hwnd(), nullptr);
    int nVisited = 0;
    CStaticLink text, icon;
    text.m_pVisited = icon.m_pVisited = &nVisited;
    HWND hText = host.Add(1, SS_CENTER, "help@corvanel.example");
    HWND hIcon = host.Add(2, SS_ICON, "");
    ASSERT_TRUE(text.SubclassWindow(hText));
    ASSERT_TRUE(icon.SubclassWindow(hIcon));
    EXPECT_EQ(text.m_fontUnderline.m_hObject, nullptr) << "a font before the first paint";

    HDC hdc = ::CreateCompatibleDC(nullptr);
    LRESULT lResult = 0;
    ASSERT_TRUE(CWnd::ReflectMessage(hText, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(hText), &lResult));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(lResult), ::GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(text.GetStyle() & SS_NOTIFY);
    EXPECT_EQ(text.GetStyle() & 0xFF, static_cast<DWORD>(SS_CENTER));
    DcState dc = StateOf(hdc);
    EXPECT_EQ(dc.crText, RGB(0, 0, 255));
    EXPECT_EQ(dc.nBkMode, TRANSPARENT);
    ASSERT_NE(text.m_fontUnderline.m_hObject, nullptr);
    EXPECT_EQ(dc.hFont, text.m_fontUnderline.m_hObject);
    LOGFONTA lfLink, lfControl;
    ASSERT_NE(::GetObjectA(dc.hFont, sizeof lfLink, &lfLink), 0);
    ASSERT_NE(::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lfControl, &lfControl), 0);
    EXPECT_EQ(lfLink.lfUnderline, 1);
    EXPECT_EQ(lfLink.lfHeight, lfControl.lfHeight);
    EXPECT_EQ(lfLink.lfWeight, lfControl.lfWeight);
    EXPECT_STREQ(lfLink.lfFaceName, lfControl.lfFaceName);

    // Opened: the visited colour, with the same font as before.
    nVisited = 1;
    HGDIOBJ hFirstFont = text.m_fontUnderline.m_hObject;
    ASSERT_TRUE(CWnd::ReflectMessage(hText, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(hText), &lResult));
    EXPECT_EQ(::GetTextColor(hdc), RGB(128, 0, 128));
    EXPECT_EQ(text.m_fontUnderline.m_hObject, hFirstFont);
    EXPECT_EQ(::GetCurrentObject(hdc, OBJ_FONT), hFirstFont);

    // An icon: no brush, so the parent answers; the device context is left
    // as it was, but clicks are reported from now on.
    ::SelectObject(hdc, ::GetStockObject(ANSI_FIXED_FONT));
    ::SetTextColor(hdc, RGB(10, 20, 30));
    ::SetBkMode(hdc, OPAQUE);
    DcState before = StateOf(hdc);
    lResult = 12345;
    EXPECT_FALSE(CWnd::ReflectMessage(hIcon, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                      reinterpret_cast<LPARAM>(hIcon), &lResult));
    EXPECT_EQ(lResult, 12345);
    DcState after = StateOf(hdc);
    EXPECT_EQ(after.crText, before.crText);
    EXPECT_EQ(after.nBkMode, before.nBkMode);
    EXPECT_EQ(after.hFont, before.hFont);
    EXPECT_EQ(icon.m_fontUnderline.m_hObject, nullptr);
    EXPECT_TRUE(icon.GetStyle() & SS_NOTIFY);
    EXPECT_EQ(icon.GetStyle() & 0xFF, static_cast<DWORD>(SS_ICON));
    ::DeleteDC(hdc);
}

TEST(AboutLinkControl, FailedLaunchOnlyBeeps)
{
    const std::string missing = TestDir("about") + "\\no-such-file.txt";
    ::DeleteFileA(missing.c_str());
    ParkPointer();
    StaticHost host(true);
    ASSERT_NE(host.Hwnd(), nullptr);
    int nVisited = 0;
    CStaticLink file, scheme;
    file.m_pVisited = scheme.m_pVisited = &nVisited;
    ASSERT_TRUE(file.SubclassWindow(host.Add(1, SS_LEFT, missing.c_str())));
    ASSERT_TRUE(scheme.SubclassWindow(host.Add(2, SS_LEFT, "quellon-no-such-scheme:help")));
    PumpMessages(200);
    size_t nBoxes = TestApp().m_boxes.size();
    std::set<HWND> windows = VisibleWindows();

    for (CStaticLink* pLink : {&file, &scheme}) {
        ExpectLinkColour(pLink->m_hWnd, false, "before the click");
        host.Click(pLink->m_hWnd);
        EXPECT_TRUE(pLink->m_bLaunchPending) << "the quiet period begins all the same";
        PumpMessages(500);
        EXPECT_EQ(nVisited, 0);
        ExpectLinkColour(pLink->m_hWnd, false, "after the failed launch");
    }
    EXPECT_EQ(std::string(file.m_strTarget.GetString()), missing);
    EXPECT_EQ(TestApp().m_boxes.size(), nBoxes) << "a message box was shown";
    EXPECT_EQ(VisibleWindows(), windows) << "a window came or went";
}

// ---------------------------------------------------------------------------
// The About box

// The shell's open command of a URL protocol, pointed at a recorder for the
// lifetime of the object; the prefix's own command comes back afterwards.
class ProtocolRecorder
{
public:
    ProtocolRecorder(const std::string& protocol, const std::string& recorder)
        : m_protocol(protocol), m_key(protocol + "\\shell\\open\\command"),
          m_file(TestDir("about") + "\\" + protocol + ".txt")
    {
        m_bHadProtocol = RegistryKeyExists(HKEY_CLASSES_ROOT, m_protocol);
        HKEY hKey;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, m_key.c_str(), 0, KEY_READ, &hKey) ==
            ERROR_SUCCESS) {
            m_old.resize(4096);
            DWORD cb = static_cast<DWORD>(m_old.size());
            m_bHadCommand = ::RegQueryValueExA(hKey, nullptr, nullptr, &m_dwOldType, m_old.data(),
                                               &cb) == ERROR_SUCCESS;
            m_old.resize(m_bHadCommand ? cb : 0);
            ::RegCloseKey(hKey);
        }
        m_command = "\"" + recorder + "\" --record " + m_file + " \"%1\"";
        std::string installed;
        m_bInstalled = WriteRegistryText(HKEY_CLASSES_ROOT, m_key, "", m_command) &&
                       ReadRegistryText(HKEY_CLASSES_ROOT, m_key, "", &installed) &&
                       installed == m_command;
    }
    ~ProtocolRecorder()
    {
        if (!m_bHadProtocol) {
            DeleteRegistryTree(HKEY_CLASSES_ROOT, m_protocol);
        } else if (m_bHadCommand) {
            WriteRegistryValue(HKEY_CLASSES_ROOT, m_key, "", m_dwOldType, m_old.data(),
                               static_cast<DWORD>(m_old.size()));
        } else {
            HKEY hKey;
            if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, m_key.c_str(), 0, KEY_SET_VALUE, &hKey) ==
                ERROR_SUCCESS) {
                ::RegDeleteValueA(hKey, nullptr);
                ::RegCloseKey(hKey);
            }
        }
        ::DeleteFileA(m_file.c_str());
    }
    ProtocolRecorder(const ProtocolRecorder&) = delete;
    ProtocolRecorder& operator=(const ProtocolRecorder&) = delete;

    bool Installed() const { return m_bInstalled; }
    // Removes the last record; false while the recorder still writes it.
    bool Clear() const
    {
        return ::DeleteFileA(m_file.c_str()) ||
               ::GetFileAttributesA(m_file.c_str()) == INVALID_FILE_ATTRIBUTES;
    }
    // The URL the recorder was started with, once written; else empty.
    std::string Recorded() const
    {
        std::string text;
        return ReadTextFile(m_file, &text) ? text : std::string();
    }

private:
    std::string m_protocol, m_key, m_file, m_command;
    bool m_bHadProtocol = false, m_bHadCommand = false, m_bInstalled = false;
    DWORD m_dwOldType = REG_SZ;
    std::vector<BYTE> m_old;
};

// The About box as the Help menu's command shows it.
struct AboutBox
{
    HWND hDlg = nullptr;
    HWND hEmail = nullptr, hWeb = nullptr;
    CStaticLink* pEmail = nullptr;
    CStaticLink* pWeb = nullptr;

    static CStaticLink* LinkOf(HWND hWnd)
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CStaticLink))
                   ? static_cast<CStaticLink*>(pWnd)
                   : nullptr;
    }
    // Whether the box is up, with both links in place and painted.
    bool Find()
    {
        hDlg = FindDialog("About Quellon");
        if (hDlg == nullptr)
            return false;
        hEmail = ::GetDlgItem(hDlg, IDC_EMAILLINK);
        hWeb = ::GetDlgItem(hDlg, IDC_WEBLINK);
        pEmail = LinkOf(hEmail);
        pWeb = LinkOf(hWeb);
        EXPECT_NE(pEmail, nullptr) << "the e-mail address is not a link";
        EXPECT_NE(pWeb, nullptr) << "the web address is not a link";
        if (pEmail == nullptr || pWeb == nullptr)
            return false;
        ::UpdateWindow(hDlg);
        return true;
    }
    // What a click on a link sends to the box.
    void Click(HWND hLink)
    {
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hLink), STN_CLICKED),
                       reinterpret_cast<LPARAM>(hLink));
    }
    void Close() { ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0); }
};

INT_PTR ShowAbout(const std::vector<std::function<bool()>>& steps)
{
    return RunModal(
        [] {
            TestApp().OnAppAbout();
            return static_cast<INT_PTR>(IDOK);
        },
        steps);
}

class AboutBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string recorder = PlaceHelper("about", "linkrecorder.exe");
        mailto.reset(new ProtocolRecorder("mailto", recorder));
        http.reset(new ProtocolRecorder("http", recorder));
        // Without the recorders a click would start the prefix's browser.
        ASSERT_TRUE(mailto->Installed());
        ASSERT_TRUE(http->Installed());
        ASSERT_TRUE(mailto->Clear());
        ASSERT_TRUE(http->Clear());
        TestApp().m_bEmailVisited = 0;
        TestApp().m_bWebVisited = 0;
        ParkPointer();
    }
    void TearDown() override
    {
        // Every recorder has finished before its registry entry goes.
        PumpUntil([this] { return mailto == nullptr || mailto->Clear(); }, 5000);
        PumpUntil([this] { return http == nullptr || http->Clear(); }, 5000);
        mailto.reset();
        http.reset();
        ParkPointer();
    }

    // Two steps: click a link (after removing the last record), then wait
    // for what the shell started the recorder with.
    void ClickAndRecord(std::vector<std::function<bool()>>& steps, AboutBox& box,
                        HWND AboutBox::*phLink, const ProtocolRecorder& recorder,
                        std::vector<std::string>& records)
    {
        steps.push_back([&box, phLink, &recorder] {
            if (!recorder.Clear())
                return false;
            box.Click(box.*phLink);
            return true;
        });
        steps.push_back([&recorder, &records] {
            std::string text = recorder.Recorded();
            if (text.empty())
                return false;
            records.push_back(text);
            return true;
        });
    }

    std::unique_ptr<ProtocolRecorder> mailto, http;
};

TEST_F(AboutBoxTest, EmailLinkOpensMailtoAndTheAddressEveryTimeWebLinkItsText)
{
    AboutBox box;
    std::vector<std::string> mails, webs;
    std::vector<std::function<bool()>> steps;
    steps.push_back([&] { return box.Find(); });
    // The first time with the mouse: the link reports clicks once painted.
    steps.push_back([&] {
        EXPECT_TRUE(::GetWindowLongA(box.hEmail, GWL_STYLE) & SS_NOTIFY);
        RECT rc;
        ::GetWindowRect(box.hEmail, &rc);
        ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        return true;
    });
    steps.push_back([&] {
        std::string text = mailto->Recorded();
        if (text.empty())
            return false;
        mails.push_back(text);
        ParkPointer();
        return true;
    });
    ClickAndRecord(steps, box, &AboutBox::hEmail, *mailto, mails);
    ClickAndRecord(steps, box, &AboutBox::hEmail, *mailto, mails);
    ClickAndRecord(steps, box, &AboutBox::hWeb, *http, webs);
    steps.push_back([&] {
        EXPECT_EQ(std::string(box.pEmail->m_strTarget.GetString()), QUELLON_CONTACT_EMAIL);
        EXPECT_EQ(std::string(box.pWeb->m_strTarget.GetString()), QUELLON_WEB_ADDRESS);
        box.Close();
        return true;
    });
    ShowAbout(steps);

    const std::string mail = std::string("mailto:") + QUELLON_CONTACT_EMAIL;
    EXPECT_EQ(mails, std::vector<std::string>({mail, mail, mail}));
    EXPECT_EQ(webs, std::vector<std::string>({QUELLON_WEB_ADDRESS}));
    EXPECT_EQ(TestApp().m_bEmailVisited, 1);
    EXPECT_EQ(TestApp().m_bWebVisited, 1);
}

TEST_F(AboutBoxTest, OpenedLinkIsPurpleForTheRestOfTheRunTheOtherStaysBlue)
{
    AboutBox box;
    std::vector<std::string> mails;
    std::vector<std::function<bool()>> steps;
    steps.push_back([&] {
        if (!box.Find())
            return false;
        EXPECT_EQ(box.pEmail->m_pVisited, &TestApp().m_bEmailVisited);
        EXPECT_EQ(box.pWeb->m_pVisited, &TestApp().m_bWebVisited);
        ExpectLinkColour(box.hEmail, false, "new e-mail link");
        ExpectLinkColour(box.hWeb, false, "new web link");
        return true;
    });
    ClickAndRecord(steps, box, &AboutBox::hEmail, *mailto, mails);
    steps.push_back([&] {
        EXPECT_EQ(TestApp().m_bEmailVisited, 1);
        EXPECT_EQ(TestApp().m_bWebVisited, 0);
        // The click invalidated the link: painting what is pending is enough.
        ::UpdateWindow(box.hEmail);
        ExpectLinkColour(box.hEmail, true, "opened e-mail link");
        ExpectLinkColour(box.hWeb, false, "web link");
        box.Close();
        return true;
    });
    ShowAbout(steps);
    EXPECT_EQ(mails.size(), 1u);

    AboutBox again;
    ShowAbout({[&] {
        if (!again.Find())
            return false;
        ExpectLinkColour(again.hEmail, true, "e-mail link opened before");
        ExpectLinkColour(again.hWeb, false, "web link never opened");
        again.Close();
        return true;
    }});
}

TEST_F(AboutBoxTest, PointerOverTheLinkTakesTheCaptureAndShowsTheHandExceptJustAfterAClick)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(IDC_LINKHAND), RT_GROUP_CURSOR);
    HCURSOR hHand = ::LoadCursorA(hInst, MAKEINTRESOURCEA(IDC_LINKHAND));
    HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(hHand, nullptr);
    ICONINFO ii = {};
    ASSERT_TRUE(::GetIconInfo(hHand, &ii));
    EXPECT_FALSE(ii.fIcon);
    EXPECT_EQ(ii.xHotspot, 0u);
    EXPECT_EQ(ii.yHotspot, 0u);
    BITMAP bm = {};
    ::GetObjectA(ii.hbmColor != nullptr ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(ii.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2, 32);
    if (ii.hbmColor != nullptr)
        ::DeleteObject(ii.hbmColor);
    ::DeleteObject(ii.hbmMask);

    AboutBox box;
    std::vector<std::string> webs;
    DWORD dwClicked = 0;
    auto move = [&](int x, int y) { ::SendMessageA(box.hWeb, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };
    std::vector<std::function<bool()>> steps;
    steps.push_back([&] { return box.Find(); });
    steps.push_back([&] {
        RECT rc;
        ::GetClientRect(box.hWeb, &rc);
        EXPECT_NE(::GetCapture(), box.hWeb);
        move(rc.right / 2, rc.bottom / 2);
        EXPECT_EQ(::GetCapture(), box.hWeb) << "entering";
        EXPECT_EQ(::GetCursor(), hHand) << "entering";
        move(rc.right - 1, rc.bottom - 1);
        EXPECT_EQ(::GetCapture(), box.hWeb) << "last pixel inside";
        move(rc.right, rc.bottom / 2);
        EXPECT_EQ(::GetCapture(), nullptr) << "x at the client width";
        EXPECT_EQ(::GetCursor(), hArrow) << "leaving";
        move(0, 0);
        EXPECT_EQ(::GetCapture(), box.hWeb) << "top left corner";
        move(rc.right / 2, rc.bottom);
        EXPECT_EQ(::GetCapture(), nullptr) << "y at the client height";
        move(rc.right / 2, rc.bottom / 2);
        EXPECT_EQ(::GetCapture(), box.hWeb) << "entering again";

        // A click gives the capture up, and for a second moves change nothing.
        dwClicked = ::GetTickCount();
        box.Click(box.hWeb);
        EXPECT_EQ(::GetCapture(), nullptr) << "after the click";
        EXPECT_EQ(::GetCursor(), hArrow) << "after the click";
        move(rc.right / 2, rc.bottom / 2);
        EXPECT_EQ(::GetCapture(), nullptr) << "moving right after the click";
        return true;
    });
    // (Half a second after the click whether or not the launched program
    // has started yet: on a busy machine that can take longer than the
    // quiet period.)
    steps.push_back([&] {
        if (::GetTickCount() - dwClicked < 500)
            return false;
        EXPECT_TRUE(box.pWeb->m_bLaunchPending);
        move(5, 5);
        EXPECT_EQ(::GetCapture(), nullptr) << "moving half a second after the click";
        return true;
    });
    steps.push_back([&] {
        std::string text = http->Recorded();
        if (text.empty() || box.pWeb->m_bLaunchPending)
            return false;
        webs.push_back(text);
        EXPECT_GE(::GetTickCount() - dwClicked, 950u) << "the quiet period ended early";
        move(5, 5);
        EXPECT_EQ(::GetCapture(), box.hWeb) << "after the quiet period";
        EXPECT_EQ(::GetCursor(), hHand);
        move(-1, 5);
        EXPECT_EQ(::GetCapture(), nullptr);
        box.Close();
        return true;
    });
    ShowAbout(steps);
    EXPECT_EQ(webs, std::vector<std::string>({QUELLON_WEB_ADDRESS}));
}

} // namespace
