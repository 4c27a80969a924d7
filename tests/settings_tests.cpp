// The settings store against the real registry of the test prefix, under
// a key of its own.
#include "TestSupport.h"

#include <climits>

namespace {

const char kBase[] = "Software\\Corvanel Software\\QuellonStoreTest";

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase);
        CRegKey key;
        DWORD dwDisposition;
        ASSERT_TRUE(store.OpenBaseKey(&key, &dwDisposition, HKEY_LOCAL_MACHINE, kBase));
    }
    void TearDown() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase); }

    std::string Path(const char* section) { return std::string(kBase) + "\\" + section; }

    CSettingsStore store;
};

TEST(ParseSettingsInt, ReadsLikePercentD)
{
    struct Case
    {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"  42abc", true, 42},
        {"-7", true, -7},
        {"+5", true, 5},
        {"\t\r\n\v\f 13", true, 13},
        {"0", true, 0},
        {"007", true, 7},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"abc", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"- 3", false, 0},
        {" x1", false, 0},
        // Beyond the range of int: no number, rather than a wrapped one.
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseSettingsInt(c.text, &value) != FALSE, c.ok) << '"' << c.text << '"';
        if (c.ok)
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        else
            EXPECT_EQ(value, 12345) << "untouched for \"" << c.text << '"';
    }
}

TEST_F(SettingsStoreTest, OpenBaseKeyReportsCreationThenOpening)
{
    CSettingsStore other;
    CRegKey key;
    DWORD dwDisposition = 0;
    ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase));
    ASSERT_TRUE(other.OpenBaseKey(&key, &dwDisposition, HKEY_LOCAL_MACHINE, kBase));
    EXPECT_TRUE(key.IsValid());
    EXPECT_EQ(dwDisposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    ASSERT_TRUE(other.OpenBaseKey(&key, &dwDisposition, HKEY_LOCAL_MACHINE, kBase));
    EXPECT_EQ(dwDisposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(other.m_strBasePath, kBase);
    EXPECT_EQ(other.m_hRootKey, HKEY_LOCAL_MACHINE);
}

TEST_F(SettingsStoreTest, OpenBaseKeyRecordsThePathEvenWhenItFails)
{
    CSettingsStore other;
    CRegKey key;
    DWORD dwDisposition = 0;
    HKEY hBogusRoot = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ABC));
    EXPECT_FALSE(other.OpenBaseKey(&key, &dwDisposition, hBogusRoot, "Software\\Nowhere"));
    EXPECT_FALSE(key.IsValid());
    EXPECT_EQ(other.m_strBasePath, "Software\\Nowhere");
    EXPECT_EQ(other.m_hRootKey, hBogusRoot);
    // Its reads then fall back on their defaults and its writes fail.
    EXPECT_EQ(other.ReadInt("Screen", "x", 17), 17);
    EXPECT_EQ(other.ReadString("Screen", "x", "dflt"), "dflt");
    EXPECT_FALSE(other.WriteInt("Screen", "x", 1));
    EXPECT_FALSE(other.WriteString("Screen", "x", "1"));
}

TEST_F(SettingsStoreTest, ReadsOfAMissingSectionGiveTheDefaultAndCreateNothing)
{
    EXPECT_EQ(store.ReadInt("Screen", "x", -3), -3);
    EXPECT_EQ(store.ReadString("Settings", "Fav0", "none"), "none");
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Path("Screen")));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Path("Settings")));
}

TEST_F(SettingsStoreTest, FirstWriteCreatesTheSectionAndTheKeysAboveIt)
{
    ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBase));
    EXPECT_TRUE(store.WriteInt("Grid", "col0", 120));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Path("Grid")));
    EXPECT_EQ(store.ReadInt("Grid", "col0", 0), 120);
}

TEST_F(SettingsStoreTest, IntegersAreStoredAsDecimalTextWithTheirTerminator)
{
    ASSERT_TRUE(store.WriteInt("Screen", "x", -7));
    HKEY hKey;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, Path("Screen").c_str(), 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    char buf[16] = {};
    DWORD cb = sizeof buf, dwType = 0;
    ASSERT_EQ(::RegQueryValueExA(hKey, "x", nullptr, &dwType, reinterpret_cast<BYTE*>(buf), &cb),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(cb, 3u);
    EXPECT_STREQ(buf, "-7");
}

TEST_F(SettingsStoreTest, WriteIntThenReadIntRoundTripsEveryKindOfValue)
{
    const int values[] = {INT_MIN, INT_MIN + 1, -123456789, -1,          0,
                          1,       42,          1000000,    INT_MAX - 1, INT_MAX};
    for (int value : values) {
        ASSERT_TRUE(store.WriteInt("Round", "v", value));
        EXPECT_EQ(store.ReadInt("Round", "v", 99), value);
        std::string text;
        ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, Path("Round"), "v", &text));
        EXPECT_EQ(text, std::to_string(value));
    }
}

TEST_F(SettingsStoreTest, IntegersAreParsedFromTheStoredText)
{
    WriteRegistryText(HKEY_LOCAL_MACHINE, Path("S"), "lead", "  42abc");
    WriteRegistryText(HKEY_LOCAL_MACHINE, Path("S"), "neg", "-7");
    WriteRegistryText(HKEY_LOCAL_MACHINE, Path("S"), "word", "abc");
    WriteRegistryText(HKEY_LOCAL_MACHINE, Path("S"), "empty", "");
    WriteRegistryText(HKEY_LOCAL_MACHINE, Path("S"), "huge", "4294967296");
    EXPECT_EQ(store.ReadInt("S", "lead", 0), 42);
    EXPECT_EQ(store.ReadInt("S", "neg", 0), -7);
    EXPECT_EQ(store.ReadInt("S", "word", 5), 5);
    EXPECT_EQ(store.ReadInt("S", "empty", 6), 6);
    EXPECT_EQ(store.ReadInt("S", "huge", 8), 8);
    EXPECT_EQ(store.ReadInt("S", "absent", 9), 9);
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesAreReadAsText)
{
    const BYTE dword[4] = {'4', '2', 0, 0}; // a DWORD whose bytes read "42"
    ASSERT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, Path("T"), "dw", REG_DWORD, dword, 4));
    EXPECT_EQ(store.ReadInt("T", "dw", 0), 42);
    EXPECT_EQ(store.ReadString("T", "dw", "x"), "42");

    // Data without a terminating NUL ends at the length the registry gives.
    const char bin[] = {'7', 'u', 'p'};
    ASSERT_TRUE(WriteRegistryValue(HKEY_LOCAL_MACHINE, Path("T"), "bin", REG_BINARY, bin, 3));
    EXPECT_EQ(store.ReadString("T", "bin", "x"), "7up");
    EXPECT_EQ(store.ReadInt("T", "bin", 0), 7);

    std::string full(260, 'b'); // fills the whole buffer, no NUL
    ASSERT_TRUE(
        WriteRegistryValue(HKEY_LOCAL_MACHINE, Path("T"), "full", REG_BINARY, full.data(), 260));
    EXPECT_EQ(std::string(store.ReadString("T", "full", "x")), full);
}

TEST_F(SettingsStoreTest, TextsUpTo259CharactersReadWholeLongerOnesReadAsDefault)
{
    std::string fits(259, 'a');
    std::string tooLong(260, 'a');
    ASSERT_TRUE(store.WriteString("L", "fits", fits.c_str()));
    ASSERT_TRUE(store.WriteString("L", "long", tooLong.c_str()));
    ASSERT_TRUE(store.WriteString("L", "longer", std::string(1000, 'c').c_str()));
    EXPECT_EQ(std::string(store.ReadString("L", "fits", "d")), fits);
    EXPECT_EQ(store.ReadString("L", "long", "d"), "d");
    EXPECT_EQ(store.ReadString("L", "longer", "d"), "d");
    EXPECT_EQ(store.ReadInt("L", "long", 4), 4);
}

TEST_F(SettingsStoreTest, WriteStringStoresTheTextUnchanged)
{
    ASSERT_TRUE(store.WriteString("Settings", "Fav0", " Mixed Case.exe "));
    std::string text;
    ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, Path("Settings"), "Fav0", &text));
    EXPECT_EQ(text, " Mixed Case.exe ");
    ASSERT_TRUE(store.WriteString("Settings", "Fav0", ""));
    EXPECT_EQ(store.ReadString("Settings", "Fav0", "gone"), "");
}

} // namespace
