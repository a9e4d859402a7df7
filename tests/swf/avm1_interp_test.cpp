// The interpreter's limits and calling rules: the movie's ScriptLimits
// within the program's caps, DefineFunction2's preloaded registers, and
// super along class chains built the two ways movies build them.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "actionassembler.h"
#include "swf/avm1/code.h"
#include "swf/avm1/machine.h"
#include "swf/movie.h"
#include "swfbuilder.h"

using namespace swf::avm1;
using swftest::ActionAssembler;
using swftest::SwfBuilder;
using Item = ActionAssembler::Item;

namespace {

constexpr uint16_t kScriptLimitsTag = 65;

QByteArray ScriptLimits(uint16_t depth, uint16_t seconds)
{
    swftest::BitWriter w;
    w.u16(depth);
    w.u16(seconds);
    return w.data();
}

// A movie of `frames` frames, each a script of its own.
QByteArray MovieOf(const std::vector<ActionAssembler> &frames, const QByteArray &limits = {})
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, uint16_t(frames.size()));
    if (!limits.isEmpty())
        b.tag(kScriptLimitsTag, limits);
    for (const ActionAssembler &script : frames)
        b.doAction(script.bytes()).showFrame();
    return b.bytes();
}

// Plays the movie's frames and gives the trace log.
QStringList Play(const std::vector<ActionAssembler> &frames, const QByteArray &limits = {})
{
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(MovieOf(frames, limits)),
                            [&lines](const QString &line) { lines << line; });
    for (size_t i = 1; i < frames.size(); ++i)
        player.advance();
    return lines;
}

ActionAssembler TraceOf(const char *name)
{
    ActionAssembler a;
    a.push({name}).op(kActionGetVariable).op(kActionTrace);
    return a;
}

ActionAssembler TraceText(const char *text)
{
    ActionAssembler a;
    a.push({text}).op(kActionTrace);
    return a;
}

ActionAssembler Stop()
{
    ActionAssembler a;
    return a.op(kActionStop);
}

// depth = 0; function f() { depth = depth + 1; f(); } f();
ActionAssembler RecurseForever()
{
    ActionAssembler body;
    body.push({"depth", "depth"}).op(kActionGetVariable).push({1}).op(kActionAdd2).op(kActionSetVariable);
    body.push({0, "f"}).op(kActionCallFunction).op(kActionPop);
    ActionAssembler a;
    a.push({"depth", 0}).op(kActionSetVariable).function("f", {}, body);
    a.push({0, "f"}).op(kActionCallFunction).op(kActionPop);
    return a.append(TraceText("not reached"));
}

ActionAssembler EndlessLoop()
{
    ActionAssembler a;
    return a.label("top").jump("top");
}

// a = []; while (true) a.push("xxxxxxxxxxxxxxxx");
ActionAssembler GrowingArray()
{
    ActionAssembler a;
    a.push({"a", 0}).op(kActionInitArray).op(kActionSetVariable);
    a.label("top").push({"xxxxxxxxxxxxxxxx", 1, "a"}).op(kActionGetVariable).push({"push"});
    return a.op(kActionCallMethod).op(kActionPop).jump("top");
}

struct RecursionCase {
    const char *what;
    QByteArray limits;
    int depth;
};

TEST(Avm1Limits, RecursionStopsWhereTheMovieSaysWithinTheCap)
{
    const RecursionCase cases[] = {
        {"no ScriptLimits", {}, Machine::kDefaultCallDepth},
        {"a limit of 10", ScriptLimits(10, 0), 10},
        {"a limit of 0 means the default", ScriptLimits(0, 0), Machine::kDefaultCallDepth},
        {"a limit above the default", ScriptLimits(400, 0), 400},
        {"no movie recurses past the cap", ScriptLimits(65535, 0), Machine::kMaxCallDepth},
    };
    for (const RecursionCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Play({RecurseForever(), TraceOf("depth").append(Stop())}, c.limits),
                  QStringList{QString::number(c.depth)});
    }
}

TEST(Avm1Limits, NoMovieGetsAnUnboundedFrame)
{
    const ActionAssembler loop = TraceText("start").append(EndlessLoop());
    for (uint16_t seconds : {uint16_t(0), uint16_t(1), uint16_t(65535)}) {
        SCOPED_TRACE(seconds);
        EXPECT_EQ(Play({loop, TraceText("frame 2").append(Stop())}, ScriptLimits(0, seconds)),
                  (QStringList{"start", "frame 2"}));
    }
}

// The command-line renderer plays a hostile movie to its end: the frame's
// script is cut off and the frames after it run as usual.
TEST(Avm1Limits, SwfrenderGoesOnPastHostileScripts)
{
    const std::pair<const char *, ActionAssembler> cases[] = {
        {"endless loop", EndlessLoop()},
        {"endless recursion", RecurseForever()},
        {"ever-growing array", GrowingArray()},
    };
    for (const auto &[what, hostile] : cases) {
        SCOPED_TRACE(what);
        QTemporaryDir folder;
        const QString moviePath = folder.filePath(QStringLiteral("hostile.swf"));
        const QString tracePath = folder.filePath(QStringLiteral("trace.txt"));
        QFile movie(moviePath);
        ASSERT_TRUE(movie.open(QIODevice::WriteOnly));
        movie.write(MovieOf({TraceText("start").append(hostile), TraceText("frame 2"),
                             TraceText("frame 3").append(Stop())}));
        movie.close();
        QProcess process;
        process.start(QStringLiteral(PAVOKO_SWFRENDER),
                      {QStringLiteral("--frames"), QStringLiteral("3"), QStringLiteral("--trace"), tracePath, moviePath});
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        QFile trace(tracePath);
        ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(trace.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                  (QStringList{"start", "frame 2", "frame 3"}));
    }
}

TEST(Avm1Limits, TimeoutsStayWithinTheProgramsCap)
{
    Machine machine(8);
    machine.setScriptLimits(0, 0);
    EXPECT_EQ(machine.scriptSeconds(), Machine::kMaxScriptSeconds);
    machine.setScriptLimits(0, 1);
    EXPECT_EQ(machine.scriptSeconds(), 1);
    machine.setScriptLimits(0, 65535);
    EXPECT_EQ(machine.scriptSeconds(), Machine::kMaxScriptSeconds);
}

// DefineFunction2 flags: bit 0/1 preload/suppress this, 2/3 arguments,
// 4/5 super. The function is called by name with one argument "a" and
// traces its register 1.
struct PreloadCase {
    uint16_t flags;
    const char *traced;
};

TEST(Avm1Functions, SuppressedRegistersAreNotPreloaded)
{
    const PreloadCase cases[] = {
        {0x01, "_level0"},         {0x03, "undefined"}, {0x04, "a"},
        {0x0c, "undefined"},       {0x10, "[object Object]"}, {0x30, "undefined"},
        {0x00, "undefined"},
    };
    for (const PreloadCase &c : cases) {
        SCOPED_TRACE(c.flags);
        ActionAssembler body;
        body.push({Item::reg(1)}).op(kActionTrace);
        ActionAssembler script;
        script.function2("f", 2, c.flags, {}, body).push({"a", 1, "f"}).op(kActionCallFunction).op(kActionPop);
        EXPECT_EQ(Play({script}), QStringList{c.traced});
    }
}

// `arguments` and `super` of a DefineFunction body called as f(1, 2)
// (or f("p") where the parameter is called `arguments`).
struct LocalsCase {
    const char *what;
    std::vector<std::string> params;
    ActionAssembler body;
    const char *traced;
};

ActionAssembler Body(std::initializer_list<ActionAssembler> parts)
{
    ActionAssembler a;
    for (const ActionAssembler &part : parts)
        a.append(part);
    return a;
}

ActionAssembler Assign(const char *name, Item value)
{
    ActionAssembler a;
    return a.push({name, value}).op(kActionSetVariable);
}

ActionAssembler TraceMember(const char *object, Item member)
{
    ActionAssembler a;
    return a.push({object}).op(kActionGetVariable).push({member}).op(kActionGetMember).op(kActionTrace);
}

TEST(Avm1Functions, ArgumentsAndSuperAreThereWhenLookedFor)
{
    ActionAssembler deleteArguments;
    deleteArguments.push({"arguments"}).op(kActionDelete2).op(kActionTrace);
    ActionAssembler typeOfSuper;
    typeOfSuper.push({"super"}).op(kActionGetVariable).op(kActionTypeOf).op(kActionTrace);
    const LocalsCase cases[] = {
        {"length", {}, TraceMember("arguments", "length"), "2"},
        {"an element", {}, TraceMember("arguments", 1), "2"},
        {"assigned", {}, Body({Assign("arguments", 5), TraceOf("arguments")}), "5"},
        {"deleted", {}, Body({deleteArguments, TraceOf("arguments")}), "true|undefined"},
        {"a parameter of that name", {"arguments"}, TraceOf("arguments"), "p"},
        {"super of a plain call", {}, typeOfSuper, "object"},
    };
    for (const LocalsCase &c : cases) {
        SCOPED_TRACE(c.what);
        ActionAssembler script;
        script.function("f", c.params, c.body);
        if (c.params.empty())
            script.push({2, 1, 2, "f"});
        else
            script.push({"p", 1, "f"});
        script.op(kActionCallFunction).op(kActionPop);
        EXPECT_EQ(Play({script}).join(QLatin1Char('|')), QString::fromLatin1(c.traced));
    }
}

// function NAME() { trace(NAME); super(); } — with `callSuper` false the
// super call is left out.
ActionAssembler Constructor(const char *name, bool callSuper)
{
    ActionAssembler body = TraceText(name);
    if (callSuper)
        body.push({0, "super"}).op(kActionCallFunction).op(kActionPop);
    ActionAssembler a;
    a.push({name}).function("", {}, body).op(kActionSetVariable);
    return a;
}

// sub extends base, the way compiled classes do it.
ActionAssembler Extends(const char *sub, const char *base)
{
    ActionAssembler a;
    a.push({sub}).op(kActionGetVariable).push({base}).op(kActionGetVariable).op(kActionExtends);
    return a;
}

// sub.prototype = new base(), the way hand-written classes do it.
ActionAssembler PrototypeFrom(const char *sub, const char *base)
{
    ActionAssembler a;
    a.push({sub}).op(kActionGetVariable).push({"prototype", 0, base}).op(kActionNewObject).op(kActionSetMember);
    return a;
}

ActionAssembler NewAndSay(const char *name)
{
    ActionAssembler a = TraceText("new");
    a.push({0, name}).op(kActionNewObject).op(kActionPop);
    return a;
}

TEST(Avm1Super, ConstructorsRunEachClassOnceUpTheChain)
{
    ActionAssembler compiled;
    compiled.append(Constructor("A", false)).append(Constructor("B", true)).append(Constructor("C", true));
    compiled.append(Extends("B", "A")).append(Extends("C", "B")).append(NewAndSay("C"));
    EXPECT_EQ(Play({compiled}), (QStringList{"new", "C", "B", "A"}));

    // A base class that calls super() reaches Object, not itself again.
    ActionAssembler rootCallsSuper;
    rootCallsSuper.append(Constructor("A", true)).append(Constructor("B", true)).append(Extends("B", "A"));
    rootCallsSuper.append(NewAndSay("B"));
    EXPECT_EQ(Play({rootCallsSuper}), (QStringList{"new", "B", "A"}));

    // Prototypes made with new: each super() goes one class up.
    ActionAssembler byHand;
    byHand.append(Constructor("A", true)).append(Constructor("B", true)).append(Constructor("C", true));
    byHand.append(PrototypeFrom("B", "A")).append(PrototypeFrom("C", "B")).append(NewAndSay("C"));
    EXPECT_EQ(Play({byHand}), (QStringList{"A", "B", "A", "new", "C", "B", "A"}));
}

// A.prototype.who = function () { return "A"; } and so on; each `who`
// above A adds its super's answer to its own.
ActionAssembler Method(const char *cls, bool callSuper)
{
    ActionAssembler body;
    body.push({cls});
    if (callSuper)
        body.push({0, "super"}).op(kActionGetVariable).push({"who"}).op(kActionCallMethod).op(kActionAdd2);
    body.op(kActionReturn);
    ActionAssembler a;
    a.push({cls}).op(kActionGetVariable).push({"prototype"}).op(kActionGetMember).push({"who"});
    a.function("", {}, body).op(kActionSetMember);
    return a;
}

TEST(Avm1Super, MethodsReachTheNextClassUpWhereverTheyAreFound)
{
    ActionAssembler script;
    script.append(Constructor("A", false)).append(Constructor("B", true)).append(Constructor("C", true));
    script.append(Extends("B", "A")).append(Extends("C", "B"));
    script.append(Method("A", false)).append(Method("B", true));
    // C has no `who` of its own: c.who() runs B's, whose super is A.
    script.push({"c", 0, "C"}).op(kActionNewObject).op(kActionSetVariable);
    script.push({0, "c"}).op(kActionGetVariable).push({"who"}).op(kActionCallMethod).op(kActionTrace);
    script.append(Method("C", true));
    script.push({0, "c"}).op(kActionGetVariable).push({"who"}).op(kActionCallMethod).op(kActionTrace);
    EXPECT_EQ(Play({script}), (QStringList{"C", "B", "A", "BA", "CBA"}));
}

}  // namespace
