// XML and XMLNode: what the parser makes of markup (status codes,
// entities, declarations, blanks), how the tree keeps its links when
// scripts move nodes, and that hostile markup or trees stay bounded.

#include <gtest/gtest.h>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/xmlparser.h"

using swf::avm1::Args;
using swf::avm1::ArrayObject;
using swf::avm1::Machine;
using swf::avm1::Object;
using swf::avm1::Value;

namespace {

Value Global(Machine &m, const char *name) { return m.get(m.global, name); }

Object *NewXml(Machine &m, const std::string &text, bool ignoreWhite = false)
{
    Object *xml = m.construct(Global(m, "XML"), Args()).object();
    m.set(xml, "ignoreWhite", Value(ignoreWhite));
    m.callMethod(Value(xml), "parseXML", Args({Value(text)}));
    return xml;
}

std::string Text(Machine &m, Object *object) { return m.toString(Value(object)); }
std::string Read(Machine &m, Object *object, const char *path)
{
    Value v(object);
    std::string rest = path;
    while (!rest.empty()) {
        const size_t dot = rest.find('.');
        v = m.getMember(v, rest.substr(0, dot));
        rest = dot == std::string::npos ? "" : rest.substr(dot + 1);
    }
    return m.toString(v);
}
Object *Member(Machine &m, Object *object, const char *name) { return m.get(object, name).object(); }

struct ParseCase {
    const char *text;
    bool ignoreWhite;
    int status;
    const char *written;
};

class XmlParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(XmlParseTest, StatusAndMarkupWrittenBack)
{
    const ParseCase &c = GetParam();
    Machine m(8);
    Object *xml = NewXml(m, c.text, c.ignoreWhite);
    EXPECT_EQ(m.toNumber(m.get(xml, "status")), c.status);
    EXPECT_EQ(Text(m, xml), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, XmlParseTest,
    testing::Values(
        ParseCase{"<a><b>text</b><c x=\"1\" y='2'/></a>", false, 0, "<a><b>text</b><c x=\"1\" y=\"2\" /></a>"},
        ParseCase{"<?xml version=\"1.0\"?><!DOCTYPE g [<!ELEMENT g ANY>]><g/>", false, 0,
                  "<?xml version=\"1.0\"?><!DOCTYPE g [<!ELEMENT g ANY>]><g />"},
        ParseCase{"<a t=\"&lt;&quot;\">&lt;&amp;&gt;&quot;&apos;&#65;&#x42;&nbsp;&</a>", false, 0,
                  "<a t=\"&lt;&quot;\">&lt;&amp;&gt;&quot;&apos;AB&amp;nbsp;&amp;</a>"},
        ParseCase{"<a><![CDATA[<x> & y]]><!-- gone --></a>", false, 0, "<a>&lt;x&gt; &amp; y</a>"},
        ParseCase{"<a> <b> x </b>\n</a>", true, 0, "<a><b> x </b></a>"},
        ParseCase{"<a> <b> x </b>\n</a>", false, 0, "<a> <b> x </b>\n</a>"},
        ParseCase{"text<a/>more", false, 0, "text<a />more"},
        ParseCase{"<a><![CDATA[x</a>", false, -2, "<a />"},
        ParseCase{"<a/><?xml ", false, -3, "<a />"},
        ParseCase{"<!DOCTYPE x", false, -4, ""},
        ParseCase{"<a><!-- x</a>", false, -5, "<a />"},
        ParseCase{"<a", false, -6, "<a />"},
        ParseCase{"<a x></a>", false, -6, "<a />"},
        ParseCase{"<a x=1></a>", false, -6, "<a />"},
        ParseCase{"<a x=\"1></a>", false, -8, "<a />"},
        ParseCase{"<a><b></a>", false, -9, "<a><b /></a>"},
        ParseCase{"<a>x", false, -9, "<a>x</a>"},
        ParseCase{"<a/></a>", false, -10, "<a />"}));

TEST(Avm1Xml, DeclarationsAndTreeResetOnEachParse)
{
    Machine m(8);
    Object *xml = NewXml(m, "<?xml version=\"1.0\"?><!DOCTYPE a><a>1</a>");
    EXPECT_EQ(Read(m, xml, "xmlDecl"), "<?xml version=\"1.0\"?>");
    EXPECT_EQ(Read(m, xml, "docTypeDecl"), "<!DOCTYPE a>");
    m.callMethod(Value(xml), "parseXML", Args({Value("<b/>")}));
    EXPECT_EQ(Read(m, xml, "xmlDecl"), "undefined");
    EXPECT_EQ(Text(m, xml), "<b />");
    EXPECT_EQ(Read(m, xml, "childNodes.length"), "1");
}

TEST(Avm1Xml, NodesAnswerTheirNamesValuesAndLinks)
{
    Machine m(8);
    Object *xml = NewXml(m, "<r><a k=\"v\">t</a><b/></r>");
    Object *r = Member(m, xml, "firstChild");
    Object *a = Member(m, r, "firstChild");
    Object *b = Member(m, r, "lastChild");
    EXPECT_EQ(Read(m, r, "nodeName"), "r");
    EXPECT_EQ(Read(m, r, "nodeType"), "1");
    EXPECT_EQ(Read(m, r, "nodeValue"), "null");
    EXPECT_EQ(Read(m, a, "attributes.k"), "v");
    EXPECT_EQ(Read(m, a, "firstChild.nodeType"), "3");
    EXPECT_EQ(Read(m, a, "firstChild.nodeValue"), "t");
    EXPECT_EQ(Read(m, a, "firstChild.nodeName"), "null");
    EXPECT_EQ(Member(m, a, "nextSibling"), b);
    EXPECT_EQ(Member(m, b, "previousSibling"), a);
    EXPECT_TRUE(m.get(a, "previousSibling").isNull());
    EXPECT_TRUE(m.get(xml, "parentNode").isNull());
    EXPECT_EQ(Member(m, a, "parentNode"), r);
    EXPECT_EQ(Read(m, xml, "nodeName"), "null");
    EXPECT_EQ(m.get(r, "childNodes").object(), m.get(r, "childNodes").object());
}

TEST(Avm1Xml, MovesKeepParentsChildrenAndArraysInStep)
{
    Machine m(8);
    Object *xml = NewXml(m, "<r><a/><b/></r>");
    Object *r = Member(m, xml, "firstChild");
    auto *children = dynamic_cast<ArrayObject *>(Member(m, r, "childNodes"));
    ASSERT_NE(children, nullptr);
    Object *a = children->elements[0].object();
    Object *b = children->elements[1].object();
    Object *c = m.callMethod(Value(xml), "createElement", Args({Value("c")})).object();
    m.callMethod(Value(r), "insertBefore", Args({Value(c), Value(b)}));
    EXPECT_EQ(Text(m, xml), "<r><a /><c /><b /></r>");
    m.callMethod(Value(b), "appendChild", Args({Value(a)}));  // moves a under b
    EXPECT_EQ(Text(m, xml), "<r><c /><b><a /></b></r>");
    ASSERT_EQ(children->elements.size(), 2u);
    EXPECT_EQ(children->elements[0].object(), c);
    m.callMethod(Value(a), "appendChild", Args({Value(r)}));  // r holds a: refused
    m.callMethod(Value(a), "appendChild", Args({Value(a)}));
    EXPECT_EQ(Text(m, xml), "<r><c /><b><a /></b></r>");
    m.callMethod(Value(b), "removeNode", Args());
    EXPECT_EQ(Text(m, xml), "<r><c /></r>");
    EXPECT_TRUE(m.get(b, "parentNode").isNull());
    EXPECT_FALSE(m.toBoolean(m.callMethod(Value(c), "hasChildNodes", Args())));
    EXPECT_TRUE(m.toBoolean(m.callMethod(Value(r), "hasChildNodes", Args())));
}

TEST(Avm1Xml, ClonesCopyAttributesAndOnlyDeepClonesChildren)
{
    Machine m(8);
    Object *xml = NewXml(m, "<r a=\"1\"><c>t</c></r>");
    Object *r = Member(m, xml, "firstChild");
    Object *shallow = m.callMethod(Value(r), "cloneNode", Args({Value(false)})).object();
    Object *deep = m.callMethod(Value(r), "cloneNode", Args({Value(true)})).object();
    EXPECT_EQ(Text(m, shallow), "<r a=\"1\" />");
    EXPECT_EQ(Text(m, deep), "<r a=\"1\"><c>t</c></r>");
    m.set(Member(m, deep, "attributes"), "a", Value("2"));
    EXPECT_EQ(Read(m, r, "attributes.a"), "1");
    EXPECT_TRUE(m.get(deep, "parentNode").isNull());
}

TEST(Avm1Xml, NamespacesComeFromXmlnsAttributesAbove)
{
    Machine m(8);
    Object *xml = NewXml(m, "<r xmlns=\"urn:d\" xmlns:p=\"urn:p\"><p:c/><d/></r>");
    Object *r = Member(m, xml, "firstChild");
    Object *c = Member(m, r, "firstChild");
    EXPECT_EQ(Read(m, c, "prefix"), "p");
    EXPECT_EQ(Read(m, c, "localName"), "c");
    EXPECT_EQ(Read(m, c, "namespaceURI"), "urn:p");
    EXPECT_EQ(Read(m, r, "lastChild.namespaceURI"), "urn:d");
    EXPECT_EQ(m.toString(m.callMethod(Value(c), "getNamespaceForPrefix", Args({Value("p")}))), "urn:p");
    EXPECT_TRUE(m.callMethod(Value(c), "getNamespaceForPrefix", Args({Value("q")})).isNull());
    EXPECT_EQ(m.toString(m.callMethod(Value(c), "getPrefixForNamespace", Args({Value("urn:p")}))), "p");
}

TEST(Avm1Xml, ExtendingXmlGivesTheSubclassANode)
{
    Machine m(8);
    // function Sub() { super(text); } Sub.prototype = new XML();
    Object *instance = m.newObject();
    instance->setProto(m.get(Global(m, "XML").object(), "prototype").object());
    m.call(Global(m, "XML"), Value(instance), Args({Value("<a/>")}));
    EXPECT_EQ(Text(m, instance), "<a />");
}

TEST(Avm1Xml, HostileDepthEndsAsOutOfMemory)
{
    Machine m(8);
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "<a>";
    Object *xml = NewXml(m, text);
    EXPECT_EQ(m.toNumber(m.get(xml, "status")), swf::avm1::kXmlOutOfMemory);
}

TEST(Avm1Xml, DeepTreesBuiltByScriptsStillWriteAndClone)
{
    Machine m(8);
    Object *xml = NewXml(m, "");
    Object *parent = xml;
    for (int i = 0; i < 30000; ++i) {
        Object *child = m.callMethod(Value(xml), "createElement", Args({Value("n")})).object();
        m.callMethod(Value(parent), "appendChild", Args({Value(child)}));
        parent = child;
    }
    const std::string text = Text(m, xml);
    EXPECT_EQ(text.size(), 29999u * 7 + 5);  // "<n>...</n>" around "<n />"
    Object *clone = m.callMethod(Value(xml), "cloneNode", Args({Value(true)})).object();
    EXPECT_EQ(Text(m, clone), text);
}

}  // namespace
