#include "common/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/XmlWriter.h"

using namespace testsupport;

namespace {

class XmlDocumentTest : public ::testing::Test {
protected:
    static std::string Text(const std::wstring& path)
    {
        Bytes b = ReadBytes(path);
        return std::string(b.begin(), b.end());
    }
    // The text of the element's one text node.
    static std::wstring RawText(XmlNode element)
    {
        XmlNodeList texts = XmlSelectNodes(L"text()", element);
        CString s;
        if (texts.GetLength() != 1 || !XmlGetNodeText(texts.Item(0), s))
            return L"<none>";
        return s.str();
    }
    std::vector<std::wstring> FilesIn(const TempDir& dir)
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((dir.Path() + L"*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(fd.cFileName);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        return names;
    }

    TempDir dir;
};

TEST_F(XmlDocumentTest, SavedFileHasTheIndentedFormAndTextUnchanged)
{
    CXmlDocument doc;
    XmlElementPtr root = doc.Create(L"kml", XML_UTF8);
    ASSERT_TRUE(root);
    XmlElementPtr folder = doc.AppendElement(L"Document", root);
    doc.AppendTextElement(L"name", folder, L"  two  blanks ");
    doc.AppendElement(L"empty", folder);
    doc.AppendIntElement(L"n", folder, -42);
    ASSERT_TRUE(doc.Save(dir.File(L"a.kml").c_str()));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
              "<kml>\r\n"
              "\t<Document>\r\n"
              "\t\t<name>  two  blanks </name>\r\n"
              "\t\t<empty/>\r\n"
              "\t\t<n>-42</n>\r\n"
              "\t</Document>\r\n"
              "</kml>\r\n",
              Text(dir.File(L"a.kml")));
}

TEST_F(XmlDocumentTest, EmptyRootIsWrittenWithDeclaration)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.Create(L"kml", XML_UTF8));
    ASSERT_TRUE(doc.Save(dir.File(L"e.kml").c_str()));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<kml/>\r\n", Text(dir.File(L"e.kml")));
}

struct EncodingCase {
    int encoding;
    const char* start;      // first bytes of the file
    std::string tokyo;      // how 東京 is stored
};

void PrintTo(const EncodingCase& c, std::ostream* os)
{
    *os << (c.encoding == XML_SHIFT_JIS ? "ShiftJis" : c.encoding == XML_UTF8 ? "Utf8" : "Utf16");
}

class XmlEncodingTest : public XmlDocumentTest, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(XmlEncodingTest, RoundTripsTextAttributesAndMarkupCharacters)
{
    const EncodingCase& c = GetParam();
    const std::wstring tricky = L"\x6771\x4EAC & <b> \"q\" 'a' ]]> caf\x00E9 \x20AC \xD83D\xDE00 \x00A5 line\nnext\ttab";
    const std::wstring attr = L"a\"b<c>&d\te\nf \x6771\x00E4";
    {
        CXmlDocument doc;
        XmlElementPtr root = doc.Create(L"root", c.encoding);
        ASSERT_TRUE(root);
        XmlElementPtr item = doc.AppendTextElement(L"item", root, tricky.c_str());
        ASSERT_TRUE(XmlSetAttribute(item, L"note", attr.c_str()));
        ASSERT_TRUE(doc.Save(dir.File(L"enc.xml").c_str()));
    }
    std::string bytes = Text(dir.File(L"enc.xml"));
    EXPECT_EQ(0u, bytes.find(c.start)) << bytes.substr(0, 80);
    EXPECT_NE(std::string::npos, bytes.find(c.tokyo));

    CXmlDocument back;
    XmlElementPtr root = back.Load(dir.File(L"enc.xml").c_str());
    ASSERT_TRUE(root);
    XmlElementPtr item = XmlGetChildElement(root, L"item", 0);
    EXPECT_EQ(tricky, RawText(item));
    CString value;
    EXPECT_TRUE(XmlGetAttribute(item, L"note", value));
    EXPECT_EQ(attr, value.str());
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, XmlEncodingTest,
    ::testing::Values(
        EncodingCase{XML_SHIFT_JIS, "<?xml version=\"1.0\" encoding=\"Shift_JIS\" standalone=\"no\"?>\r\n<root>",
                     "\x93\x8C\x8B\x9E"},
        EncodingCase{XML_UTF8, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>",
                     "\xE6\x9D\xB1\xE4\xBA\xAC"},
        EncodingCase{XML_UTF16, "\xFF\xFE<\0?\0x\0m\0l\0", std::string("\x71\x67\xAC\x4E", 4)}));

TEST_F(XmlDocumentTest, CreateRefusesUnknownEncodingsAndBadRootNames)
{
    CXmlDocument doc;
    EXPECT_FALSE(doc.Create(L"kml", 3));
    EXPECT_FALSE(doc.Create(L"kml", -1));
    EXPECT_FALSE(doc.Create(nullptr, XML_UTF8));
    EXPECT_FALSE(doc.Create(L"a b", XML_UTF8));
    EXPECT_FALSE(doc.Create(L"<x>", XML_UTF8));
    EXPECT_TRUE(doc.Create(L"gpx", XML_SHIFT_JIS));
}

TEST_F(XmlDocumentTest, LoadsShiftJisFilesThroughCodePage932)
{
    WriteBytes(dir.File(L"sjis.xml"),
               std::string("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<r><n>\x93\x8C\x8B\x9E\xB1</n></r>"));
    CXmlDocument doc;
    XmlElementPtr root = doc.Load(dir.File(L"sjis.xml").c_str());
    ASSERT_TRUE(root);
    CString text;
    ASSERT_TRUE(XmlGetChildText(L"n", root, 0, text));
    EXPECT_STREQ(L"\x6771\x4EAC\xFF71", text);  // half-width kana included
    // A load does not change the save encoding.
    EXPECT_EQ(XML_SHIFT_JIS, doc.GetEncoding());
}

TEST_F(XmlDocumentTest, LoadsOtherEncodingsAndBytesOrderMarks)
{
    struct Case { const char* name; std::string bytes; };
    const Case cases[] = {
        {"utf8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>caf\xC3\xA9</r>"},
        {"utf8 bom", "\xEF\xBB\xBF<r>caf\xC3\xA9</r>"},
        {"latin1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>caf\xE9</r>"},
        {"utf16", std::string("\xFF\xFE<\0r\0>\0c\0a\0f\0\xE9\0<\0/\0r\0>\0", 24)},
    };
    for (const Case& c : cases) {
        WriteBytes(dir.File(L"in.xml"), c.bytes);
        CXmlDocument doc;
        XmlElementPtr root = doc.Load(dir.File(L"in.xml").c_str());
        ASSERT_TRUE(root) << c.name;
        CString text;
        EXPECT_TRUE(XmlGetNodeText(root, text));
        EXPECT_STREQ(L"caf\x00E9", text) << c.name;
    }
}

TEST_F(XmlDocumentTest, LoadFailsCleanlyOnBadInput)
{
    struct Case { const char* name; std::string bytes; };
    const Case cases[] = {
        {"empty", ""},
        {"not closed", "<r><a></r>"},
        {"truncated", "<?xml version=\"1.0\"?><r><a>text</a"},
        {"two roots", "<a/><b/>"},
        {"declaration only", "<?xml version=\"1.0\"?>"},
        {"garbage", std::string("\x00\x01\x02\xFF\xFE\x80garbage", 12)},
        {"bad shift_jis bytes", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r>\x81</r>"},
        {"unknown encoding", "<?xml version=\"1.0\" encoding=\"x-no-such-charset\"?><r/>"},
        {"bad utf8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>\xC3\x28</r>"},
    };
    for (const Case& c : cases) {
        WriteBytes(dir.File(L"bad.xml"), c.bytes);
        CXmlDocument doc;
        EXPECT_FALSE(doc.Load(dir.File(L"bad.xml").c_str())) << c.name;
    }
    CXmlDocument doc;
    EXPECT_FALSE(doc.Load(dir.File(L"missing.xml").c_str()));
    EXPECT_FALSE(doc.Load(dir.Path().c_str()));
    EXPECT_FALSE(doc.Load(L""));
    EXPECT_FALSE(doc.Load(nullptr));
}

// Shapes the parser takes minutes over are refused before it sees them, in
// every encoding; files of real shape (many attributes, long closed comments,
// deep but bounded nesting) still load.
std::string Attributes(int n, const char* prefix)
{
    std::string s = "<r";
    for (int i = 0; i < n; ++i)
        s += std::string(" ") + prefix + std::to_string(i) + "=\"v\"";
    return s + "/>";
}

std::string Nested(int depth)
{
    std::string s;
    for (int i = 0; i < depth; ++i)
        s += "<a>";
    for (int i = 0; i < depth; ++i)
        s += "</a>";
    return s;
}

std::string Utf16(const std::string& ascii)
{
    std::string s = "\xFF\xFE";
    for (char c : ascii) {
        s += c;
        s += '\0';
    }
    return s;
}

TEST_F(XmlDocumentTest, InputThatWouldHoldTheParserForMinutesIsRefusedFirst)
{
    struct Case { const char* name; std::string bytes; bool loads; };
    const std::string comment(1 << 20, 'c');
    const Case cases[] = {
        {"100,000 attributes", Attributes(100000, "a"), false},
        {"100,000 namespace declarations", Attributes(100000, "xmlns:n"), false},
        {"1 MB comment never closed", "<r><!--" + comment, false},
        {"1 MB comment never closed, UTF-16", Utf16("<r><!--" + comment), false},
        // Shift_JIS files are decoded here and handed over as text.
        {"1 MB comment never closed, Shift_JIS", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r><!--" + comment, false},
        {"Shift_JIS file of real shape", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" + Attributes(300, "a"), true},
        {"CDATA never closed", "<r><![CDATA[" + comment, false},
        {"processing instruction never closed", "<r/><?pi " + comment, false},
        {"tag never closed", "<r a=\"" + comment, false},
        {"declaration never closed", "<!DOCTYPE r [" + comment, false},
        {"100,000 levels", Nested(100000), false},
        {"500 attributes", Attributes(500, "a"), true},
        {"1 MB comment closed", "<r><!--" + comment + "--></r>", true},
        {"200 levels", Nested(200), true},
        {"markup characters inside values and comments",
         "<r a=\"1>2\" b='x=y'><!-- <r> = '\" --><![CDATA[<a=b>]]></r>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.File(L"big.xml"), c.bytes);
        CXmlDocument doc;
        EXPECT_EQ(c.loads, doc.Load(dir.File(L"big.xml").c_str()) != nullptr);
    }
}

TEST_F(XmlDocumentTest, PathsWithUrlCharactersAreFiles)
{
    std::wstring path = dir.File(L"a#b %20 \x6771.xml");
    WriteBytes(path, std::string("<r>x</r>"));
    CXmlDocument doc;
    ASSERT_TRUE(doc.Load(path.c_str()));
    doc.Create(L"s", XML_UTF8);
    EXPECT_TRUE(doc.Save(path.c_str()));
    EXPECT_EQ(0u, Text(path).find("<?xml"));
}

TEST_F(XmlDocumentTest, FailedSaveLeavesTheOldFile)
{
    const std::wstring path = dir.File(L"keep.xml");
    const std::string old = "<old>content</old>";
    WriteBytes(path, old);

    // A document without root (a load that failed) must not replace the file.
    CXmlDocument empty;
    EXPECT_FALSE(empty.Load(dir.File(L"missing.xml").c_str()));
    EXPECT_FALSE(empty.Save(path.c_str()));
    EXPECT_EQ(old, Text(path));

    // The target is held open without sharing.
    CXmlDocument doc;
    ASSERT_TRUE(doc.Create(L"new", XML_UTF8));
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_FALSE(doc.Save(path.c_str()));
    CloseHandle(lock);
    EXPECT_EQ(old, Text(path));

    // A closed document, a missing folder, a folder as target.
    CXmlDocument closed;
    closed.Create(L"x", XML_UTF8);
    closed.Close();
    EXPECT_FALSE(closed.Save(path.c_str()));
    EXPECT_FALSE(closed.Create(L"x", XML_UTF8));
    EXPECT_FALSE(doc.Save(dir.File(L"no\\such\\folder\\x.xml").c_str()));
    CreateDirectoryW(dir.File(L"sub").c_str(), nullptr);
    EXPECT_FALSE(doc.Save(dir.File(L"sub").c_str()));
    EXPECT_EQ(old, Text(path));

    // Nothing but the old file is left behind.
    std::vector<std::wstring> files = FilesIn(dir);
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(L"keep.xml", files[0]);

    EXPECT_TRUE(doc.Save(path.c_str()));
    EXPECT_EQ(0u, Text(path).find("<?xml"));
}

TEST_F(XmlDocumentTest, LoadedDocumentKeepsCommentsAndMixedContent)
{
    const std::string src =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- top -->\n<r a=\"1\">\n  <!-- c -->\n  <p>one <b>two</b> three</p>\n"
        "  <e/>\n  <d><![CDATA[x < y]]></d>\n</r>\n";
    WriteBytes(dir.File(L"m.xml"), src);
    CXmlDocument doc;
    doc.Create(L"ignored", XML_UTF8);
    ASSERT_TRUE(doc.Load(dir.File(L"m.xml").c_str()));
    ASSERT_TRUE(doc.Save(dir.File(L"m2.xml").c_str()));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
              "<!-- top -->\r\n"
              "<r a=\"1\">\r\n"
              "\t<!-- c -->\r\n"
              "\t<p>one <b>two</b> three</p>\r\n"
              "\t<e/>\r\n"
              "\t<d><![CDATA[x < y]]></d>\r\n"
              "</r>\r\n",
              Text(dir.File(L"m2.xml")));
}

TEST_F(XmlDocumentTest, NamespaceDeclarationsSurviveASave)
{
    WriteBytes(dir.File(L"ns.kml"),
               std::string("<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">"
                           "<Document><gx:Track><gx:coord>1 2 3</gx:coord></gx:Track></Document></kml>"));
    CXmlDocument doc;
    ASSERT_TRUE(doc.Load(dir.File(L"ns.kml").c_str()));
    ASSERT_TRUE(doc.Save(dir.File(L"ns2.kml").c_str()));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"Shift_JIS\" standalone=\"no\"?>\r\n"
              "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\r\n"
              "\t<Document>\r\n"
              "\t\t<gx:Track>\r\n"
              "\t\t\t<gx:coord>1 2 3</gx:coord>\r\n"
              "\t\t</gx:Track>\r\n"
              "\t</Document>\r\n"
              "</kml>\r\n",
              Text(dir.File(L"ns2.kml")));
    CXmlDocument back;
    XmlElementPtr root = back.Load(dir.File(L"ns2.kml").c_str());
    ASSERT_TRUE(root);
    EXPECT_TRUE(XmlGetChildElement(XmlGetChildElement(root, L"Document", 0), L"gx:Track", 0));

    // A declaration added through the DOM is written too.
    CXmlDocument made;
    XmlElementPtr kml = made.Create(L"kml", XML_UTF8);
    ASSERT_TRUE(XmlSetAttribute(kml, L"xmlns", L"http://www.opengis.net/kml/2.2"));
    made.AppendElement(L"Document", kml);
    ASSERT_TRUE(made.Save(dir.File(L"ns3.kml").c_str()));
    EXPECT_NE(std::string::npos, Text(dir.File(L"ns3.kml")).find("<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"))
        << Text(dir.File(L"ns3.kml"));
}

TEST_F(XmlDocumentTest, ChildElementHelpers)
{
    WriteBytes(dir.File(L"h.xml"),
               std::string("<r><!-- first --><?pi x?><item>a</item><Item>B</Item><item>c</item>text<item k=\"v\">d</item></r>"));
    CXmlDocument doc;
    XmlElementPtr root = doc.Load(dir.File(L"h.xml").c_str());
    ASSERT_TRUE(root);
    EXPECT_EQ(3, XmlCountChildElements(root, L"item"));  // "Item" is not counted
    EXPECT_EQ(1, XmlCountChildElements(root, L"Item"));
    EXPECT_EQ(0, XmlCountChildElements(nullptr, L"item"));

    // Comments, processing instructions and text before the element are passed over.
    CString text;
    ASSERT_TRUE(XmlGetNodeText(XmlGetChildElement(root, L"item", 0), text));
    EXPECT_STREQ(L"a", text);
    ASSERT_TRUE(XmlGetNodeText(XmlGetChildElement(root, L"item", 2), text));
    EXPECT_STREQ(L"d", text);
    EXPECT_FALSE(XmlGetChildElement(root, L"item", 3));
    EXPECT_FALSE(XmlGetChildElement(root, L"item", -1));
    EXPECT_FALSE(XmlGetChildElement(root, L"ITEM", 0));

    CString value = L"stale";
    EXPECT_TRUE(XmlGetAttribute(XmlGetChildElement(root, L"item", 2), L"k", value));
    EXPECT_STREQ(L"v", value);
    value = L"stale";
    EXPECT_FALSE(XmlGetAttribute(XmlGetChildElement(root, L"item", 2), L"missing", value));
    EXPECT_TRUE(value.IsEmpty());

    EXPECT_TRUE(XmlRemoveChildElement(root, L"item", 1));
    ASSERT_TRUE(XmlGetNodeText(XmlGetChildElement(root, L"item", 1), text));
    EXPECT_STREQ(L"d", text);
    EXPECT_FALSE(XmlRemoveChildElement(root, L"item", 5));

    CString name;
    EXPECT_TRUE(XmlGetNodeName(root, name));
    EXPECT_STREQ(L"r", name);
}

TEST_F(XmlDocumentTest, SelectHelpers)
{
    WriteBytes(dir.File(L"s.xml"), std::string("<r><poi id=\"1\"><name>A</name></poi><poi id=\"2\"><name>B</name></poi></r>"));
    CXmlDocument doc;
    XmlElementPtr root = doc.Load(dir.File(L"s.xml").c_str());
    ASSERT_TRUE(root);
    XmlNodeListPtr list = XmlSelectNodes(L"poi", root);
    ASSERT_TRUE(list);
    EXPECT_EQ(2, list.GetLength());
    EXPECT_TRUE(XmlGetListElement(list, 1));
    EXPECT_FALSE(XmlGetListElement(list, 2));
    EXPECT_FALSE(XmlSelectNode(L"poi", root, 2));
    CString text;
    EXPECT_TRUE(XmlGetChildText(L"//poi[@id='2']/name", root, 0, text));
    EXPECT_STREQ(L"B", text);
    EXPECT_FALSE(XmlGetChildText(L"poi/name", root, 2, text));
    XmlNodeListPtr attrs = XmlSelectNodes(L"poi/@id", root);
    EXPECT_FALSE(XmlGetListElement(attrs, 0));  // an attribute is not an element
}

TEST_F(XmlDocumentTest, ChildIntAcceptsOnlyExactDecimalText)
{
    struct Case { const wchar_t* text; BOOL ok; int value; };
    const Case cases[] = {
        {L"+12", TRUE, 12}, {L"12", TRUE, 12}, {L"-7", TRUE, -7}, {L"012", FALSE, 12}, {L"5.0", FALSE, 5},
        {L"5x", FALSE, 5},  {L"1 2", FALSE, 1}, {L"", FALSE, 0},   {L"abc", FALSE, 0},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        XmlElementPtr root = doc.Create(L"r", XML_UTF8);
        doc.AppendTextElement(L"v", root, c.text);
        int value = 999;
        EXPECT_EQ(c.ok, XmlGetChildInt(root, L"v", 0, &value)) << "'" << Utf8(c.text) << "'";
        EXPECT_EQ(c.value, value) << "'" << Utf8(c.text) << "'";
    }
    CXmlDocument doc;
    XmlElementPtr root = doc.Create(L"r", XML_UTF8);
    int value = 999;
    EXPECT_FALSE(XmlGetChildInt(root, L"missing", 0, &value));
    EXPECT_EQ(999, value);
}

TEST_F(XmlDocumentTest, InsertElementBeforeKeepsOrder)
{
    CXmlDocument doc;
    XmlElementPtr root = doc.Create(L"r", XML_UTF16);
    XmlElementPtr b = doc.AppendElement(L"b", root);
    doc.InsertElementBefore(L"a", root, b);
    doc.InsertElementBefore(L"c", root, nullptr);
    CString n0, n1, n2;
    XmlGetNodeName(XmlSelectNode(L"*", root, 0), n0);
    XmlGetNodeName(XmlSelectNode(L"*", root, 1), n1);
    XmlGetNodeName(XmlSelectNode(L"*", root, 2), n2);
    EXPECT_STREQ(L"a", n0);
    EXPECT_STREQ(L"b", n1);
    EXPECT_STREQ(L"c", n2);
    EXPECT_FALSE(doc.AppendElement(L"bad name", root));
    EXPECT_FALSE(doc.AppendElement(L"a<b", root));
    EXPECT_FALSE(doc.AppendElement(L"1st", root));
    EXPECT_FALSE(doc.AppendElement(L"", root));
    EXPECT_TRUE(doc.AppendElement(L"gx:Track", root));
    EXPECT_FALSE(doc.AppendElement(L"x", nullptr));
}

TEST_F(XmlDocumentTest, LargeDocumentRoundTrips)
{
    CXmlDocument doc;
    XmlElementPtr root = doc.Create(L"r", XML_SHIFT_JIS);
    for (int i = 0; i < 20000; ++i)
        doc.AppendIntElement(L"v", root, i);
    ASSERT_TRUE(doc.Save(dir.File(L"big.xml").c_str()));
    CXmlDocument back;
    XmlElementPtr r = back.Load(dir.File(L"big.xml").c_str());
    ASSERT_TRUE(r);
    EXPECT_EQ(20000, XmlCountChildElements(r, L"v"));
    int value = 0;
    EXPECT_TRUE(XmlGetChildInt(r, L"v", 19999, &value));
    EXPECT_EQ(19999, value);
}

}  // namespace

namespace {

// The element-by-element writer gives the bytes the DOM walk gives, in every
// encoding: nesting, an attribute, empty and childless elements, escapes,
// characters Shift_JIS cannot hold, a pair of surrogates, a control character.
TEST_F(XmlDocumentTest, StreamWriterGivesTheBytesOfTheDomWriter)
{
    const wchar_t* texts[] = {L"plain", L"", L"a<b> & \"c\" \r\n\tend", L"\u6771\u4EAC \u00E9 \u0141", L"\U0001F600 x\x01y", L"lone\rcr\r\r\nend\r"};
    for (int encoding = 0; encoding <= 2; ++encoding) {
        SCOPED_TRACE(encoding);
        CXmlDocument doc;
        XmlElementPtr root = doc.Create(L"kml", encoding);
        ASSERT_TRUE(root);
        ASSERT_TRUE(XmlSetAttribute(root, L"xmlns", L"urn:x & \"y\""));
        XmlElementPtr outer = doc.AppendElement(L"Document", root);
        for (const wchar_t* t : texts)
            ASSERT_TRUE(doc.AppendTextElement(L"name", outer, t));
        XmlElementPtr inner = doc.AppendElement(L"Folder", outer);
        doc.AppendElement(L"empty", inner);
        doc.AppendTextElement(L"last", inner, L"1");
        ASSERT_TRUE(doc.Save(dir.File(L"dom.xml").c_str()));

        CXmlStreamWriter stream(encoding);
        stream.StartElement(L"kml", L"xmlns", L"urn:x & \"y\"");
        stream.StartElement(L"Document");
        for (const wchar_t* t : texts)
            stream.TextElement(L"name", t);
        stream.StartElement(L"Folder");
        stream.StartElement(L"empty");
        stream.EndElement();
        stream.TextElement(L"last", L"1");
        std::string bytes;
        ASSERT_TRUE(stream.Finish(bytes));
        const Bytes dom = ReadBytes(dir.File(L"dom.xml"));
        EXPECT_EQ(std::string(dom.begin(), dom.end()), bytes);
    }
}

}  // namespace
