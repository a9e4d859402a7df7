#pragma once
// The arithmetic of actions, apart from the loop that pops their operands.

#include <string>

#include "swf/avm1/machine.h"

namespace swf::avm1 {

// ActionAdd2: texts join when either side is one after ToPrimitive.
Value Add2(Machine &machine, const Value &a, const Value &b);
// Subtract, Multiply, Divide, Modulo, the bit operators and SWF 4's Add.
double BinaryArithmetic(uint8_t code, double a, double b);
// Increment, Decrement, ToNumber, ToInteger, RandomNumber.
double UnaryArithmetic(Machine &machine, uint8_t code, double n);
// SWF 4's substring: 1-based index, count; out-of-range parts are cut.
std::string ExtractText(const std::string &text, double index, double count);

}  // namespace swf::avm1
