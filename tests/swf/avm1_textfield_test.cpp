// Text fields as scripts use them: the formatted text and its HTML form,
// fields made by createTextField, their variables, and hostile markup.

#include <gtest/gtest.h>

#include "swf/characters/formattedtext.h"
#include "swf/movie.h"
#include "swfbuilder.h"

using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kCallMethod = 0x52, kGetVariable = 0x1c, kSetVariable = 0x1d,
                  kGetMember = 0x4e, kSetMember = 0x4f;

const QString kParagraph = QStringLiteral(
    "<P ALIGN=\"%1\"><FONT FACE=\"Times New Roman\" SIZE=\"12\" COLOR=\"#000000\" LETTERSPACING=\"0\" "
    "KERNING=\"0\">%2</FONT></P>");

struct HtmlCase {
    const char *in;
    const char *text;
    QString html;
};

TEST(FormattedText, ReadsMarkupAndWritesThePlayersForm)
{
    const HtmlCase cases[] = {
        {"plain", "plain", kParagraph.arg("LEFT", "plain")},
        {"<p align='right'>a</p><p>b</p>", "a\rb", kParagraph.arg("RIGHT", "a") + kParagraph.arg("LEFT", "b")},
        {"a<br>b", "a\rb", kParagraph.arg("LEFT", "a") + kParagraph.arg("LEFT", "b")},
        {"x &lt;&amp;&gt; y", "x <&> y", kParagraph.arg("LEFT", "x &lt;&amp;&gt; y")},
        {"<b>bold</b>", "bold", kParagraph.arg("LEFT", "<B>bold</B>")},
        {"", "", kParagraph.arg("LEFT", "")},
        {"cut <b", "cut ", kParagraph.arg("LEFT", "cut ")},
    };
    for (const HtmlCase &c : cases) {
        swf::FormattedText text;
        text.setHtml(QString::fromUtf8(c.in), swf::TextFormat::defaults(), false);
        EXPECT_EQ(text.text(), QString::fromUtf8(c.text)) << c.in;
        EXPECT_EQ(text.toHtml(swf::TextFormat::defaults()), c.html) << c.in;
    }
}

TEST(FormattedText, FontRunsAndParagraphValuesAreKept)
{
    swf::FormattedText text;
    text.setHtml(QStringLiteral("<textformat leftmargin='3'><font color='#ff0000'>red</font>black</textformat>"),
                 swf::TextFormat::defaults(), false);
    const QString html = text.toHtml(swf::TextFormat::defaults());
    EXPECT_TRUE(html.startsWith(QStringLiteral("<TEXTFORMAT LEFTMARGIN=\"3\"><P ALIGN=\"LEFT\">"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("COLOR=\"#FF0000\" LETTERSPACING=\"0\" KERNING=\"0\">red</FONT>")));
    EXPECT_TRUE(html.contains(QStringLiteral("COLOR=\"#000000\" LETTERSPACING=\"0\" KERNING=\"0\">black</FONT>")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</P></TEXTFORMAT>")));
}

TEST(FormattedText, ParagraphFormatCoversTheWholeParagraph)
{
    swf::FormattedText text;
    text.setText(QStringLiteral("one\ntwo\nthree"), swf::TextFormat::defaults());
    EXPECT_EQ(text.text(), QStringLiteral("one\rtwo\rthree"));
    swf::TextFormat centred;
    centred.align = swf::TextAlign::Center;
    centred.bold = true;
    text.applyFormat(5, 6, centred);  // the 'w' of "two"
    EXPECT_EQ(text.formatAt(4).align, swf::TextAlign::Center);
    EXPECT_EQ(text.formatAt(6).align, swf::TextAlign::Center);
    EXPECT_EQ(text.formatAt(0).align, swf::TextAlign::Left);
    EXPECT_EQ(text.formatAt(8).align, swf::TextAlign::Left);
    // Character values stay within the range.
    EXPECT_EQ(text.formatAt(5).bold, true);
    EXPECT_EQ(text.formatAt(4).bold, false);
    EXPECT_FALSE(text.commonFormat(4, 7).bold.has_value());
    // A replacement takes the paragraph's values.
    text.replace(4, 4, QStringLiteral("new "), swf::TextFormat::defaults());
    EXPECT_EQ(text.formatAt(4).align, swf::TextAlign::Center);
}

// Script helpers: `target.member` read and written.
QByteArray Get(const std::string &target, const std::string &member)
{
    return actions::pushString(target) + actions::op(kGetVariable) + actions::pushString(member)
           + actions::op(kGetMember);
}

QByteArray Set(const std::string &target, const std::string &member, const QByteArray &value)
{
    return actions::pushString(target) + actions::op(kGetVariable) + actions::pushString(member) + value
           + actions::op(kSetMember);
}

QByteArray TraceOf(const QByteArray &value) { return value + actions::op(kTrace); }

// this.createTextField(name, depth, x, y, width, height)
QByteArray CreateField(const std::string &name, double depth)
{
    return actions::pushNumber(20) + actions::pushNumber(100) + actions::pushNumber(5) + actions::pushNumber(4)
           + actions::pushNumber(depth) + actions::pushString(name) + actions::pushNumber(6)
           + actions::pushString("this") + actions::op(kGetVariable) + actions::pushString("createTextField")
           + actions::op(kCallMethod) + actions::op(kPop);
}

QStringList RunScript(const QByteArray &script, uint8_t version = 8)
{
    SwfBuilder b(version, swf::Rect{0, 4000, 0, 4000}, 12, 1);
    b.doAction(script + actions::stop()).showFrame();
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
    player.advance();
    return lines;
}

TEST(Avm1TextField, CreatedFieldAnswersItsProperties)
{
    const QStringList lines = RunScript(CreateField("t", 1) + Set("t", "text", actions::pushString("Hi"))
                                  + TraceOf(Get("t", "text")) + TraceOf(Get("t", "_x")) + TraceOf(Get("t", "_width"))
                                  + TraceOf(Get("t", "length")) + TraceOf(Get("t", "type"))
                                  + TraceOf(Get("t", "autoSize")) + TraceOf(Get("t", "variable"))
                                  + TraceOf(Get("t", "_target")) + TraceOf(actions::pushString("t") + actions::op(kGetVariable)));
    EXPECT_EQ(lines, (QStringList{"Hi", "4", "100", "2", "dynamic", "none", "null", "/t", "_level0.t"}));
}

TEST(Avm1TextField, HtmlTextFollowsTheHtmlFlag)
{
    const QByteArray html = Set("t", "htmlText", actions::pushString("<b>x</b>"));
    const QStringList plain = RunScript(CreateField("t", 1) + html + TraceOf(Get("t", "htmlText")));
    EXPECT_EQ(plain, QStringList{"<b>x</b>"});
    const QStringList rich = RunScript(CreateField("t", 1) + Set("t", "html", actions::pushNumber(1)) + html
                                 + TraceOf(Get("t", "text")) + TraceOf(Get("t", "htmlText")));
    ASSERT_EQ(rich.size(), 2);
    EXPECT_EQ(rich[0], "x");
    EXPECT_EQ(rich[1], kParagraph.arg("LEFT", "<B>x</B>"));
}

TEST(Avm1TextField, VariableAndTextFollowEachOther)
{
    const QByteArray setVariable = actions::pushString("shown") + actions::pushString("from variable")
                                   + actions::op(kSetVariable);
    const QStringList lines =
        RunScript(CreateField("t", 1) + Set("t", "variable", actions::pushString("shown")) + setVariable
            + TraceOf(Get("t", "text")) + Set("t", "text", actions::pushString("from field"))
            + TraceOf(actions::pushString("shown") + actions::op(kGetVariable)));
    EXPECT_EQ(lines, (QStringList{"from variable", "from field"}));
}

TEST(Avm1TextField, VariableNamingTheFieldItselfEnds)
{
    const QStringList lines = RunScript(CreateField("t", 1) + Set("t", "variable", actions::pushString("t.text"))
                                  + Set("t", "text", actions::pushString("loop?")) + TraceOf(Get("t", "text")));
    EXPECT_EQ(lines, QStringList{"loop?"});
}

TEST(Avm1TextField, RemovedFieldIsGoneAndOnlyFromScriptDepths)
{
    const QByteArray remove = actions::pushNumber(0) + actions::pushString("t") + actions::op(kGetVariable)
                              + actions::pushString("removeTextField") + actions::op(kCallMethod) + actions::op(kPop);
    const QStringList lines = RunScript(CreateField("t", 1) + remove + TraceOf(Get("t", "text")));
    EXPECT_EQ(lines, QStringList{"undefined"});
}

TEST(Avm1TextField, SwfFiveFieldsShowNoProperties)
{
    const QStringList lines = RunScript(CreateField("t", 1) + TraceOf(Get("t", "text")) + TraceOf(Get("t", "_name")), 5);
    EXPECT_EQ(lines, (QStringList{"undefined", "t"}));
}

TEST(Avm1TextField, HostileMarkupIsReadInBoundedTime)
{
    std::string markup;
    for (int i = 0; i < 2000; ++i)
        markup += "<font color='#" + std::to_string(100000 + i) + "'><b>x";
    const QStringList lines = RunScript(CreateField("t", 1) + Set("t", "html", actions::pushNumber(1))
                                  + Set("t", "htmlText", actions::pushString(markup)) + TraceOf(Get("t", "length")));
    EXPECT_EQ(lines, QStringList{"2000"});
}

}  // namespace
