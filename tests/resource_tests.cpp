// The resources of the built Quellon.exe compared with the command table:
// menu, accelerator keys, toolbar, strings, images, dialogs and version.
#include "TestSupport.h"

#include "resource.h"

#include <cstring>

namespace {

class ResourceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        hExe = ::LoadLibraryExA(QuellonExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        if (hExe != nullptr)
            ::FreeLibrary(hExe);
    }
    void SetUp() override { ASSERT_NE(hExe, nullptr) << "cannot load " << QuellonExePath(); }

    static std::string String(UINT id)
    {
        char buf[1024];
        int n = ::LoadStringA(hExe, id, buf, sizeof buf);
        return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "<missing>";
    }
    static std::vector<BYTE> Raw(LPCSTR name, LPCSTR type)
    {
        HRSRC hRsrc = ::FindResourceA(hExe, name, type);
        if (hRsrc == nullptr)
            return {};
        const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(hExe, hRsrc)));
        return std::vector<BYTE>(p, p + ::SizeofResource(hExe, hRsrc));
    }

    static HMODULE hExe;
};
HMODULE ResourceTest::hExe = nullptr;

struct MenuEntry
{
    UINT id; // 0 for a separator
    const char* text;
};

TEST_F(ResourceTest, MenuHasTheFourPopUpsAndTheirItemsInOrder)
{
    HMENU hMenu = ::LoadMenuA(hExe, MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(hMenu, nullptr);
    const char* popups[] = {"&File", "&Process", "&View", "&Help"};
    const std::vector<std::vector<MenuEntry>> items = {
        {{ID_APP_EXIT, "E&xit"}},
        {{ID_PROCESS_KILL, "&Kill Selected Process\tF8"},
         {ID_PROCESS_KILLFAVORITES, "Kill &Favorite Processes\tF9"},
         {ID_PROCESS_KILLFAVORITESEXIT, "Kill Favorite Processes and E&xit\tF10"},
         {0, ""},
         {ID_PROCESS_EDITFAVORITES, "&Edit Favorites...\tF2"}},
        {{ID_VIEW_REFRESH, "&Refresh\tF5"},
         {0, ""},
         {ID_VIEW_TOOLBAR, "&Toolbar"},
         {ID_VIEW_STATUS_BAR, "&Status Bar"}},
        {{ID_APP_ABOUT, "&About Quellon..."}},
    };
    ASSERT_EQ(::GetMenuItemCount(hMenu), 4);
    for (int p = 0; p < 4; ++p) {
        char text[128];
        ::GetMenuStringA(hMenu, p, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, popups[p]);
        HMENU hPopup = ::GetSubMenu(hMenu, p);
        ASSERT_NE(hPopup, nullptr);
        const auto& expected = items[static_cast<size_t>(p)];
        ASSERT_EQ(::GetMenuItemCount(hPopup), static_cast<int>(expected.size())) << popups[p];
        for (size_t i = 0; i < expected.size(); ++i) {
            MENUITEMINFOA mii = {};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_TYPE | MIIM_ID;
            char itemText[128] = "";
            mii.dwTypeData = itemText;
            mii.cch = sizeof itemText;
            ASSERT_TRUE(::GetMenuItemInfoA(hPopup, static_cast<UINT>(i), TRUE, &mii));
            if (expected[i].id == 0) {
                EXPECT_TRUE(mii.fType & MFT_SEPARATOR) << popups[p] << " item " << i;
            } else {
                EXPECT_EQ(mii.wID, expected[i].id) << popups[p] << " item " << i;
                EXPECT_STREQ(itemText, expected[i].text);
            }
        }
    }
    ::DestroyMenu(hMenu);
}

TEST_F(ResourceTest, AcceleratorTableHasTheEightKeysInOrder)
{
    HACCEL hAccel = ::LoadAcceleratorsA(hExe, MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(hAccel, nullptr);
    ACCEL table[16];
    int n = ::CopyAcceleratorTableA(hAccel, table, 16);
    const ACCEL expected[] = {
        {FVIRTKEY | FNOINVERT | FCONTROL, 'S', ID_FILE_SAVE},
        {FVIRTKEY | FNOINVERT, VK_F10, ID_PROCESS_KILLFAVORITESEXIT},
        {FVIRTKEY | FNOINVERT, VK_F2, ID_PROCESS_EDITFAVORITES},
        {FVIRTKEY | FNOINVERT, VK_F5, ID_VIEW_REFRESH},
        {FVIRTKEY | FNOINVERT, VK_F6, ID_NEXT_PANE},
        {FVIRTKEY | FNOINVERT | FSHIFT, VK_F6, ID_PREV_PANE},
        {FVIRTKEY | FNOINVERT, VK_F8, ID_PROCESS_KILL},
        {FVIRTKEY | FNOINVERT, VK_F9, ID_PROCESS_KILLFAVORITES},
    };
    ASSERT_EQ(n, 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(table[i].fVirt & 0x7F, expected[i].fVirt) << "entry " << i;
        EXPECT_EQ(table[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ(table[i].cmd, expected[i].cmd) << "entry " << i;
    }
    ::DestroyAcceleratorTable(hAccel);
}

TEST_F(ResourceTest, StringsGivePromptsTooltipsAndTheFrameworkTexts)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDR_MAINFRAME, "Quellon\n\nQuello\n\n\nQuellon.Document\nQuello Document"},
        {AFX_IDS_APP_TITLE, "Quellon"},
        {AFX_IDS_IDLEMESSAGE, "Ready"},
        {ID_INDICATOR_KILL, "          "},
        {ID_APP_EXIT, "Quit the application\nExit"},
        {ID_PROCESS_KILL, "Kill Selected\nKill Selected"},
        {ID_PROCESS_KILLFAVORITES, "Kill Favorites\nKill Favorites"},
        {ID_PROCESS_KILLFAVORITESEXIT, "Kill Favorites and Exit\nKill Favorites and Exit"},
        {ID_PROCESS_EDITFAVORITES, "Favorites\nFavorites"},
        {ID_VIEW_REFRESH, "Refresh\nRefresh"},
        {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
        {ID_APP_ABOUT, "Display information and copyright\nAbout"},
        {ID_FILE_SAVE, "Save the active document\nSave"},
        {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
        {ID_PREV_PANE, "Previous window pane\nPrevious Pane"},
        {61184, "Change the window size"},
        {61185, "Change the window position"},
        {61186, "Reduce the window to an icon"},
        {61187, "Enlarge the window to full size"},
        {61188, "Switch to the next document window"},
        {61189, "Switch to the previous document window"},
        {61190, "Close the active window"},
        {61202, "Restore the window to normal size"},
        {61203, "Activate Task List"},
    };
    for (const auto& s : strings)
        EXPECT_EQ(String(s.first), s.second) << "string " << s.first;
}

TEST_F(ResourceTest, ToolbarHasSixPositionsOverAnEightyPixelStrip)
{
    std::vector<BYTE> data = Raw(MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(241));
    const WORD expected[] = {1,
                             16,
                             15,
                             6,
                             ID_FILE_SAVE,
                             ID_SEPARATOR,
                             ID_PROCESS_KILL,
                             ID_PROCESS_KILLFAVORITES,
                             ID_PROCESS_KILLFAVORITESEXIT,
                             ID_APP_ABOUT};
    ASSERT_EQ(data.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(data.data(), expected, sizeof expected), 0);

    std::vector<BYTE> bitmap = Raw(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_BITMAP);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER bih;
    std::memcpy(&bih, bitmap.data(), sizeof bih);
    EXPECT_EQ(bih.biWidth, 80);
    EXPECT_EQ(bih.biHeight, 15);
    EXPECT_EQ(bih.biBitCount, 4);
}

#pragma pack(push, 2)
struct GroupEntry
{
    BYTE bWidth, bHeight, bColorCount, bReserved;
    WORD wPlanes, wBitCount;
    DWORD dwBytesInRes;
    WORD nID;
};
#pragma pack(pop)

TEST_F(ResourceTest, IconsHoldLargeAndSmallSixteenColourImages)
{
    for (UINT id : {IDR_MAINFRAME, IDR_QUELLOTYPE}) {
        std::vector<BYTE> group = Raw(MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        ASSERT_GE(group.size(), 6u) << "icon " << id;
        WORD count;
        std::memcpy(&count, group.data() + 4, 2);
        ASSERT_EQ(count, 2) << "icon " << id;
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            GroupEntry e;
            std::memcpy(&e, group.data() + 6 + i * sizeof(GroupEntry), sizeof e);
            sizes.push_back(e.bWidth);
            EXPECT_EQ(e.bWidth, e.bHeight);
            EXPECT_EQ(e.wBitCount, 4) << "icon " << id;
        }
        EXPECT_EQ(sizes, (std::vector<int>{32, 16})) << "icon " << id;
    }
}

TEST_F(ResourceTest, LinkCursorIsA32PixelMonochromeHandWithItsHotspotAtTheCorner)
{
    std::vector<BYTE> group = Raw(MAKEINTRESOURCEA(IDC_LINKHAND), RT_GROUP_CURSOR);
    ASSERT_GE(group.size(), 6u + 14u);
    WORD count, nID;
    std::memcpy(&count, group.data() + 4, 2);
    ASSERT_EQ(count, 1);
    std::memcpy(&nID, group.data() + 6 + 12, 2);
    std::vector<BYTE> image = Raw(MAKEINTRESOURCEA(nID), RT_CURSOR);
    ASSERT_GE(image.size(), 4 + sizeof(BITMAPINFOHEADER));
    WORD hotspot[2];
    std::memcpy(hotspot, image.data(), 4);
    EXPECT_EQ(hotspot[0], 0);
    EXPECT_EQ(hotspot[1], 0);
    BITMAPINFOHEADER bih;
    std::memcpy(&bih, image.data() + 4, sizeof bih);
    EXPECT_EQ(bih.biWidth, 32);
    EXPECT_EQ(bih.biHeight, 64); // image and mask
    EXPECT_EQ(bih.biBitCount, 1);
    EXPECT_NE(::LoadCursorA(hExe, MAKEINTRESOURCEA(IDC_LINKHAND)), nullptr);
}

TEST_F(ResourceTest, VersionRecordIsOnePointOne)
{
    std::vector<BYTE> data = Raw(MAKEINTRESOURCEA(1), RT_VERSION);
    ASSERT_FALSE(data.empty());
    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT cb = 0;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&pInfo), &cb));
    EXPECT_EQ(pInfo->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(pInfo->dwFileVersionLS, 0u);
    EXPECT_EQ(pInfo->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(pInfo->dwProductVersionLS, 0u);
    const std::pair<const char*, const char*> values[] = {
        {"FileVersion", "1.1"},          {"ProductVersion", "1.1"},
        {"FileDescription", "Quellon"},  {"InternalName", "Quellon"},
        {"OriginalFilename", "Quellon"}, {"ProductName", "Quellon"},
    };
    for (const auto& v : values) {
        std::string key = std::string("\\StringFileInfo\\040904B0\\") + v.first;
        char* pText = nullptr;
        ASSERT_TRUE(
            ::VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&pText), &cb))
            << v.first;
        EXPECT_STREQ(pText, v.second) << v.first;
    }
}

// ---------------------------------------------------------------------------
// Dialog templates

struct DialogItem
{
    DWORD style;
    int x, y, cx, cy;
    int id;
    int kind; // 0x80 button, 0x81 edit, 0x82 static, 0x83 list box
    std::string text;
    int textOrdinal; // for an icon static, its icon resource; else -1
};

struct DialogTemplate
{
    DWORD style = 0;
    int cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    std::string face;
    std::vector<DialogItem> items;
};

std::string ReadWide(const BYTE*& p)
{
    std::string s;
    for (;;) {
        WORD ch;
        std::memcpy(&ch, p, 2);
        p += 2;
        if (ch == 0)
            return s;
        s += static_cast<char>(ch);
    }
}

// Reads a name-or-ordinal: the ordinal, or -1 with the name in rText.
int ReadNameOrOrdinal(const BYTE*& p, std::string& rText)
{
    WORD w;
    std::memcpy(&w, p, 2);
    if (w == 0xFFFF) {
        WORD ordinal;
        std::memcpy(&ordinal, p + 2, 2);
        p += 4;
        return ordinal;
    }
    rText = ReadWide(p);
    return -1;
}

DialogTemplate ParseDialog(const std::vector<BYTE>& data)
{
    DialogTemplate t;
    const BYTE* p = data.data();
    DLGTEMPLATE header;
    std::memcpy(&header, p, sizeof header);
    p += 18;
    t.style = header.style;
    t.cx = header.cx;
    t.cy = header.cy;
    std::string ignored;
    ReadNameOrOrdinal(p, ignored); // menu
    ReadNameOrOrdinal(p, ignored); // class
    t.caption = ReadWide(p);
    if (t.style & DS_SETFONT) {
        WORD points;
        std::memcpy(&points, p, 2);
        p += 2;
        t.pointSize = points;
        t.face = ReadWide(p);
    }
    for (int i = 0; i < header.cdit; ++i) {
        p = data.data() + ((p - data.data() + 3) & ~3);
        DLGITEMTEMPLATE item;
        std::memcpy(&item, p, sizeof item);
        p += 18;
        DialogItem d;
        d.style = item.style;
        d.x = item.x;
        d.y = item.y;
        d.cx = item.cx;
        d.cy = item.cy;
        d.id = static_cast<short>(item.id);
        // A class given by name is the same kind as its predefined ordinal.
        std::string className;
        d.kind = ReadNameOrOrdinal(p, className);
        const std::pair<const char*, int> kinds[] = {
            {"BUTTON", 0x80}, {"EDIT", 0x81}, {"STATIC", 0x82}, {"LISTBOX", 0x83}};
        for (const auto& k : kinds) {
            if (d.kind == -1 && lstrcmpiA(className.c_str(), k.first) == 0)
                d.kind = k.second;
        }
        d.textOrdinal = ReadNameOrOrdinal(p, d.text);
        WORD extra;
        std::memcpy(&extra, p, 2);
        p += 2 + extra;
        t.items.push_back(d);
    }
    return t;
}

const DWORD kDialogStyle = 0x80C800C0; // popup, caption, system menu, modal frame, set-font

void ExpectItem(const DialogItem& item, int id, int kind, const char* text, int x, int y, int cx,
                int cy, DWORD styleBits, const char* what)
{
    EXPECT_EQ(item.id, id) << what;
    EXPECT_EQ(item.kind, kind) << what;
    if (text != nullptr) {
        EXPECT_EQ(item.text, text) << what;
    }
    EXPECT_EQ(item.x, x) << what;
    EXPECT_EQ(item.y, y) << what;
    EXPECT_EQ(item.cx, cx) << what;
    EXPECT_EQ(item.cy, cy) << what;
    EXPECT_EQ(item.style & styleBits, styleBits) << what;
    EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE))
        << what;
}

// Popup, caption, system menu and modal frame, in 8-point MS Sans Serif.
void ExpectDialogHeader(const DialogTemplate& t, int cx, int cy, const char* caption)
{
    EXPECT_EQ(t.style, kDialogStyle) << caption;
    EXPECT_EQ(t.cx, cx) << caption;
    EXPECT_EQ(t.cy, cy) << caption;
    EXPECT_EQ(t.caption, caption);
    EXPECT_EQ(t.pointSize, 8) << caption;
    EXPECT_EQ(t.face, "MS Sans Serif") << caption;
}

TEST_F(ResourceTest, AboutDialogTemplate)
{
    std::vector<BYTE> data = Raw(MAKEINTRESOURCEA(IDD_ABOUTBOX), RT_DIALOG);
    ASSERT_FALSE(data.empty());
    DialogTemplate t = ParseDialog(data);
    ExpectDialogHeader(t, 220, 137, "About Quellon");
    ASSERT_EQ(t.items.size(), 10u);
    ExpectItem(t.items[0], IDOK, 0x80, "OK", 140, 119, 36, 14,
               BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "OK");
    ExpectItem(t.items[1], -1, 0x82, nullptr, 147, 92, 20, 20, SS_ICON, "icon");
    EXPECT_EQ(t.items[1].textOrdinal, IDR_MAINFRAME);
    ExpectItem(t.items[2], -1, 0x82, "Quellon Version 1.1", 122, 4, 64, 8, SS_CENTER, "version");
    ExpectItem(t.items[3], -1, 0x80, "Legal Stuff", 8, 68, 88, 64, BS_GROUPBOX, "legal box");
    ExpectItem(t.items[4], -1, 0x82, nullptr, 16, 85, 72, 36, SS_CENTER, "legal text");
    EXPECT_FALSE(t.items[4].text.empty());
    ExpectItem(t.items[5], -1, 0x80, "What Quellon Does", 8, 8, 88, 52, BS_GROUPBOX, "what box");
    ExpectItem(t.items[6], -1, 0x82, "Kills processes in a controlled way.", 16, 26, 72, 22,
               SS_CENTER, "what text");
    ExpectItem(t.items[7], -1, 0x82, "A 32 bit application", 122, 27, 64, 8, SS_CENTER, "bits");
    ExpectItem(t.items[8], IDC_EMAILLINK, 0x82, QUELLON_CONTACT_EMAIL, 114, 60, 85, 10, SS_CENTER,
               "e-mail link");
    ExpectItem(t.items[9], IDC_WEBLINK, 0x82, QUELLON_WEB_ADDRESS, 99, 75, 115, 10, SS_CENTER,
               "web link");
    for (int i : {1, 2, 4, 6, 7, 8, 9})
        EXPECT_EQ(t.items[static_cast<size_t>(i)].style & 0x1F,
                  static_cast<DWORD>(i == 1 ? SS_ICON : SS_CENTER));
    // The links are plain statics: the control switches the notify style on.
    EXPECT_EQ(t.items[8].style & SS_NOTIFY, 0u);
    EXPECT_EQ(t.items[9].style & SS_NOTIFY, 0u);
    // The e-mail address carries the contact marker, the web address does not.
    EXPECT_NE(t.items[8].text.find(QUELLON_CONTACT_MARKER), std::string::npos);
    EXPECT_EQ(t.items[9].text.find(QUELLON_CONTACT_MARKER), std::string::npos);
    EXPECT_EQ(t.items[9].text.rfind("http://", 0), 0u);
}

TEST_F(ResourceTest, FavoritesDialogTemplates)
{
    DialogTemplate t = ParseDialog(Raw(MAKEINTRESOURCEA(IDD_FAVORITES), RT_DIALOG));
    ExpectDialogHeader(t, 244, 217, "Favorites");
    ASSERT_EQ(t.items.size(), 9u);
    const DWORD list =
        LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    ExpectItem(t.items[0], IDC_CANDIDATES, 0x83, "", 8, 16, 100, 152, list, "candidates");
    ExpectItem(t.items[1], IDC_ADD, 0x80, "-->", 112, 69, 20, 20, WS_TABSTOP, "add");
    ExpectItem(t.items[2], IDC_FAVORITES, 0x83, "", 136, 16, 100, 152, list, "favorites");
    ExpectItem(t.items[3], IDC_REMOVE, 0x80, "<--", 112, 93, 20, 20, WS_TABSTOP, "remove");
    ExpectItem(t.items[4], IDOK, 0x80, "OK", 136, 196, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK");
    ExpectItem(t.items[5], IDCANCEL, 0x80, "Cancel", 192, 196, 46, 14, WS_TABSTOP, "cancel");
    ExpectItem(t.items[6], IDC_MANUALADD, 0x80, "Manually Add Name", 136, 176, 100, 14,
               BS_DEFPUSHBUTTON | WS_TABSTOP, "manual");
    ExpectItem(t.items[7], -1, 0x82, "Candidates", 8, 4, 68, 8, 0, "candidates label");
    ExpectItem(t.items[8], -1, 0x82, "Favorites", 136, 4, 68, 8, WS_GROUP, "favorites label");
    for (int i : {0, 2})
        EXPECT_EQ(t.items[static_cast<size_t>(i)].style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0u);
    for (int i : {1, 3, 5})
        EXPECT_EQ(t.items[static_cast<size_t>(i)].style & 0x0F, static_cast<DWORD>(BS_PUSHBUTTON));
    for (int i : {7, 8})
        EXPECT_EQ(t.items[static_cast<size_t>(i)].style & 0x1F, static_cast<DWORD>(SS_LEFT));

    DialogTemplate a = ParseDialog(Raw(MAKEINTRESOURCEA(IDD_ADDNAME), RT_DIALOG));
    EXPECT_EQ(a.style, kDialogStyle);
    EXPECT_EQ(a.cx, 124);
    EXPECT_EQ(a.cy, 49);
    EXPECT_EQ(a.caption, "Add Process Name");
    EXPECT_EQ(a.face, "MS Sans Serif");
    ASSERT_EQ(a.items.size(), 3u);
    ExpectItem(a.items[0], IDC_NAME, 0x81, "", 8, 4, 88, 16,
               ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, "name");
    ExpectItem(a.items[1], IDOK, 0x80, "OK", 8, 28, 50, 14, BS_DEFPUSHBUTTON, "OK");
    ExpectItem(a.items[2], IDCANCEL, 0x80, "Cancel", 64, 28, 50, 14, 0, "cancel");
}

} // namespace
