// Speed of the script interpreter on simple actions written as real action
// bytes, each reported as actions per second (`actions_per_s`):
//  - Arithmetic: pushes and arithmetic on timeline registers in a loop
//    closed by a conditional jump;
//  - Registers: the same kind of loop on a DefineFunction2's registers;
//  - Locals: a DefineFunction's local variables (var, read, assign);
//  - TimelineVariables: the loop on the variables of a movie's root clip,
//    one run of it each frame;
//  - Calls: a small function called in a loop.
// And what scripts cost a movie per frame: one tick (no drawing) of a
// scripted corpus movie and of movies without scripts.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>

#include "benchmain.h"
#include "swf/actionassembler.h"
#include "swf/avm1/code.h"
#include "swf/avm1/interpreter.h"
#include "swf/movie.h"

namespace {

using namespace swf::avm1;
using swftest::ActionAssembler;
using Item = ActionAssembler::Item;

constexpr int kLoops = 50000;

// r1 counts up to kLoops; r2 takes a sum of products.
ActionAssembler RegisterLoop()
{
    ActionAssembler a;
    a.push({0}).storeRegister(1).op(kActionPop).push({0}).storeRegister(2).op(kActionPop);
    a.label("top");
    a.push({Item::reg(1), 3}).op(kActionMultiply).push({7}).op(kActionSubtract).push({2}).op(kActionDivide);
    a.push({Item::reg(2)}).op(kActionAdd2).storeRegister(2).op(kActionPop);
    a.push({Item::reg(1)}).op(kActionIncrement).storeRegister(1).push({kLoops}).op(kActionLess2).jumpIf("top");
    return a;
}

// The same sum over named variables: `var` ones in a function, the clip's
// own on the timeline.
ActionAssembler VariableLoop(bool locals)
{
    ActionAssembler a;
    const uint8_t define = locals ? kActionDefineLocal : kActionSetVariable;
    a.push({"i", 0}).op(define).push({"s", 0}).op(define);
    a.label("top");
    a.push({"i"}).op(kActionGetVariable).push({kLoops}).op(kActionLess2).op(kActionNot).jumpIf("end");
    a.push({"s", "s"}).op(kActionGetVariable).push({"i"}).op(kActionGetVariable).op(kActionAdd2).op(kActionSetVariable);
    a.push({"i", "i"}).op(kActionGetVariable).op(kActionIncrement).op(kActionSetVariable);
    a.jump("top");
    a.label("end");
    return a;
}

ActionAssembler CallByName(const std::string &name)
{
    ActionAssembler a;
    a.push({0, name.c_str()}).op(kActionCallFunction).op(kActionPop);
    return a;
}

ActionAssembler Arithmetic() { return RegisterLoop(); }

ActionAssembler Registers()
{
    ActionAssembler a;
    a.function2("f", 3, 0x2a /* no this, arguments, super */, {}, RegisterLoop());
    return a.append(CallByName("f"));
}

ActionAssembler Locals()
{
    ActionAssembler a;
    a.function("f", {}, VariableLoop(true));
    return a.append(CallByName("f"));
}

// function g(x) { return x + 1; } for (r1 = 0; r1 < kLoops / 10; ) r1 = g(r1);
ActionAssembler Calls()
{
    ActionAssembler body;
    body.push({Item::reg(1), 1}).op(kActionAdd2).op(kActionReturn);
    ActionAssembler a;
    a.function2("g", 2, 0x2a, {{1, "x"}}, body);
    a.push({0}).storeRegister(1).op(kActionPop);
    a.label("top");
    a.push({Item::reg(1), 1, "g"}).op(kActionCallFunction).storeRegister(1).push({kLoops / 10}).op(kActionLess2).jumpIf("top");
    return a;
}

// Runs `script` once on a bare machine: the actions it took.
uint64_t RunOnce(swf::avm1::Machine &machine, const std::shared_ptr<const swf::avm1::Code> &code,
                 swf::avm1::Object *clip)
{
    machine.refillActionBudget();
    const uint64_t before = machine.actionsLeft();
    RunClipCode(machine, code, clip);
    if (machine.wantsCollection())
        machine.collect({clip});
    return before - machine.actionsLeft();
}

std::shared_ptr<const swf::avm1::Code> Decode(const QByteArray &bytes)
{
    return swf::avm1::Code::decode(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()), 8);
}

void RunScript(benchmark::State &state, ActionAssembler (*script)())
{
    const auto code = Decode(script().bytes());
    swf::avm1::Machine machine(8);
    swf::avm1::Object *clip = machine.newObject();
    uint64_t actions = 0;
    for (auto _ : state)
        actions += RunOnce(machine, code, clip);
    state.counters["actions_per_s"] = benchmark::Counter(double(actions), benchmark::Counter::kIsRate);
}

void AppendTag(QByteArray &out, uint16_t code, const QByteArray &body)
{
    const uint32_t length = uint32_t(body.size());
    const uint16_t head = uint16_t(code << 6 | 0x3f);
    out.append(char(head & 0xff)).append(char(head >> 8));
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((length >> shift) & 0xff));
    out.append(body);
}

// A two-frame movie of SWF 8 that runs `actions` in each frame.
QByteArray MovieRunning(const QByteArray &actions)
{
    QByteArray tags;
    for (int frame = 0; frame < 2; ++frame) {
        AppendTag(tags, 12, actions + QByteArray(1, '\0'));  // DoAction
        AppendTag(tags, 1, {});  // ShowFrame
    }
    AppendTag(tags, 0, {});
    // A stage rectangle of zero size (five bits of 0), 12 frames a second, two frames.
    QByteArray file("FWS\x08", 4);
    const QByteArray rest = QByteArray(1, '\0') + QByteArray("\x00\x0c\x02\x00", 4) + tags;
    const uint32_t length = uint32_t(8 + rest.size());
    for (int shift = 0; shift < 32; shift += 8)
        file.append(char((length >> shift) & 0xff));
    return file + rest;
}

void TimelineVariables(benchmark::State &state)
{
    const QByteArray bytes = VariableLoop(false).bytes();
    swf::avm1::Machine machine(8);
    const uint64_t perFrame = RunOnce(machine, Decode(bytes), machine.newObject());
    swf::MoviePlayer player(swf::LoadMovieFromBytes(MovieRunning(bytes)));
    player.setPlaying(true);
    for (auto _ : state)
        player.advance();
    state.counters["actions_per_s"] =
        benchmark::Counter(double(perFrame * state.iterations()), benchmark::Counter::kIsRate);
}

// One tick of a movie: the timeline moves, its scripts run, nothing is drawn.
void Tick(benchmark::State &state, const char *relative)
{
    const QString path = QStringLiteral(PAVOKO_CORPUS_DIR "/") + QLatin1String(relative);
    const auto movie = QFile::exists(path) ? swf::LoadMovie(path) : nullptr;
    if (!movie) {
        state.SkipWithError("movie not in this copy of the corpus");
        return;
    }
    swf::MoviePlayer player(movie);
    player.setPlaying(true);
    for (auto _ : state)
        player.advance();
}

void RegisterAll()
{
    const std::pair<const char *, ActionAssembler (*)()> scripts[] = {
        {"Arithmetic", Arithmetic},
        {"Registers", Registers},
        {"Locals", Locals},
        {"Calls", Calls},
    };
    for (const auto &[name, script] : scripts)
        benchmark::RegisterBenchmark((std::string("Script/") + name).c_str(), RunScript, script)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Script/TimelineVariables", TimelineVariables)->Unit(benchmark::kMillisecond);
    const char *const movies[] = {
        "shumway/examples/racing/race/race.swf",  // scripted
        "open-flash-db/movies/morph-rotating-square/main.swf",
        "shumway/examples/timeline/shape-intersecting-balls/shape-intersecting-balls.swf",
    };
    for (const char *movie : movies)
        benchmark::RegisterBenchmark((std::string("Tick/") + movie).c_str(), Tick, movie)
            ->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char **argv)
{
    RegisterAll();
    return RunWidgetBenchmarks<QGuiApplication>(argc, argv);
}
