#pragma once
// The loop over one activation's actions. Ranges nest: the body of a with
// or of a try runs as a range of its own, so that leaving it (at its end,
// by a throw) restores what it changed. A jump out of a with body keeps its
// object in the scope chain until the code runs into the body's end again. Every action counts
// against the machine's budget for the frame.

#include <algorithm>

#include "swf/avm1/interpreter.h"

namespace swf::avm1 {

class ClipObject;

class ActionRunner {
public:
    // The runner pops nothing below `stackBase` of the machine's stack: a
    // function body may leave values behind for its caller but never takes
    // the caller's.
    ActionRunner(Machine &machine, Activation &activation, size_t stackBase)
        : m_(machine),
          a_(activation),
          stack_(machine.stack),
          base_(std::min(stackBase, machine.stack.size())),
          caller_(machine.running)
    {
        machine.running = &activation;
    }
    ~ActionRunner() { m_.running = caller_; }
    ActionRunner(const ActionRunner &) = delete;
    ActionRunner &operator=(const ActionRunner &) = delete;

    void runAll();
    // A function body; its return value.
    Value runRange(uint32_t begin, uint32_t end);

private:
    enum class Exit { End, Return, Jump };
    static constexpr size_t kStackLimit = 1 << 20;

    // `leftByJumpToEnd`: a jump that lands on `end` leaves the range too
    // (a with body), rather than ending it as running into `end` does.
    Exit run(uint32_t begin, uint32_t end, uint32_t &jump, bool leftByJumpToEnd = false);
    // Control flow: says where to go on.
    Exit runWith(const Action &action, uint32_t pc, uint32_t &next);
    Exit runTry(const Action &action, uint32_t pc, uint32_t &next);
    void defineFunction(const Action &action);
    bool waitedFrameLoaded(const Action &action);
    // Everything else: one action that goes on with the next.
    void execute(const Action &action);
    void executeStack(const Action &action);
    void executeArithmetic(const Action &action);
    void executeComparison(const Action &action);
    void executeStrings(const Action &action);
    void executeObjects(const Action &action);
    void executeTypes(const Action &action);
    void enumerate(Object *object);
    void executeCalls(const Action &action);
    void executeTimeline(const Action &action);
    void executeClips(const Action &action);

    Value pop();
    bool stackEmpty() const { return stack_.size() <= base_; }
    Value top() const { return stackEmpty() ? Value() : stack_.back(); }
    void push(Value value);
    double popNumber() { return m_.toNumber(pop()); }
    std::string popString() { return m_.toString(pop()); }
    // A name popped as text, without a copy when it is a string already.
    const std::string &textOf(const Value &value, std::string &scratch)
    {
        if (value.isString())
            return value.string();
        scratch = m_.toString(value);
        return scratch;
    }
    // Booleans of comparisons are numbers before SWF 5.
    void pushBoolean(bool value);
    std::vector<Value> popArgs();
    void pushItems(const Action &action);
    ClipObject *targetClip() const;
    void setTarget(const std::string &path);
    void getUrl(const std::string &url, const std::string &target, int flags);

    Machine &m_;
    Activation &a_;
    std::vector<Value> &stack_;
    const size_t base_;
    Activation *const caller_;
    Value returned_;
    // With bodies left by a jump: their scope stays until the code runs
    // into their end address again (innermost last).
    struct OpenWith {
        uint32_t end;
        ScopePtr outer;
    };
    std::vector<OpenWith> openWiths_;
};

}  // namespace swf::avm1
