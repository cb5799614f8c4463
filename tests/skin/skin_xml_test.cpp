#include "ui/skin/skin_xml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/test_text.h"

namespace {

using kelo_test::U8;
using kelo_test::W;
using SkinUI::CSkinXml;
using SkinUI::CSkinXmlNode;

// Element names in document order, each as depth:name, so the table below can
// state a whole tree in one string.
void OutlineFrom(CSkinXmlNode node, int depth, std::string* out) {
    for (; node.IsValid(); node = node.NextSibling()) {
        if (!out->empty()) *out += ' ';
        *out += std::to_string(depth) + ":" + U8(node.Name());
        OutlineFrom(node.FirstChild(), depth + 1, out);
    }
}

std::string Outline(const CSkinXml& doc) {
    std::string out;
    OutlineFrom(doc.RootNode(), 0, &out);
    return out;
}

struct GrammarCase {
    const char* xml;
    const char* outline;  // expected tree when the parse succeeds
};

TEST(SkinXmlGrammar, AcceptedDocuments) {
    const GrammarCase cases[] = {
        {"", ""},
        {"  \r\n\t ", ""},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?><!-- c --><?pi x?>", ""},
        {"<Window size=\"1,2\"><Font/></Window>", "0:Window 1:Font"},
        {"<?xml version=\"1.0\"?>\n<a>\n <b/>\n <!-- between -->\n <c></c>\n</a>", "0:a 1:b 1:c"},
        {"<a/>", "0:a"},
        {"<a />", "0:a"},
        {"<a x=\"1\"/>", "0:a"},
        {"< a ></ a >", "0:a"},
        {"<a><b><c/></b><d/></a>", "0:a 1:b 2:c 1:d"},
        {"<a></a><b/>", "0:a 0:b"},
        // A document may end inside the root or inside one of its children.
        {"<a>text", "0:a"},
        {"<a><b>text", "0:a 1:b"},
        {"<a><b/>", "0:a 1:b"},
        {"<a><b/><c/>", "0:a 1:b 1:c"},
        // A closing tag at top level ends the document.
        {"<a/></x>junk", "0:a"},
        // Non-Latin letters are name characters.
        {u8"<窗口 名=\"值\"/>", u8"0:窗口"},
        {"<a:b_c1/>", "0:a:b_c1"},
        // "<!" constructs end at the first "->".
        {"<!DOCTYPE x -><a/>", "0:a"},
        // An unterminated comment runs to the end of the text.
        {"<a/><!-- open", "0:a"},
    };
    for (const GrammarCase& c : cases) {
        CSkinXml doc;
        ASSERT_TRUE(doc.ParseText(W(c.xml))) << c.xml << " -> " << U8(doc.ErrorMessageText());
        EXPECT_EQ(Outline(doc), c.outline) << c.xml;
    }
}

struct ErrorCase {
    const char* xml;
    const char* message;
    const char* location;  // the text at the error point (up to 49 characters)
};

TEST(SkinXmlGrammar, ErrorMessagesAndLocations) {
    const ErrorCase cases[] = {
        {"x<a/>", "Expected start tag", "x<a/>"},
        {"<a>text<b/>more</a>", "Expected start tag", "more</a>"},
        {"<a><b><c>deep", "Expected end-tag start", ""},
        {"<a><b><c/>", "Expected start tag", ""},
        {"<a", "Error parsing element name", ""},
        {"<a x></a>", "Error while parsing attributes", "></a>"},
        {"<a x y=\"1\"/>", "Error while parsing attributes", "y=\"1\"/>"},
        {"<a x='1'/>", "Expected attribute value", "'1'/>"},
        {"<a x=1/>", "Expected attribute value", "1/>"},
        {"<a x=\"1/>", "Error while parsing attribute string", ""},
        {"<a x=\"1\" / >", "Expected start-tag closing", "/ >"},
        {"<a ", "Expected start-tag closing", ""},
        {"<a></b>", "Unmatched closing tag", "b>"},
        {"<a></ab>", "Unmatched closing tag", "b>"},
        {"<a></a x>", "Unmatched closing tag", "x>"},
        {"<a><b></a>", "Unmatched closing tag", "a>"},
        {"<a x=\"1\" x2=\"2\"z>", "Error while parsing attributes", ">"},
    };
    for (const ErrorCase& c : cases) {
        CSkinXml doc;
        EXPECT_FALSE(doc.ParseText(W(c.xml))) << c.xml;
        EXPECT_EQ(U8(doc.ErrorMessageText()), c.message) << c.xml;
        EXPECT_EQ(U8(doc.ErrorLocationText()), c.location) << c.xml;
        EXPECT_FALSE(doc.RootNode().IsValid()) << c.xml;
        EXPECT_EQ(doc.ElementCount(), 0u) << "a failed load leaves the document empty: " << c.xml;
    }
}

TEST(SkinXmlGrammar, ErrorLocationIsCutTo49Characters) {
    CSkinXml doc;
    std::string xml = "x" + std::string(200, 'y');
    EXPECT_FALSE(doc.ParseText(W(xml)));
    EXPECT_EQ(U8(doc.ErrorLocationText()), xml.substr(0, 49));
    SkinUI::UiChar small[6] = {};
    doc.ErrorMessage(small, 6);
    EXPECT_EQ(U8(small), "Expec");
    doc.ErrorLocation(small, 1);
    EXPECT_EQ(U8(small), "");
}

TEST(SkinXmlNode, WindowWithSizeAndFontChild) {
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W("<Window size=\"400,300\"><Font name=\"x\" /></Window>")));
    EXPECT_EQ(doc.ElementCount(), 3u);
    CSkinXmlNode root = doc.RootNode();
    ASSERT_TRUE(root.IsValid());
    EXPECT_EQ(root.AttributeCount(), 1);
    EXPECT_EQ(U8(root.AttributeName(0)), "size");
    EXPECT_EQ(U8(root.AttributeValue(UI_TEXT("size"))), "400,300");
    EXPECT_TRUE(root.HasChildren());
    EXPECT_FALSE(root.ParentNode().IsValid());
    CSkinXmlNode font = root.FirstChild();
    EXPECT_EQ(U8(font.Name()), "Font");
    EXPECT_EQ(U8(font.ParentNode().Name()), "Window");
    EXPECT_FALSE(font.HasChildren());
    EXPECT_FALSE(font.HasNextSibling());
    EXPECT_EQ(U8(font.Text()), "");
    EXPECT_TRUE(root.ChildNamed(UI_TEXT("Font")).IsValid());
    EXPECT_FALSE(root.ChildNamed(UI_TEXT("font")).IsValid()) << "names compare with case";
}

TEST(SkinXmlNode, EmptyElementForms) {
    for (const char* xml : {"<r><a/></r>", "<r><a /></r>", "<r><a k=\"v\"/></r>", "<r><a k=\"v\" /></r>"}) {
        CSkinXml doc;
        ASSERT_TRUE(doc.ParseText(W(xml))) << xml;
        CSkinXmlNode a = doc.RootNode().FirstChild();
        EXPECT_EQ(U8(a.Name()), "a") << xml;
        EXPECT_EQ(U8(a.Text()), "") << xml;
        EXPECT_FALSE(a.HasChildren()) << xml;
        EXPECT_FALSE(a.HasNextSibling()) << xml;
        EXPECT_EQ(U8(doc.RootNode().Text()), "") << xml;
    }
}

TEST(SkinXmlNode, AttributeSyntax) {
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W("<a x = \"1\"y=\"2\"\tz\n=\n\"a>b/c\" e=\"\"></a>")));
    CSkinXmlNode a = doc.RootNode();
    ASSERT_EQ(a.AttributeCount(), 4);
    const char* names[] = {"x", "y", "z", "e"};
    const char* values[] = {"1", "2", "a>b/c", ""};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(U8(a.AttributeName(i)), names[i]);
        EXPECT_EQ(U8(a.AttributeValue(i)), values[i]);
    }
    EXPECT_EQ(U8(a.AttributeName(4)), "");
    EXPECT_EQ(U8(a.AttributeValue(-1)), "");
    EXPECT_EQ(U8(a.AttributeValue(UI_TEXT("missing"))), "");
    EXPECT_EQ(U8(a.AttributeValue(UI_TEXT("X"))), "") << "attribute names compare with case";
    EXPECT_TRUE(a.HasAttributes());
    EXPECT_TRUE(a.HasAttribute(UI_TEXT("e")));
    EXPECT_FALSE(a.HasAttribute(UI_TEXT("q")));

    SkinUI::UiChar buffer[4] = {};
    EXPECT_TRUE(a.CopyAttributeValue(UI_TEXT("z"), buffer, 3));
    EXPECT_EQ(U8(buffer), "a>b");
    EXPECT_TRUE(a.CopyAttributeValue(0, buffer, 3));
    EXPECT_EQ(U8(buffer), "1");
    EXPECT_FALSE(a.CopyAttributeValue(9, buffer, 3));
    EXPECT_FALSE(a.CopyAttributeValue(UI_TEXT("q"), buffer, 3));
}

TEST(SkinXmlNode, AttributeTableHoldsAtMost64) {
    std::string xml = "<a";
    for (int i = 0; i < 70; ++i) xml += " k" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    xml += "><b/></a>";
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W(xml)));
    CSkinXmlNode a = doc.RootNode();
    EXPECT_EQ(a.AttributeCount(), 64);
    EXPECT_EQ(U8(a.AttributeValue(63)), "63");
    EXPECT_EQ(U8(a.AttributeValue(UI_TEXT("k65"))), "") << "attributes past 64 are not mapped";
    EXPECT_EQ(U8(a.FirstChild().Name()), "b");
}

TEST(SkinXmlNode, NoAttributesAndTextDoNotLookLikeAttributes) {
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W("<a x=\"1\">\"q=\"2\"<b/></a>")));
    EXPECT_EQ(doc.RootNode().AttributeCount(), 1);
    ASSERT_TRUE(doc.ParseText(W("<a x=\"1\"> y=\"2\"</a>")));
    EXPECT_EQ(doc.RootNode().AttributeCount(), 1);
    EXPECT_EQ(U8(doc.RootNode().Text()), " y=\"2\"");
    ASSERT_TRUE(doc.ParseText(W("<a>\"v\"</a>")));
    EXPECT_EQ(doc.RootNode().AttributeCount(), 0);
    EXPECT_FALSE(doc.RootNode().HasAttributes());
}

TEST(SkinXmlData, EntityDecoding) {
    struct Case {
        const char* raw;
        const char* decoded;
    } cases[] = {
        {"x &lt; y&amp;&amp;&foo;", "x < y&&&foo;"},
        {"&quot;&apos;&gt;", "\"'>"},
        {"&amp", "&amp"},
        {"&#65;&am;&", "&#65;&am;&"},
        {"plain", "plain"},
        {"&amp;lt;", "&lt;"},
    };
    for (const Case& c : cases) {
        CSkinXml doc;
        ASSERT_TRUE(doc.ParseText(W(std::string("<a v=\"") + c.raw + "\">" + c.raw + "</a>"))) << c.raw;
        EXPECT_EQ(U8(doc.RootNode().Text()), c.decoded) << c.raw;
        EXPECT_EQ(U8(doc.RootNode().AttributeValue(UI_TEXT("v"))), c.decoded) << c.raw;
    }
}

TEST(SkinXmlData, DecodedValuesKeepFollowingAttributes) {
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W("<a p=\"&lt;&lt;&lt;\"q=\"&amp;\" r=\"z\"><b t=\"&gt;\"/>tail</a>")) ==
                false);
    ASSERT_TRUE(doc.ParseText(W("<a p=\"&lt;&lt;&lt;\"q=\"&amp;\" r=\"z\"><b t=\"&gt;\"/></a>")));
    CSkinXmlNode a = doc.RootNode();
    ASSERT_EQ(a.AttributeCount(), 3);
    EXPECT_EQ(U8(a.AttributeValue(UI_TEXT("p"))), "<<<");
    EXPECT_EQ(U8(a.AttributeValue(UI_TEXT("q"))), "&");
    EXPECT_EQ(U8(a.AttributeValue(UI_TEXT("r"))), "z");
    EXPECT_EQ(U8(a.FirstChild().AttributeValue(UI_TEXT("t"))), ">");
}

TEST(SkinXmlData, TextIsWhatPrecedesTheFirstChild) {
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W("<a>\n  head <b>inner</b></a>")));
    EXPECT_EQ(U8(doc.RootNode().Text()), "\n  head ");
    EXPECT_EQ(U8(doc.RootNode().FirstChild().Text()), "inner");
}

TEST(SkinXmlDocument, InvalidNodeQueries) {
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(UI_TEXT("")));
    CSkinXmlNode none = doc.RootNode();
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.Name(), nullptr);
    EXPECT_EQ(none.Text(), nullptr);
    EXPECT_EQ(none.AttributeCount(), 0);
    EXPECT_EQ(none.AttributeValue(UI_TEXT("x")), nullptr);
    EXPECT_FALSE(none.FirstChild().IsValid());
    EXPECT_FALSE(none.HasAttribute(UI_TEXT("x")));
    EXPECT_FALSE(none.HasChildren());
}

TEST(SkinXmlDocument, ReloadingBehavesLikeAFreshDocument) {
    const std::string second = "<b k=\"v\"><c/></b>";
    CSkinXml fresh;
    ASSERT_TRUE(fresh.ParseText(W(second)));
    for (const char* first : {"<a><x/><y/><z/></a>", "<a x='bad'/>", ""}) {
        CSkinXml doc;
        doc.ParseText(W(first));
        ASSERT_TRUE(doc.ParseText(W(second))) << first;
        EXPECT_EQ(doc.ElementCount(), fresh.ElementCount()) << first;
        EXPECT_EQ(Outline(doc), Outline(fresh)) << first;
        EXPECT_EQ(U8(doc.RootNode().AttributeValue(UI_TEXT("k"))), "v") << first;
        EXPECT_EQ(U8(doc.ErrorMessageText()), "") << "a new load clears the old error";
    }
    CSkinXml doc(UI_TEXT("<q/>"));
    EXPECT_TRUE(doc.IsValid());
    doc.Clear();
    EXPECT_FALSE(doc.IsValid());
    EXPECT_FALSE(doc.RootNode().IsValid());
}

TEST(SkinXmlDocument, ElementTableGrowsPastManyElements) {
    // 500, then 500 + 250 + 500 = 1250, then 1250 + 625 + 500 = 2375 records.
    std::string xml = "<r>";
    for (int i = 0; i < 3000; ++i) xml += "<e i=\"" + std::to_string(i) + "\"/>";
    xml += "</r>";
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W(xml)));
    EXPECT_EQ(doc.ElementCount(), 3002u);
    int count = 0;
    CSkinXmlNode last;
    for (CSkinXmlNode e = doc.RootNode().FirstChild(); e.IsValid(); e = e.NextSibling()) last = e, ++count;
    EXPECT_EQ(count, 3000);
    EXPECT_EQ(U8(last.AttributeValue(UI_TEXT("i"))), "2999");
}

TEST(SkinXmlDocument, DeepNestingDoesNotExhaustTheStack) {
    const int depth = 200000;
    std::string xml;
    for (int i = 0; i < depth; ++i) xml += "<e>";
    for (int i = 0; i < depth; ++i) xml += "</e>";
    CSkinXml doc;
    ASSERT_TRUE(doc.ParseText(W(xml)));
    EXPECT_EQ(doc.ElementCount(), static_cast<uint32_t>(depth + 1));
}

}  // namespace
