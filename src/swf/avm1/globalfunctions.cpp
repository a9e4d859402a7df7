// The global functions: trace, the number tests and readers, escape and
// unescape, getTimer, and the global constants.

#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

Value Trace(Machine &m, const Value &, const Args &args)
{
    if (m.traceSink)
        m.traceSink(args[0].isUndefined() ? std::string("undefined") : m.toString(args[0]));
    return {};
}

Value IsNaN(Machine &m, const Value &, const Args &args) { return Value(bool(std::isnan(m.toNumber(args[0])))); }

Value IsFinite(Machine &m, const Value &, const Args &args)
{
    return Value(bool(std::isfinite(m.toNumber(args[0]))));
}

Value ParseInt(Machine &m, const Value &, const Args &args)
{
    const int radix = args[1].isUndefined() ? 0 : ToInt32(m.toNumber(args[1]));
    return Value(ParseIntPrefix(m.toString(args[0]), radix));
}

Value ParseFloat(Machine &m, const Value &, const Args &args)
{
    return Value(ParseFloatPrefix(m.toString(args[0])));
}

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

Value Escape(Machine &m, const Value &, const Args &args)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : m.toString(args[0])) {
        if (IsUnreserved(c)) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return Value(out);
}

bool IsHexDigit(char c) { return DigitValue(c) < 16; }

Value Unescape(Machine &m, const Value &, const Args &args)
{
    const std::string text = m.toString(args[0]);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && IsHexDigit(text[i + 1]) && IsHexDigit(text[i + 2])) {
            out += char(DigitValue(text[i + 1]) * 16 + DigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return Value(out);
}

Value GetTimer(Machine &m, const Value &, const Args &) { return Value(std::floor(m.clockMs)); }

Value Nothing(Machine &, const Value &, const Args &) { return {}; }

}  // namespace

void InstallGlobalFunctions(Machine &m)
{
    Object *g = m.global;
    m.defineMethod(g, "trace", Trace);
    m.defineMethod(g, "isNaN", IsNaN);
    m.defineMethod(g, "isFinite", IsFinite);
    m.defineMethod(g, "parseInt", ParseInt);
    m.defineMethod(g, "parseFloat", ParseFloat);
    m.defineMethod(g, "escape", Escape);
    m.defineMethod(g, "unescape", Unescape);
    m.defineMethod(g, "getTimer", GetTimer);
    m.defineMethod(g, "updateAfterEvent", Nothing);
    m.defineValue(g, "NaN", Value(NAN));
    m.defineValue(g, "Infinity", Value(INFINITY));
}

}  // namespace swf::avm1
