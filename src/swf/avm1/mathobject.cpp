// Math: the functions and constants of the global Math object.

#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

template <double (*F)(double)> Value Unary(Machine &m, const Value &, const Args &args)
{
    return Value(F(m.toNumber(args[0])));
}

double Round(double x) { return std::floor(x + 0.5); }

Value Atan2(Machine &m, const Value &, const Args &args)
{
    return Value(std::atan2(m.toNumber(args[0]), m.toNumber(args[1])));
}

Value Pow(Machine &m, const Value &, const Args &args)
{
    return Value(std::pow(m.toNumber(args[0]), m.toNumber(args[1])));
}

Value Max(Machine &m, const Value &, const Args &args)
{
    if (args.size() == 0)
        return Value(-INFINITY);
    double best = -INFINITY;
    for (const Value &v : args.all()) {
        const double n = m.toNumber(v);
        if (std::isnan(n))
            return Value(NAN);
        best = std::max(best, n);
    }
    return Value(best);
}

Value Min(Machine &m, const Value &, const Args &args)
{
    if (args.size() == 0)
        return Value(INFINITY);
    double best = INFINITY;
    for (const Value &v : args.all()) {
        const double n = m.toNumber(v);
        if (std::isnan(n))
            return Value(NAN);
        best = std::min(best, n);
    }
    return Value(best);
}

// A fixed-seed sequence, so that a run gives the same log every time.
Value Random(Machine &, const Value &, const Args &)
{
    static uint64_t state = 0x9e3779b97f4a7c15ULL;
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return Value(double(state >> 11) / 9007199254740992.0);
}

}  // namespace

void InstallMathObject(Machine &m)
{
    Object *math = m.newObject();
    m.defineValue(m.global, "Math", Value(math));
    const std::pair<const char *, NativeFunction> functions[] = {
        {"abs", Unary<std::fabs>},   {"acos", Unary<std::acos>}, {"asin", Unary<std::asin>},
        {"atan", Unary<std::atan>},  {"ceil", Unary<std::ceil>}, {"cos", Unary<std::cos>},
        {"exp", Unary<std::exp>},    {"floor", Unary<std::floor>}, {"log", Unary<std::log>},
        {"round", Unary<Round>},     {"sin", Unary<std::sin>},   {"sqrt", Unary<std::sqrt>},
        {"tan", Unary<std::tan>},    {"atan2", Atan2},           {"pow", Pow},
        {"max", Max},                {"min", Min},               {"random", Random},
    };
    for (const auto &[name, fn] : functions)
        m.defineMethod(math, name, fn);
    const std::pair<const char *, double> constants[] = {
        {"E", M_E},         {"LN10", M_LN10},   {"LN2", M_LN2},       {"LOG10E", M_LOG10E},
        {"LOG2E", M_LOG2E}, {"PI", M_PI},       {"SQRT1_2", M_SQRT1_2}, {"SQRT2", M_SQRT2},
    };
    for (const auto &[name, value] : constants)
        m.defineValue(math, name, Value(value), kDontEnum | kDontDelete | kReadOnly);
}

}  // namespace swf::avm1
