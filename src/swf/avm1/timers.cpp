#include "swf/avm1/timers.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

// More timers than this at once are refused (setInterval returns nothing).
constexpr size_t kTimerLimit = 10000;

Value AddTimer(Machine &m, const Args &args, bool repeat)
{
    Timer timer;
    size_t next = 1;
    if (args[0].object() && args[0].object()->kind() == Object::Kind::Function) {
        timer.function = args[0];
    } else if (args[0].isObject() && args[1].isString()) {
        timer.function = args[0];
        timer.method = args[1].string();
        next = 2;
    } else {
        return {};
    }
    // Without an interval nothing is made; one that is no number means 0.
    if (args.size() <= next)
        return {};
    const double interval = m.toNumber(args[next]);
    timer.interval = std::isfinite(interval) ? std::max(0.0, interval) : 0;
    std::vector<Value> rest;
    for (size_t i = next + 1; i < args.size(); ++i)
        rest.push_back(args[i]);
    timer.args = Args(std::move(rest));
    timer.repeat = repeat;
    timer.due = m.clockMs + timer.interval;
    if (m.timers.size() >= kTimerLimit)
        return {};
    timer.id = m.nextTimerId++;
    m.book(sizeof(Timer));
    m.timers.push_back(std::move(timer));
    return Value(double(m.timers.back().id));
}

Value SetInterval(Machine &m, const Value &, const Args &args) { return AddTimer(m, args, true); }
Value SetTimeout(Machine &m, const Value &, const Args &args) { return AddTimer(m, args, false); }

Value ClearTimer(Machine &m, const Value &, const Args &args)
{
    const double id = m.toNumber(args[0]);
    m.timers.erase(std::remove_if(m.timers.begin(), m.timers.end(), [&](const Timer &t) { return t.id == id; }),
                   m.timers.end());
    return {};
}

}  // namespace

void RunDueTimers(Machine &m)
{
    std::vector<int> due;
    for (const Timer &timer : m.timers)
        if (timer.due <= m.clockMs)
            due.push_back(timer.id);
    for (int id : due) {
        auto it = std::find_if(m.timers.begin(), m.timers.end(), [&](const Timer &t) { return t.id == id; });
        if (it == m.timers.end())
            continue;  // cleared by an earlier one
        const Timer timer = *it;
        if (timer.repeat)
            it->due = m.clockMs + std::max(timer.interval, 1.0);
        else
            m.timers.erase(it);
        if (timer.method.empty())
            m.call(timer.function, Value(), timer.args);
        else
            m.callMethod(timer.function, timer.method, timer.args);
    }
}

void InstallTimerFunctions(Machine &m)
{
    m.defineMethod(m.global, "setInterval", SetInterval);
    m.defineMethod(m.global, "setTimeout", SetTimeout);
    m.defineMethod(m.global, "clearInterval", ClearTimer);
    m.defineMethod(m.global, "clearTimeout", ClearTimer);
}

}  // namespace swf::avm1
