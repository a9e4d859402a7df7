#pragma once
// Numbers as scripts see them in text: the player prints at most fifteen
// significant digits, switches to its exponent form ("1e+21", "1.2e-7")
// outside 1e-5 <= |x| < 1e15, and spells the special values "NaN",
// "Infinity" and "-Infinity"; negative zero prints as "0". Reading goes
// the other way with the player's two rules: the strict reading of
// conversions (the whole text must be a number) and the lenient reading
// of parseFloat and of SWF 4 (the longest number at the start counts).

#include <cstdint>
#include <string>

namespace swf::avm1 {

std::string NumberToString(double value);
// `radix` 2..36; fractions are cut, as the player does for other radices.
std::string NumberToStringRadix(double value, int radix);

// Whitespace before the number is allowed; "0x" hex integers are read,
// and with `octal` a leading zero makes the digits octal ("010" is 8), as
// from SWF 6 on. An empty or malformed text gives NaN.
double StringToNumberStrict(const std::string &text, bool octal = true);
// parseFloat's reading: leading whitespace, then the longest decimal
// number; NaN when there is none.
double ParseFloatPrefix(const std::string &text);
// parseInt: optional radix (0 means: guess from "0x" and a leading 0).
double ParseIntPrefix(const std::string &text, int radix);

// The value of a digit of any radix up to 36 ('a' and 'A' are 10); 99
// for a character that is no digit.
int DigitValue(char c);

// ECMAScript's ToInt32 and ToUint32, used by the bit operators.
int32_t ToInt32(double value);
uint32_t ToUint32(double value);

}  // namespace swf::avm1
