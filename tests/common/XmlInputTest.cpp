// Files in every encoding a user's XML may come in, read back as the right
// characters, and hostile documents refused or read safely, quickly.
#include "common/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"

using namespace testsupport;

namespace {

std::string Decl(const char* encoding)
{
    return std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>";
}

// Each ASCII character as two bytes, in either order.
std::string Wide(const std::string& ascii, bool bigEndian)
{
    std::string s;
    for (char c : ascii) {
        s += bigEndian ? '\0' : c;
        s += bigEndian ? c : '\0';
    }
    return s;
}

std::string WideChars(const std::wstring& text, bool bigEndian)
{
    std::string s;
    for (wchar_t c : text) {
        char hi = static_cast<char>((c >> 8) & 0xFF), lo = static_cast<char>(c & 0xFF);
        s += bigEndian ? hi : lo;
        s += bigEndian ? lo : hi;
    }
    return s;
}

// <r><n a="TEXT">TEXT</n></r> with the text given in its encoded bytes.
std::string Doc8(const std::string& head, const std::string& text)
{
    return head + "<r><n a=\"" + text + "\">" + text + "</n></r>";
}

std::string Doc16(const std::wstring& text, bool bigEndian, bool mark, bool declared)
{
    std::string s;
    if (mark)
        s += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    if (declared)
        s += Wide(Decl("UTF-16"), bigEndian);
    s += Wide("<r><n a=\"", bigEndian) + WideChars(text, bigEndian) + Wide("\">", bigEndian) +
         WideChars(text, bigEndian) + Wide("</n></r>", bigEndian);
    return s;
}

struct EncodedFile {
    const char* name;
    std::string bytes;
    std::wstring text;  // empty: the load must fail
};

void PrintTo(const EncodedFile& c, std::ostream* os) { *os << c.name; }

class XmlEncodingTable : public ::testing::TestWithParam<EncodedFile> {
protected:
    TempDir dir;
};

TEST_P(XmlEncodingTable, ReadsTheRightCharactersOrFails)
{
    const EncodedFile& c = GetParam();
    WriteBytes(dir.File(L"in.xml"), c.bytes);
    CXmlDocument doc;
    XmlElementPtr root = doc.Load(dir.File(L"in.xml").c_str());
    if (c.text.empty()) {
        EXPECT_FALSE(root);
        return;
    }
    ASSERT_TRUE(root);
    CString text, attribute;
    ASSERT_TRUE(XmlGetChildText(L"n", root, 0, text));
    EXPECT_EQ(c.text, text.str());
    ASSERT_TRUE(XmlGetAttribute(XmlGetChildElement(root, L"n", 0), L"a", attribute));
    EXPECT_EQ(c.text, attribute.str());
}

const std::wstring kTokyo = L"\x6771\x4EAC \x30BF\x30EF\x30FC";  // 東京 タワー
const std::wstring kMixed = L"caf\x00E9 \x00C6r\x00F8 \x00FF \x6771\x4EAC \x00DF";

INSTANTIATE_TEST_SUITE_P(
    Xml, XmlEncodingTable,
    ::testing::Values(
        EncodedFile{"Utf8Declared", Doc8(Decl("UTF-8"), "caf\xC3\xA9 \xC3\x86r\xC3\xB8 \xC3\xBF \xE6\x9D\xB1\xE4\xBA\xAC \xC3\x9F"), kMixed},
        EncodedFile{"Utf8LowerCaseName", Doc8(Decl("utf-8"), "\xE6\x9D\xB1\xE4\xBA\xAC"), L"\x6771\x4EAC"},
        EncodedFile{"Utf8Mark", "\xEF\xBB\xBF" + Doc8("", "\xE6\x9D\xB1\xE4\xBA\xAC"), L"\x6771\x4EAC"},
        EncodedFile{"UndeclaredIsUtf8", Doc8("", "caf\xC3\xA9"), L"caf\x00E9"},
        EncodedFile{"UndeclaredLatin1BytesAreNoUtf8", Doc8("", "caf\xE9"), L""},
        EncodedFile{"Utf16LeMark", Doc16(kMixed, false, true, true), kMixed},
        EncodedFile{"Utf16BeMark", Doc16(kMixed, true, true, true), kMixed},
        EncodedFile{"Utf16LeNoMark", Doc16(kTokyo, false, false, true), kTokyo},
        EncodedFile{"Utf16BeNoMark", Doc16(kTokyo, true, false, true), kTokyo},
        EncodedFile{"Utf16LeUndeclared", Doc16(kTokyo, false, true, false), kTokyo},
        EncodedFile{"Utf16WrongOrder", "\xFF\xFE" + Doc16(kTokyo, true, false, true), L""},
        EncodedFile{"Utf16NameOnByteText", Doc8(Decl("UTF-16"), "abc"), L""},
        EncodedFile{"ShiftJis", Doc8(Decl("Shift_JIS"), "\x93\x8C\x8B\x9E \x83\x5E\x83\x8F\x81\x5B \xB1"),
                    L"\x6771\x4EAC \x30BF\x30EF\x30FC \xFF71"},
        EncodedFile{"ShiftJisOtherName", Doc8(Decl("windows-31j"), "\x93\x8C\x8B\x9E"), L"\x6771\x4EAC"},
        EncodedFile{"ShiftJisBrokenBytes", Doc8(Decl("Shift_JIS"), "\x93"), L""},
        EncodedFile{"Latin1", Doc8(Decl("ISO-8859-1"), "caf\xE9 \xC6r\xF8 \xFF \xDF"),
                    L"caf\x00E9 \x00C6r\x00F8 \x00FF \x00DF"},
        EncodedFile{"Windows1252", Doc8(Decl("windows-1252"), "\x80 \x93q\x94 caf\xE9"), L"\x20AC \x201Cq\x201D caf\x00E9"},
        EncodedFile{"Windows1251", Doc8(Decl("windows-1251"), "\xCC\xEE\xF1\xEA\xE2\xE0"),
                    L"\x041C\x043E\x0441\x043A\x0432\x0430"},
        EncodedFile{"Koi8R", Doc8(Decl("KOI8-R"), "\xED\xCF\xD3\xCB\xD7\xC1"), L"\x041C\x043E\x0441\x043A\x0432\x0430"},
        EncodedFile{"Iso8859_7", Doc8(Decl("ISO-8859-7"), "\xC1\xE8\xDE\xED\xE1"), L"\x0391\x03B8\x03AE\x03BD\x03B1"},
        EncodedFile{"Gbk", Doc8(Decl("GBK"), "\xB1\xB1\xBE\xA9"), L"\x5317\x4EAC"},
        EncodedFile{"Big5", Doc8(Decl("Big5"), "\xA5\x78\xA5\x5F"), L"\x53F0\x5317"},
        EncodedFile{"UnknownName", Doc8(Decl("x-no-such-charset"), "abc"), L""},
        EncodedFile{"BrokenUtf8", Doc8(Decl("UTF-8"), "\xC3\x28"), L""},
        EncodedFile{"ControlCharacter", Doc8("", "a\x01" "b"), L""}),
    [](const ::testing::TestParamInfo<EncodedFile>& info) { return std::string(info.param.name); });

// Hostile documents: each load ends within a second, and either fails or gives
// a document that holds nothing the file did not hold literally.
class XmlHostileInput : public ::testing::Test {
protected:
    // Loads bytes; the root, or NULL when the load failed. ms: how long the load took.
    XmlElementPtr Load(const std::string& bytes, CXmlDocument& doc, double& ms)
    {
        WriteBytes(dir.File(L"h.xml"), bytes);
        LARGE_INTEGER f, a, b;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&a);
        XmlElementPtr loaded = doc.Load(dir.File(L"h.xml").c_str());
        QueryPerformanceCounter(&b);
        ms = static_cast<double>(b.QuadPart - a.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
        return loaded;
    }
    static std::string Repeat(const std::string& s, int n)
    {
        std::string r;
        r.reserve(s.size() * static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            r += s;
        return r;
    }
    TempDir dir;
};

TEST_F(XmlHostileInput, EntitiesAreNeverExpanded)
{
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY lol \"lol\">\n";
    laughs += "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n";
    for (int i = 2; i <= 9; ++i)
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"" + Repeat("&lol" + std::to_string(i - 1) + ";", 10) +
                  "\">\n";
    laughs += "]>\n<r><n>&lol9;</n></r>";
    CXmlDocument doc;
    double ms = 0;
    if (XmlElementPtr root = Load(laughs, doc, ms)) {
        CString text;
        ASSERT_TRUE(XmlGetChildText(L"n", root, 0, text));
        EXPECT_LT(text.GetLength(), 100) << "an entity was expanded";
        EXPECT_EQ(-1, text.Find(L"lollol"));
    }
    EXPECT_LT(ms, 1000.0);
}

TEST_F(XmlHostileInput, ExternalEntitiesAndDocumentTypesAreNeverRead)
{
    const std::wstring secret = dir.File(L"secret.txt");
    WriteBytes(secret, std::string("TOPSECRET"));
    std::string url = "file:///";
    for (wchar_t c : secret)
        url += c == L'\\' ? '/' : static_cast<char>(c);
    const std::string files[] = {
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"" + url + "\">]><r><n>&x;</n></r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + url + "\"> %p;]><r><n>a</n></r>",
        "<!DOCTYPE r SYSTEM \"" + url + "\"><r><n>a</n></r>",
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]><r><n a=\"&x;\">&x;</n></r>",
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        CXmlDocument doc;
        double ms = 0;
        if (XmlElementPtr root = Load(file, doc, ms)) {
            CString text, attribute;
            XmlGetChildText(L"n", root, 0, text);
            XmlGetAttribute(XmlGetChildElement(root, L"n", 0), L"a", attribute);
            EXPECT_EQ(-1, text.Find(L"TOPSECRET"));
            EXPECT_EQ(-1, attribute.Find(L"TOPSECRET"));
            ASSERT_TRUE(doc.Save(dir.File(L"out.xml").c_str()));
            Bytes out = ReadBytes(dir.File(L"out.xml"));
            EXPECT_EQ(std::string::npos, std::string(out.begin(), out.end()).find("TOPSECRET"));
            // The document type is written back as it was read, and the file loads again.
            EXPECT_NE(std::string::npos, std::string(out.begin(), out.end()).find("<!DOCTYPE r "));
            CXmlDocument again;
            EXPECT_TRUE(again.Load(dir.File(L"out.xml").c_str()));
        }
        EXPECT_LT(ms, 1000.0);
    }
}

TEST_F(XmlHostileInput, PathologicalShapesAreRefusedQuickly)
{
    struct Case { const char* name; std::string bytes; };
    const Case cases[] = {
        {"10,000 levels", Repeat("<a>", 10000) + Repeat("</a>", 10000)},
        {"10,000 levels never closed", Repeat("<a>", 10000)},
        {"100,000 attributes", "<r" + [] {
             std::string s;
             for (int i = 0; i < 100000; ++i)
                 s += " a" + std::to_string(i) + "=\"v\"";
             return s;
         }() + "/>"},
        {"1 MB comment never closed", "<r><!--" + std::string(1 << 20, 'c')},
        {"1 MB attribute never closed", "<r a=\"" + std::string(1 << 20, 'v')},
        {"1 MB CDATA never closed", "<r><![CDATA[" + std::string(1 << 20, 'd')},
        {"1 MB document type never closed", "<!DOCTYPE r [" + std::string(1 << 20, '<')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CXmlDocument doc;
        double ms = 0;
        EXPECT_FALSE(Load(c.bytes, doc, ms));
        EXPECT_LT(ms, 1000.0);
    }
}

TEST_F(XmlHostileInput, EveryTruncationOfASmallFileFails)
{
    const std::string file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml xmlns=\"urn:k\"><Document>"
                             "<!-- c --><Placemark id=\"p&amp;1\"><name>T\xC3\xB4ky\xC5\x8D &lt;\xE6\x9D\xB1\xE4\xBA\xAC&gt;</name>"
                             "<d><![CDATA[x < y]]></d><e/></Placemark></Document></kml>";
    CXmlDocument whole;
    double ms = 0;
    ASSERT_TRUE(Load(file, whole, ms));
    for (size_t n = 0; n < file.size(); ++n) {
        CXmlDocument doc;
        EXPECT_FALSE(Load(file.substr(0, n), doc, ms)) << "cut after " << n << " bytes";
        EXPECT_LT(ms, 1000.0);
    }
}

}  // namespace
