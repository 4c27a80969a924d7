// The first-run import of the legacy INI file, against the real registry
// and a real Quellon.INI in the Windows directory.
#include "TestSupport.h"

#include "IniImport.h"

namespace {

std::string IniPath()
{
    return WindowsDir() + "\\Quellon.INI";
}

struct Classified
{
    IniLineKind kind;
    std::string name;
    std::string value;
};

Classified Classify(const char* line)
{
    CString name, value;
    IniLineKind kind = ClassifyIniLine(line, name, value);
    return Classified{kind, name.GetString(), value.GetString()};
}

TEST(IniLines, SectionHeadersValuesAndTheRest)
{
    Classified c = Classify("[ Screen ]\n");
    EXPECT_EQ(c.kind, IniLineSection);
    EXPECT_EQ(c.name, "Screen");

    c = Classify("  \t[Grid]  \r\n");
    EXPECT_EQ(c.kind, IniLineSection);
    EXPECT_EQ(c.name, "Grid");

    // Not a header (the first "]" is not last), and no equals sign.
    EXPECT_EQ(Classify("[Screen] x\n").kind, IniLineIgnored);
    EXPECT_EQ(Classify("]x[\n").kind, IniLineIgnored);
    EXPECT_EQ(Classify("[a]b]\n").kind, IniLineIgnored);
    EXPECT_EQ(Classify("just words\n").kind, IniLineIgnored);
    EXPECT_EQ(Classify("\n").kind, IniLineIgnored);

    // The name and value are split at the first equals sign and not trimmed.
    c = Classify("x = 5\n");
    EXPECT_EQ(c.kind, IniLineValue);
    EXPECT_EQ(c.name, "x ");
    EXPECT_EQ(c.value, " 5");
    c = Classify("  a=b=c  \n");
    EXPECT_EQ(c.kind, IniLineValue);
    EXPECT_EQ(c.name, "a");
    EXPECT_EQ(c.value, "b=c");
    // A bracketed line with an equals sign inside is still a header.
    c = Classify("[k=v]\n");
    EXPECT_EQ(c.kind, IniLineSection);
    EXPECT_EQ(c.name, "k=v");
}

class IniImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase);
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBase, 0, nullptr, 0, KEY_WRITE, nullptr,
                                    &hBase, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        ::RegCloseKey(hBase);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase);
        ::DeleteFileA(IniPath().c_str());
    }
    std::string Value(const char* section, const char* name)
    {
        std::string text;
        std::string path = std::string(kBase) + (section[0] ? "\\" : "") + section;
        return ReadRegistryText(HKEY_LOCAL_MACHINE, path, name, &text) ? text : "<absent>";
    }

    static constexpr const char* kBase = "Software\\Corvanel Software\\QuellonIniTest";
    HKEY hBase = nullptr;
};

TEST_F(IniImportTest, CopiesEverySectionAndValue)
{
    ASSERT_TRUE(WriteTextFile(IniPath(), "early=1\r\n"
                                         "[ Screen ]\r\n"
                                         "x = 5\r\n"
                                         "[Screen] x\r\n"
                                         "cx=640\r\n"
                                         "; a comment\r\n"
                                         "\r\n"
                                         "[Settings]\r\n"
                                         "Fav0=notepad.exe\r\n"
                                         "[Odd Section]\r\n"
                                         "anything=goes = here\r\n"));
    TestApp().ImportIniFile(hBase);

    EXPECT_EQ(Value("Screen", "x "), " 5");
    EXPECT_EQ(Value("Screen", "x"), "<absent>");
    EXPECT_EQ(Value("Screen", "cx"), "640");
    EXPECT_EQ(Value("Settings", "Fav0"), "notepad.exe");
    EXPECT_EQ(Value("Odd Section", "anything"), "goes = here");
    // A value before the first header is stored nowhere.
    EXPECT_EQ(Value("", "early"), "<absent>");
    EXPECT_EQ(Value("Screen", "early"), "<absent>");
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, std::string(kBase) + "\\[Screen] x"));
}

TEST_F(IniImportTest, ALongLineArrivesInPiecesEachTakenAsALine)
{
    // 519 characters fit in one read: "a=" and 517 x's; the rest of the
    // line, "b=c", comes as a line of its own.
    std::string longLine = "a=" + std::string(517, 'x') + "b=c";
    ASSERT_TRUE(WriteTextFile(IniPath(), "[Long]\n" + longLine + "\n"));
    TestApp().ImportIniFile(hBase);
    EXPECT_EQ(Value("Long", "a"), std::string(517, 'x'));
    EXPECT_EQ(Value("Long", "b"), "c");
}

TEST_F(IniImportTest, ASectionThatCannotBeCreatedStopsTheImportAfterTheNextLine)
{
    // A key name longer than the registry allows cannot be created.
    std::string badSection(300, 'k');
    ASSERT_TRUE(WriteTextFile(IniPath(), "[Before]\n"
                                         "kept=1\n"
                                         "[" +
                                             badSection +
                                             "]\n"
                                             "lost=2\n"
                                             "[After]\n"
                                             "never=3\n"));
    TestApp().ImportIniFile(hBase);
    EXPECT_EQ(Value("Before", "kept"), "1");
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, std::string(kBase) + "\\After"));
    EXPECT_EQ(Value("Before", "lost"), "<absent>");
}

// Run with the Japanese code page (932): its CTest entry sets LC_ALL.
TEST_F(IniImportTest, ADoubleByteCharacterHoldsNoBracket)
{
    ASSERT_EQ(::GetACP(), 932u) << "LC_ALL=ja_JP.UTF-8 chooses code page 932 under Wine";
    // Shift-JIS \x83\x5D is one character whose second byte is that of "]".
    const char kZo[] = "\x83\x5D";
    Classified c = Classify("[A\x83\x5D"
                            "B]\n");
    EXPECT_EQ(c.kind, IniLineSection);
    EXPECT_EQ(c.name, std::string("A") + kZo + "B");
    EXPECT_EQ(Classify("[\x83\x5D\n").kind, IniLineIgnored) << "no \"]\" at all";
    c = Classify("\x83\x5D=\x83\x5D]\n");
    EXPECT_EQ(c.kind, IniLineValue);
    EXPECT_EQ(c.name, kZo);

    ASSERT_TRUE(WriteTextFile(IniPath(), std::string("[") + kZo + "]\r\nx=1\r\n"));
    TestApp().ImportIniFile(hBase);
    EXPECT_EQ(Value(kZo, "x"), "1");
}

// The same code page: a formatted text that is too long is cut between
// characters, never after the lead byte of a double-byte one.
TEST(DoubleByteCodePage, ATextCutByTheFormatLimitEndsWithAWholeCharacter)
{
    ASSERT_EQ(::GetACP(), 932u) << "LC_ALL=ja_JP.UTF-8 chooses code page 932 under Wine";
    std::string text = "x";
    for (int i = 0; i < 600; ++i)
        text += "\x83\x5D";
    CString str;
    str.Format("%s", text.c_str());
    ASSERT_GE(str.GetLength(), CString::kFormatLimit - 2);
    EXPECT_EQ(str.GetLength() % 2, 1) << "\"x\" and whole characters";
    EXPECT_EQ(std::string(str.GetString()), text.substr(0, str.GetLength()));
}

TEST_F(IniImportTest, AMissingFileImportsNothing)
{
    ::DeleteFileA(IniPath().c_str());
    TestApp().ImportIniFile(hBase);
    HKEY hKey;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBase, 0, KEY_READ, &hKey), ERROR_SUCCESS);
    DWORD nSubKeys = 99, nValues = 99;
    ::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &nSubKeys, nullptr, nullptr, &nValues,
                       nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(hKey);
    EXPECT_EQ(nSubKeys, 0u);
    EXPECT_EQ(nValues, 0u);
}

TEST(FirstRun, CreatesTheKeyAndImportsTheIniFileOnlyThen)
{
    const std::string settings = std::string(kQuellonKey) + "\\Settings";
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kQuellonKey);
    ASSERT_TRUE(WriteTextFile(IniPath(), "[Settings]\nFav0=calc.exe\n[Newbie]\nStart=0\n"));

    TestApp().BindSettingsStore();
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kQuellonKey));
    std::string text;
    ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, settings, "Fav0", &text));
    EXPECT_EQ(text, "calc.exe");
    EXPECT_EQ(TestApp().m_settings.ReadInt("Newbie", "Start", 1), 0);
    EXPECT_EQ(TestApp().m_settings.m_strBasePath, kQuellonKey);

    // Later starts ignore the file, even a changed one.
    ASSERT_TRUE(WriteTextFile(IniPath(), "[Settings]\nFav0=changed.exe\nFav1=new.exe\n"));
    TestApp().BindSettingsStore();
    ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, settings, "Fav0", &text));
    EXPECT_EQ(text, "calc.exe");
    EXPECT_FALSE(ReadRegistryText(HKEY_LOCAL_MACHINE, settings, "Fav1", &text));

    ::DeleteFileA(IniPath().c_str());
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kQuellonKey);
}

} // namespace
