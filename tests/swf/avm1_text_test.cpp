// A person's typing in text fields: what restrict lets in, how maxChars,
// the selection and the clipboard shape an edit, and a movie's field that
// takes the focus from a script or a click, tells its onChanged handler
// and its variable, and refuses typing it does not take.

#include <gtest/gtest.h>

#include <functional>

#include "actionassembler.h"
#include "scriptparts.h"
#include "swf/avm1/code.h"
#include "swf/characters/fieldediting.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/movie.h"
#include "swfbuilder.h"
#include "tracerun.h"

using namespace swf::avm1;
using swf::FieldSelection;
using swf::TextControl;
using swftest::ActionAssembler;
using swftest::Call;
using swftest::Get;
using swftest::Set;
using swftest::SwfBuilder;
using swftest::TracedPlayer;
using Item = ActionAssembler::Item;

namespace {

struct RestrictCase {
    const char *restrict;
    const char *allowed;
    const char *refused;
};

TEST(FieldRestrict, FollowsRangesCaretsAndEscapes)
{
    const RestrictCase cases[] = {
        {"A-Z", "AQZ", "aq0-"},
        {"a-z 0-9", "az 09", "A-_"},
        {"^a-z", "A0 -", "aqz"},
        {"A-Z^Q", "ARZ", "Qa"},
        {"\\-\\^\\\\", "-^\\", "a"},
        {"", "", "a0 "},
        {"0-9^5", "049", "5a"},
    };
    for (const RestrictCase &c : cases) {
        for (QChar ch : QString::fromUtf8(c.allowed))
            EXPECT_TRUE(swf::RestrictAllows(QString::fromUtf8(c.restrict), ch)) << c.restrict << " " << ch.toLatin1();
        for (QChar ch : QString::fromUtf8(c.refused))
            EXPECT_FALSE(swf::RestrictAllows(QString::fromUtf8(c.restrict), ch)) << c.restrict << " " << ch.toLatin1();
    }
}

// One edit of a field holding `before` with `selection`; the clipboard
// starts as `clipboard`.
struct EditCase {
    const char *name;
    std::function<void(swf::TextFieldSettings &)> settings;
    const char *before;
    FieldSelection selection;
    std::function<bool(swf::TextFieldCharacter &, FieldSelection &, QString &)> edit;
    const char *clipboard;
    const char *after;
    FieldSelection selectionAfter;
    const char *clipboardAfter;
    bool changed;
};

void Input(swf::TextFieldSettings &s) { s.editable = true; }
void InputMultiline(swf::TextFieldSettings &s)
{
    s.editable = true;
    s.multiline = true;
}
void Password(swf::TextFieldSettings &s)
{
    s.editable = true;
    s.password = true;
}
void MaxFour(swf::TextFieldSettings &s)
{
    s.editable = true;
    s.maxChars = 4;
}
void DigitsOnly(swf::TextFieldSettings &s)
{
    s.editable = true;
    s.restrict = QStringLiteral("0-9");
}
void Dynamic(swf::TextFieldSettings &s) { s.editable = false; }

auto Type(const char *text)
{
    return [text](swf::TextFieldCharacter &f, FieldSelection &s, QString &) {
        return swf::TypeIntoField(f, s, QString::fromUtf8(text));
    };
}

auto Control(TextControl control)
{
    return [control](swf::TextFieldCharacter &f, FieldSelection &s, QString &clipboard) {
        return swf::ApplyTextControl(f, s, control, clipboard);
    };
}

class FieldEdits : public testing::TestWithParam<EditCase> {};

TEST_P(FieldEdits, ChangeTextSelectionAndClipboardAsThePlayerDoes)
{
    const EditCase &c = GetParam();
    swf::TextFieldCharacter field(swf::Rect{0, 2000, 0, 400});
    c.settings(field.settings());
    field.setText(QString::fromUtf8(c.before));
    FieldSelection selection = c.selection;
    QString clipboard = QString::fromUtf8(c.clipboard);
    EXPECT_EQ(c.edit(field, selection, clipboard), c.changed);
    EXPECT_EQ(field.content().text(), QString::fromUtf8(c.after));
    EXPECT_EQ(selection.begin, c.selectionAfter.begin);
    EXPECT_EQ(selection.end, c.selectionAfter.end);
    EXPECT_EQ(clipboard, QString::fromUtf8(c.clipboardAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Typing, FieldEdits,
    testing::Values(
        EditCase{"OverTheSelection", Input, "hello", {1, 4}, Type("EY"), "", "hEYo", {3, 3}, "", true},
        EditCase{"AtTheCaret", Input, "ab", {1, 1}, Type("x"), "", "axb", {2, 2}, "", true},
        EditCase{"NotIntoADynamicField", Dynamic, "ab", {1, 1}, Type("x"), "", "ab", {1, 1}, "", false},
        EditCase{"CutToMaxChars", MaxFour, "ab", {2, 2}, Type("cdef"), "", "abcd", {4, 4}, "", true},
        EditCase{"MaxCharsCountsTheSelectionOut", MaxFour, "abcd", {0, 2}, Type("xyz"), "", "xycd", {2, 2}, "", true},
        EditCase{"FullFieldKeepsItsSelection", MaxFour, "abcd", {4, 4}, Type("e"), "", "abcd", {4, 4}, "", false},
        EditCase{"RestrictFilters", DigitsOnly, "", {0, 0}, Type("a1b2"), "", "12", {2, 2}, "", true},
        EditCase{"NothingLeftChangesNothing", DigitsOnly, "12", {0, 2}, Type("ab"), "", "12", {0, 2}, "", false},
        EditCase{"EnterBreaksAMultilineField", InputMultiline, "ab", {1, 1}, Control(TextControl::Enter), "",
                 "a\rb", {2, 2}, "", true},
        EditCase{"EnterDoesNothingOnOneLine", Input, "ab", {1, 1}, Control(TextControl::Enter), "", "ab", {1, 1},
                 "", false},
        EditCase{"PastedBreaksDropOnOneLine", Input, "", {0, 0}, Control(TextControl::Paste), "a\nb", "ab",
                 {2, 2}, "a\nb", true},
        EditCase{"EmptyClipboardPastesNothing", Input, "abc", {0, 3}, Control(TextControl::Paste), "", "abc",
                 {0, 3}, "", false},
        EditCase{"CopyTakesTheSelection", Input, "abc", {1, 3}, Control(TextControl::Copy), "x", "abc", {1, 3},
                 "bc", false},
        EditCase{"CutTakesItOut", Input, "abc", {0, 2}, Control(TextControl::Cut), "", "c", {0, 0}, "ab", true},
        EditCase{"PasswordsAreNotCopied", Password, "secret", {0, 6}, Control(TextControl::Copy), "x", "secret",
                 {0, 6}, "x", false},
        EditCase{"NorCut", Password, "secret", {0, 6}, Control(TextControl::Cut), "", "secret", {0, 6}, "", false},
        EditCase{"BackspaceAtTheStart", Input, "ab", {0, 0}, Control(TextControl::Backspace), "", "ab", {0, 0}, "",
                 false},
        EditCase{"BackspaceBeforeTheCaret", Input, "abc", {2, 2}, Control(TextControl::Backspace), "", "ac",
                 {1, 1}, "", true},
        EditCase{"DeleteAfterIt", Input, "abc", {1, 1}, Control(TextControl::Delete), "", "ac", {1, 1}, "", true},
        EditCase{"DeleteTakesASelection", Input, "abcd", {1, 3}, Control(TextControl::Delete), "", "ad", {1, 1}, "",
                 true},
        EditCase{"LeftCollapsesToTheStart", Dynamic, "abcd", {1, 3}, Control(TextControl::MoveLeft), "", "abcd",
                 {1, 1}, "", false},
        EditCase{"RightStopsAtTheEnd", Dynamic, "ab", {2, 2}, Control(TextControl::MoveRight), "", "ab", {2, 2}, "",
                 false},
        EditCase{"LineEndsStopAtBreaks", InputMultiline, "ab\rcd\ref", {4, 4},
                 Control(TextControl::MoveRightLine), "", "ab\rcd\ref", {5, 5}, "", false},
        EditCase{"LineStartsToo", InputMultiline, "ab\rcd\ref", {4, 4}, Control(TextControl::MoveLeftLine), "",
                 "ab\rcd\ref", {3, 3}, "", false},
        EditCase{"SelectAll", Dynamic, "abc", {1, 1}, Control(TextControl::SelectAll), "", "abc", {0, 3}, "",
                 false}),
    [](const testing::TestParamInfo<EditCase> &info) { return std::string(info.param.name); });

// An input field "f" of 100 x 20 pixels at (10, 10) bound to the variable
// "v", whose onChanged traces "changed:" and the text; `focused` gives it
// the focus from the script.
QByteArray FieldMovie(bool focused, std::initializer_list<ActionAssembler> more = {})
{
    ActionAssembler a;
    a.append(Call("_root", "createTextField", {20, 100, 10, 10, 1, "f"}));  // arguments last first
    a.append(Set("f", "type", "input"));
    a.append(Set("f", "variable", "v"));
    ActionAssembler body;
    body.push({"changed:"});
    Get(body, "f").push({"text"}).op(kActionGetMember).op(kActionAdd2).op(kActionTrace);
    Get(a, "f").push({"onChanged"}).function("", {}, body).op(kActionSetMember);
    if (focused)
        Get(a, "f").push({1, "Selection"}).op(kActionGetVariable).push({"setFocus"}).op(kActionCallMethod).op(kActionPop);
    for (const ActionAssembler &part : more)
        a.append(part);
    SwfBuilder b(8, swf::Rect{0, 4000, 0, 4000}, 12, 1);
    b.doAction(a.bytes()).showFrame();
    return b.bytes();
}


}  // namespace

TEST(FieldTyping, ReachesTheFocusedFieldItsHandlerAndItsVariable)
{
    TracedPlayer playing(FieldMovie(true));
    playing.player->textInput(QStringLiteral("h"));
    playing.player->textInput(QStringLiteral("i"));
    playing.player->textControl(TextControl::Backspace);
    playing.player->setClipboardText(QStringLiteral("ey"));
    playing.player->textControl(TextControl::Paste);
    EXPECT_EQ(playing.lines, QStringList({"changed:h", "changed:hi", "changed:h", "changed:hey"}));
    playing.lines.clear();
    playing.player->textControl(TextControl::SelectAll);
    playing.player->textControl(TextControl::Copy);
    EXPECT_EQ(playing.player->clipboardText(), QStringLiteral("hey"));
    EXPECT_TRUE(playing.lines.isEmpty()) << "moving and copying change no text";
}

TEST(FieldTyping, GoesNowhereWithoutTheFocus)
{
    TracedPlayer playing(FieldMovie(false));
    playing.player->textInput(QStringLiteral("x"));
    playing.player->textControl(TextControl::Paste);
    EXPECT_TRUE(playing.lines.isEmpty());
}

TEST(FieldTyping, AClickGivesTheFieldTheFocusAndTheCaret)
{
    TracedPlayer playing(FieldMovie(false, {Set("f", "text", "abc")}));
    // Far right of the text: the caret goes to its end.
    playing.player->mouseMove(QPointF(100, 20));
    playing.player->mouseDown(QPointF(100, 20));
    playing.player->mouseUp(QPointF(100, 20));
    playing.player->textInput(QStringLiteral("d"));
    // Left of the first letter: to its start.
    playing.player->mouseDown(QPointF(11, 20));
    playing.player->mouseUp(QPointF(11, 20));
    playing.player->textInput(QStringLiteral("_"));
    EXPECT_EQ(playing.lines, QStringList({"changed:abcd", "changed:_abcd"}));
}

TEST(FieldTyping, AClickBesideTheFieldLeavesItAlone)
{
    TracedPlayer playing(FieldMovie(false));
    playing.player->mouseDown(QPointF(150, 150));
    playing.player->mouseUp(QPointF(150, 150));
    playing.player->textInput(QStringLiteral("x"));
    EXPECT_TRUE(playing.lines.isEmpty());
}

namespace {

// The columns with dark pixels in a picture of a field made at (0, 0)
// holding "MMMM", stretched across by `xscale` percent.
int InkWidth(double xscale)
{
    ActionAssembler a;
    a.append(Call("_root", "createTextField", {40, 190, 0, 0, 1, "f"}));
    a.append(Set("f", "text", "MMMM"));
    a.append(Set("f", "_xscale", xscale));
    SwfBuilder b(8, swf::Rect{0, 4000, 0, 1000}, 12, 1);
    b.doAction(a.bytes()).showFrame();
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()));
    const QImage picture = player.renderImage(QSize(200, 50), swf::Quality::High);
    int first = -1, last = -1;
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < picture.height(); ++y)
            if (qGray(picture.pixel(x, y)) < 128) {
                first = first < 0 ? x : first;
                last = x;
            }
    return first < 0 ? 0 : last - first + 1;
}

}  // namespace

TEST(DeviceText, KeepsItsShapeWhenTheFieldIsStretchedAcross)
{
    const int plain = InkWidth(100);
    if (plain == 0)
        GTEST_SKIP() << "no system font draws here";
    const int stretched = InkWidth(300);
    EXPECT_GT(stretched, 0);
    EXPECT_LE(stretched, plain + 2);
}
