// The first-run import of the legacy INI file against generated files of
// random and malformed content. Each file is imported by the program's own
// import into a fresh key of the real registry, and the keys and values it
// leaves are compared with what a model of the import rule, written here
// independently, says they must be.
#include "TestSupport.h"

#include <cstdint>
#include <map>
#include <sstream>

namespace {

const char kFuzzBase[] = "Software\\Corvanel Software\\QuellonIniFuzz";
// Every file is generated from this seed and its own number, so a failing
// file can be made again on its own.
const uint64_t kSeed = 0x51E11017C0DEULL;
const int kSmallFiles = 1000;

// splitmix64: the same numbers on every platform and library.
class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T, size_t N> const T& Pick(const T (&items)[N])
    {
        return items[Below(static_cast<int>(N))];
    }

private:
    uint64_t m_state;
};

// ---------------------------------------------------------------------------
// The model

// Registry names compare without regard to case.
std::string Fold(const std::string& name)
{
    std::string folded = name;
    if (!folded.empty())
        ::CharUpperBuffA(&folded[0], static_cast<DWORD>(folded.size()));
    return folded;
}

struct ValueData
{
    std::string name; // as first created
    std::string data;
    DWORD type;
};

struct KeyData
{
    std::string path;                        // below the base key, as first created
    std::map<std::string, ValueData> values; // by folded name
};

// A registry tree below the base key, by folded path ("" is the base key).
typedef std::map<std::string, KeyData> Tree;

const char kTrimSpace[] = " \t\r\n\v\f";

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(kTrimSpace);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(kTrimSpace);
    return text.substr(first, last - first + 1);
}

// What the runtime's text-mode stream delivers: a CR right before an LF is
// dropped, and a Ctrl+Z ends the file.
std::string TextModeContent(const std::string& raw)
{
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\x1a')
            break;
        if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        text += c;
    }
    return text;
}

// The lines as read into a buffer of 520 bytes: up to and including an LF,
// at most 519 characters. A lone CR ends nothing. Each piece counts as far
// as its first NUL byte.
std::vector<std::string> ReadLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t lf = text.find('\n', pos);
        size_t n = lf == std::string::npos ? text.size() - pos : lf - pos + 1;
        if (n > 519)
            n = 519;
        std::string piece = text.substr(pos, n);
        lines.push_back(piece.substr(0, piece.find('\0')));
        pos += n;
    }
    return lines;
}

// Where the registry puts a key created below the base key with this name:
// the path's parts below each other (empty parts are skipped, so an empty
// name is the base key itself). The Windows 95 family ignores one leading
// backslash. False when the registry refuses the name: longer than 260
// characters, a part longer than 256, or a second leading backslash.
bool SectionPath(std::string name, std::vector<std::string>* pParts)
{
    if (!name.empty() && name[0] == '\\')
        name.erase(0, 1);
    if (name.size() > 260 || (!name.empty() && name[0] == '\\'))
        return false;
    pParts->clear();
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('\\', start);
        if (end == std::string::npos)
            end = name.size();
        std::string part = name.substr(start, end - start);
        if (part.size() > 256)
            return false;
        if (!part.empty())
            pParts->push_back(part);
        start = end + 1;
    }
    return true;
}

// The import rule applied to a file's bytes.
Tree ModelImport(const std::string& raw)
{
    Tree tree;
    tree[""].path = "";
    bool bInSection = false;
    std::string section; // folded path of the current section key
    for (const std::string& read : ReadLines(TextModeContent(raw))) {
        std::string line = Trimmed(read);
        size_t a = line.find('['), b = line.find(']');
        if (a != std::string::npos && b != std::string::npos && b - a + 1 == line.size()) {
            line[a] = ' ';
            line[b] = ' ';
            std::vector<std::string> parts;
            if (!SectionPath(Trimmed(line), &parts))
                break; // the import stops at the next read
            std::string folded, path;
            for (const std::string& part : parts) {
                folded += (folded.empty() ? "" : "\\") + Fold(part);
                KeyData& key = tree[folded];
                if (key.path.empty())
                    key.path = (path.empty() ? "" : path + "\\") + part;
                path = key.path;
            }
            section = folded;
            bInSection = true;
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || !bInSection)
            continue;
        std::string name = line.substr(0, eq);
        ValueData& value = tree[section].values[Fold(name)];
        if (value.name.empty())
            value.name = name;
        value.data = line.substr(eq + 1);
        value.type = REG_SZ;
    }
    return tree;
}

// ---------------------------------------------------------------------------
// The real registry

bool ReadTree(HKEY hKey, const std::string& path, const std::string& folded, Tree* pTree,
              std::string* pError)
{
    KeyData& key = (*pTree)[folded];
    key.path = path;
    std::vector<char> name(1024), data(4096);
    for (DWORD i = 0;; ++i) {
        DWORD cchName = static_cast<DWORD>(name.size());
        DWORD cbData = static_cast<DWORD>(data.size());
        DWORD dwType = 0;
        LONG lResult = ::RegEnumValueA(hKey, i, name.data(), &cchName, nullptr, &dwType,
                                       reinterpret_cast<BYTE*>(data.data()), &cbData);
        if (lResult == ERROR_NO_MORE_ITEMS)
            break;
        if (lResult != ERROR_SUCCESS) {
            *pError = "cannot enumerate the values of \"" + path + "\"";
            return false;
        }
        ValueData value;
        value.name.assign(name.data(), cchName);
        // The data of a REG_SZ value as stored: the text and its NUL.
        if (cbData == 0 || data[cbData - 1] != '\0') {
            *pError = "value \"" + value.name + "\" of \"" + path + "\" has no terminating NUL";
            return false;
        }
        value.data.assign(data.data(), cbData - 1);
        value.type = dwType;
        key.values[Fold(value.name)] = value;
    }
    for (DWORD i = 0;; ++i) {
        DWORD cchName = static_cast<DWORD>(name.size());
        LONG lResult =
            ::RegEnumKeyExA(hKey, i, name.data(), &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_NO_MORE_ITEMS)
            break;
        HKEY hSub;
        std::string sub(name.data(), cchName);
        if (lResult != ERROR_SUCCESS ||
            ::RegOpenKeyExA(hKey, sub.c_str(), 0, KEY_READ, &hSub) != ERROR_SUCCESS) {
            *pError = "cannot enumerate the keys of \"" + path + "\"";
            return false;
        }
        bool bOk = ReadTree(hSub, path.empty() ? sub : path + "\\" + sub,
                            folded.empty() ? Fold(sub) : folded + "\\" + Fold(sub), pTree, pError);
        ::RegCloseKey(hSub);
        if (!bOk)
            return false;
    }
    return true;
}

std::string Printable(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char sz[8];
            wsprintfA(sz, "\\x%02X", c);
            out += sz;
        }
    }
    if (out.size() > 120)
        out = out.substr(0, 120) + "...(" + std::to_string(text.size()) + " characters)";
    return out;
}

// The first difference between two trees, or "" when they are equal.
std::string Difference(const Tree& expected, const Tree& actual)
{
    for (const auto& e : expected) {
        auto a = actual.find(e.first);
        if (a == actual.end())
            return "key \"" + Printable(e.second.path) + "\" is missing";
        if (a->second.path != e.second.path)
            return "key \"" + Printable(e.second.path) + "\" is named \"" +
                   Printable(a->second.path) + "\"";
        for (const auto& ev : e.second.values) {
            auto av = a->second.values.find(ev.first);
            std::string where = "value \"" + Printable(ev.second.name) + "\" of key \"" +
                                Printable(e.second.path) + "\"";
            if (av == a->second.values.end())
                return where + " is missing";
            if (av->second.name != ev.second.name)
                return where + " is named \"" + Printable(av->second.name) + "\"";
            if (av->second.type != ev.second.type)
                return where + " has type " + std::to_string(av->second.type);
            if (av->second.data != ev.second.data)
                return where + " holds \"" + Printable(av->second.data) + "\", not \"" +
                       Printable(ev.second.data) + "\"";
        }
        for (const auto& av : a->second.values) {
            if (e.second.values.count(av.first) == 0)
                return "unexpected value \"" + Printable(av.second.name) + "\" in key \"" +
                       Printable(e.second.path) + "\"";
        }
    }
    for (const auto& a : actual) {
        if (expected.count(a.first) == 0)
            return "unexpected key \"" + Printable(a.second.path) + "\"";
    }
    return std::string();
}

// ---------------------------------------------------------------------------
// The files

const char* const kLineEnds[] = {"\n", "\n", "\r\n", "\r\n", "\r", "\n\r", "\r\r\n", ""};

std::string Name(Random& r)
{
    static const char* const kKnown[] = {"Screen", "Grid", "Newbie", "Settings",
                                         "x",      "cx",   "Fav0",   "Start"};
    if (r.Chance(15))
        return r.Pick(kKnown);
    static const char kAlphabet[] = "aAbBzZ09 _.\t\xE9\xC9\xFF\x9F\\";
    std::string name;
    for (int n = r.Below(7); n > 0; --n)
        name += kAlphabet[r.Below(sizeof kAlphabet - 1)];
    return name;
}

std::string Garble(Random& r, std::string line)
{
    static const char kOdd[] = {'\0',   '\x1a', '\r', '\x01', '\x7f', '\x80', '\xA0',
                                '\xFF', '\v',   '\f', '[',    ']',    '=',    '\\'};
    for (int n = r.Chance(20) ? 1 + r.Below(3) : 0; n > 0; --n) {
        char c = kOdd[r.Below(sizeof kOdd)];
        // A Ctrl+Z ends the file; it comes seldom, so files go on after most.
        if (c == '\x1a' && !r.Chance(20))
            c = '\x1b';
        line.insert(static_cast<size_t>(r.Below(static_cast<int>(line.size()) + 1)), 1, c);
    }
    return line;
}

std::string StructuredLine(Random& r)
{
    std::string name = Name(r), value = Name(r);
    switch (r.Below(16)) {
    case 0:
    case 1:
        return "[" + name + "]";
    case 2:
        return "  [ " + name + " ]\t";
    case 3:
        return "[[" + name + "]]";
    case 4:
        return "[" + name;
    case 5:
        return name + "]";
    case 6:
        return "[" + name + "]" + value;
    case 7:
        return "]" + name + "[";
    case 8:
        return r.Chance(50) ? "[]" : "[ \\ ]";
    case 9:
        return "[" + name + "\\" + value + (r.Chance(30) ? "\\" : "") + "]";
    case 10:
        return "[\\" + name + "]";
    case 11:
        return ";" + name + "=" + value;
    case 12:
        return r.Chance(50) ? "" : " \t ";
    case 13:
        return " " + name + " = " + value + " ";
    case 14:
        return name + "=" + value + "=" + Name(r);
    default:
        return r.Chance(20) ? "=" + value : name + "=" + value;
    }
}

// A line of about the length given, as a header or a value, with a bracket
// or an equals sign now and then where a 519-character piece ends.
std::string LongLine(Random& r, int length)
{
    std::string line(static_cast<size_t>(length), 'l');
    for (char& c : line) {
        if (r.Chance(3))
            c = "aZ =[]\t"[r.Below(7)];
    }
    if (r.Chance(40)) {
        line.front() = '[';
        line.back() = ']';
    } else {
        line[static_cast<size_t>(r.Below(length > 4 ? 4 : length))] = '=';
    }
    for (int edge = 517; edge < length && edge <= 522; ++edge) {
        if (r.Chance(10))
            line[static_cast<size_t>(edge)] = "[]=\\"[r.Below(4)];
    }
    return line;
}

std::string MakeFile(int nFile, std::string* pKind)
{
    Random r(kSeed + static_cast<uint64_t>(nFile));
    std::string file;
    int kind = r.Below(20);
    if (kind < 8) {
        *pKind = "lines";
        for (int n = r.Below(30); n > 0; --n)
            file += Garble(r, StructuredLine(r)) + r.Pick(kLineEnds);
    } else if (kind < 11) {
        *pKind = "binary";
        static const char kLikely[] = "[]=\r\n\\ \0";
        for (int n = r.Below(1500); n > 0; --n)
            file +=
                r.Chance(30) ? kLikely[r.Below(sizeof kLikely)] : static_cast<char>(r.Below(256));
    } else if (kind < 14) {
        *pKind = "long lines";
        static const int kLengths[] = {517, 518, 519, 520, 521, 1037, 1038, 1039, 1040};
        for (int n = 1 + r.Below(6); n > 0; --n) {
            if (r.Chance(50))
                file += "[" + Name(r) + "]\n";
            file += Garble(r, LongLine(r, r.Pick(kLengths))) + r.Pick(kLineEnds);
        }
    } else {
        *pKind = "mixed";
        for (int n = r.Below(40); n > 0; --n) {
            if (r.Chance(10))
                file += LongLine(r, 400 + r.Below(700));
            else
                file += Garble(r, StructuredLine(r));
            file += r.Pick(kLineEnds);
        }
    }
    // Now and then no line end at the end of the file.
    if (!file.empty() && r.Chance(20)) {
        while (!file.empty() && (file.back() == '\n' || file.back() == '\r'))
            file.pop_back();
    }
    return file;
}

// A few large files.
std::vector<std::pair<std::string, std::string>> LargeFiles()
{
    std::vector<std::pair<std::string, std::string>> files;
    Random r(kSeed);

    std::string longValue = "[Long]\r\nname=";
    for (int i = 0; i < 100000; ++i)
        longValue += r.Chance(1) ? '=' : static_cast<char>('a' + r.Below(26));
    files.emplace_back("a value line of 100,000 characters", longValue + "\r\nafter=1\r\n");

    std::string crOnly;
    for (int i = 0; i < 5000; ++i)
        crOnly += "[S" + std::to_string(i) + "]\rv=" + std::to_string(i) + "\r";
    files.emplace_back("5,000 sections on CR-only line ends", crOnly);

    std::string sections;
    for (int i = 0; i < 10000; ++i) {
        sections += "[Section" + std::to_string(i) + "]\n";
        sections += "value=" + std::to_string(i) + "\n";
        if (i % 7 == 0)
            sections +=
                "[SECTION" + std::to_string(i / 2) + "]\nsecond=" + std::to_string(i) + "\n";
    }
    files.emplace_back("10,000 sections", sections);

    std::string header = "[" + std::string(100000, 'h') + "]\nlost=1\n[Never]\nnever=1\n";
    files.emplace_back("a header of 100,000 characters", "[First]\nkept=1\n" + header);
    return files;
}

class IniFuzzTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kFuzzBase);
        ::DeleteFileA((WindowsDir() + "\\Quellon.INI").c_str());
    }

    // Imports the file into a fresh key and compares the outcome with the
    // model; "" when they agree.
    std::string Check(const std::string& content)
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kFuzzBase);
        if (!WriteTextFile(WindowsDir() + "\\Quellon.INI", content))
            return "cannot write the file";
        HKEY hBase;
        DWORD dwDisposition = 0;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kFuzzBase, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &hBase, &dwDisposition) != ERROR_SUCCESS ||
            dwDisposition != REG_CREATED_NEW_KEY)
            return "cannot create a fresh base key";
        TestApp().ImportIniFile(hBase);
        ::RegCloseKey(hBase);

        Tree actual;
        std::string error;
        HKEY hRead;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFuzzBase, 0, KEY_READ, &hRead) != ERROR_SUCCESS)
            return "the base key is gone";
        bool bRead = ReadTree(hRead, "", "", &actual, &error);
        ::RegCloseKey(hRead);
        if (!bRead)
            return error;
        return Difference(ModelImport(content), actual);
    }

    // Keeps a failing file for a look at it and reports how to make it again.
    void Report(const std::string& what, const std::string& content, const std::string& diff)
    {
        std::string kept =
            TestDir("ini-fuzz") + "\\failed-" + std::to_string(++m_nFailures) + ".INI";
        WriteTextFile(kept, content);
        ADD_FAILURE() << "seed 0x" << std::hex << kSeed << std::dec << ", " << what << " ("
                      << content.size() << " bytes, kept as " << kept << "): " << diff;
    }

    int m_nFailures = 0;
};

TEST_F(IniFuzzTest, GeneratedFilesImportAsTheRuleSays)
{
    int nKinds[4] = {};
    std::map<std::string, int> features;
    for (int i = 0; i < kSmallFiles && m_nFailures < 5; ++i) {
        std::string kind;
        std::string content = MakeFile(i, &kind);
        nKinds[kind == "lines" ? 0 : kind == "binary" ? 1 : kind == "long lines" ? 2 : 3]++;
        std::string text = TextModeContent(content);
        features["NUL byte"] += content.find('\0') != std::string::npos;
        features["Ctrl+Z"] += content.find('\x1a') != std::string::npos;
        features["CR LF"] += content.find("\r\n") != std::string::npos;
        features["lone CR"] += text.find('\r') != std::string::npos;
        features["no final line end"] += !content.empty() && content.back() != '\n';
        for (const std::string& line : ReadLines(text)) {
            features["piece of 519"] += line.size() == 519;
            features["piece of 518 and LF"] += line.size() == 519 && line.back() == '\n';
        }
        std::string diff = Check(content);
        if (!diff.empty())
            Report("file #" + std::to_string(i) + " (" + kind + ")", content, diff);
    }
    // Every kind of file and every feature was made (a change of the
    // generator shows here).
    for (int n : nKinds)
        EXPECT_GT(n, 50);
    for (const auto& feature : features)
        EXPECT_GT(feature.second, 5) << feature.first;
}

TEST_F(IniFuzzTest, LargeFilesImportAsTheRuleSays)
{
    for (const auto& file : LargeFiles()) {
        std::string diff = Check(file.second);
        if (!diff.empty())
            Report(file.first, file.second, diff);
    }
}

} // namespace
