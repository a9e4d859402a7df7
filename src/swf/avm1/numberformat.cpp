#include "swf/avm1/numberformat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace swf::avm1 {

namespace {

constexpr int kSignificantDigits = 15;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

size_t SkipSpaces(const std::string &text, size_t pos)
{
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    return pos;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The significant digits (trailing zeros dropped) and the decimal exponent
// of |value| rounded to fifteen digits.
void Digits(double value, std::string &digits, int &exponent)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, std::fabs(value));
    digits.clear();
    const char *p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (IsDigit(*p))
            digits += *p;
    exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

std::string ExponentForm(const std::string &digits, int exponent)
{
    std::string out(1, digits[0]);
    if (digits.size() > 1)
        out += '.' + digits.substr(1);
    out += exponent < 0 ? "e-" : "e+";
    out += std::to_string(std::abs(exponent));
    return out;
}

std::string DecimalForm(const std::string &digits, int exponent)
{
    if (exponent < 0)
        return "0." + std::string(size_t(-exponent - 1), '0') + digits;
    const size_t whole = size_t(exponent) + 1;
    if (digits.size() <= whole)
        return digits + std::string(whole - digits.size(), '0');
    return digits.substr(0, whole) + '.' + digits.substr(whole);
}

// Reads an unsigned decimal number (digits, fraction, exponent) at `pos`;
// says whether it held at least one digit and moves `pos` past it.
bool ReadDecimal(const std::string &text, size_t &pos, double &out)
{
    const size_t start = pos;
    bool digits = false;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
        digits = true;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) {
            ++pos;
            digits = true;
        }
    }
    if (!digits) {
        pos = start;
        return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t e = pos + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        if (e < text.size() && IsDigit(text[e])) {
            while (e < text.size() && IsDigit(text[e]))
                ++e;
            pos = e;
        }
    }
    out = std::strtod(text.substr(start, pos - start).c_str(), nullptr);
    return true;
}

// Digits of `radix` from `pos`; NaN when there is none.
double ReadInteger(const std::string &text, size_t &pos, int radix)
{
    double result = 0;
    bool any = false;
    while (pos < text.size() && DigitValue(text[pos]) < radix) {
        result = result * radix + DigitValue(text[pos]);
        ++pos;
        any = true;
    }
    return any ? result : NAN;
}

}  // namespace

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

std::string NumberToString(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0)
        return "0";
    std::string digits;
    int exponent = 0;
    Digits(value, digits, exponent);
    const std::string body = (exponent >= kSignificantDigits || exponent < -5)
                                 ? ExponentForm(digits, exponent)
                                 : DecimalForm(digits, exponent);
    return value < 0 ? "-" + body : body;
}

std::string NumberToStringRadix(double value, int radix)
{
    if (radix == 10 || radix < 2 || radix > 36)
        return NumberToString(value);
    if (!std::isfinite(value))
        return NumberToString(value);
    const int32_t whole = ToInt32(value);
    uint32_t magnitude = whole < 0 ? uint32_t(0) - uint32_t(whole) : uint32_t(whole);
    std::string out;
    do {
        out.insert(out.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % uint32_t(radix)]);
        magnitude /= uint32_t(radix);
    } while (magnitude);
    return whole < 0 ? "-" + out : out;
}

double StringToNumberStrict(const std::string &text, bool octal)
{
    size_t pos = SkipSpaces(text, 0);
    if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        pos += 2;
        const double hex = ReadInteger(text, pos, 16);
        return pos == text.size() ? hex : NAN;
    }
    double sign = 1;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        sign = text[pos++] == '-' ? -1 : 1;
    // A leading zero followed by octal digits only reads as octal.
    if (octal && pos + 1 < text.size() && text[pos] == '0') {
        size_t end = pos + 1;
        const double octal = ReadInteger(text, end, 8);
        if (end == text.size())
            return sign * octal;
    }
    double number = 0;
    if (!ReadDecimal(text, pos, number))
        return NAN;
    return pos == text.size() ? sign * number : NAN;
}

double ParseFloatPrefix(const std::string &text)
{
    size_t pos = SkipSpaces(text, 0);
    double sign = 1;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        sign = text[pos++] == '-' ? -1 : 1;
    double number = 0;
    return ReadDecimal(text, pos, number) ? sign * number : NAN;
}

double ParseIntPrefix(const std::string &text, int radix)
{
    size_t pos = SkipSpaces(text, 0);
    double sign = 1;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        sign = text[pos++] == '-' ? -1 : 1;
    const bool hexPrefix = pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X');
    if (radix == 0) {
        if (hexPrefix) {
            radix = 16;
            pos += 2;
        } else if (pos + 1 < text.size() && text[pos] == '0' && IsDigit(text[pos + 1])) {
            radix = 8;
        } else {
            radix = 10;
        }
    } else if (radix == 16 && hexPrefix) {
        pos += 2;
    }
    if (radix < 2 || radix > 36)
        return NAN;
    return sign * ReadInteger(text, pos, radix);
}

int32_t ToInt32(double value)
{
    return int32_t(ToUint32(value));
}

uint32_t ToUint32(double value)
{
    if (!std::isfinite(value))
        return 0;
    double truncated = std::trunc(value);
    truncated = std::fmod(truncated, 4294967296.0);
    if (truncated < 0)
        truncated += 4294967296.0;
    return uint32_t(truncated);
}

}  // namespace swf::avm1
