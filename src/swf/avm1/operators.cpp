#include "swf/avm1/operators.h"

#include <cmath>

#include "swf/avm1/clipobject.h"
#include "swf/avm1/clipreference.h"
#include "swf/avm1/code.h"
#include "swf/avm1/dateobject.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/textutil.h"

namespace swf::avm1 {

namespace {

// A fixed-seed generator, so that a run gives the same log every time.
uint32_t NextRandom()
{
    static uint32_t state = 0x2545f491;
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

double CompareNumbers(double a, double b, bool &undefinedResult)
{
    undefinedResult = std::isnan(a) || std::isnan(b);
    return a < b;
}

// Add2 asks an object for its valueOf first and for its toString only when
// that gave another object. A clip or a text field counts as a primitive
// here (by default it answers valueOf with itself): it joins a text as its
// path and adds to a number as NaN. An object whose two answers are both
// objects joins as its type; one without a valueOf at all gives undefined.
// From SWF 6 on a Date asks toString first.
Value AddOperand(Machine &machine, const Value &value)
{
    Object *object = value.object();
    if (!object)
        return value;
    double time = 0;
    const bool textFirst = machine.version() >= 6 && DateTimeOf(object, time);
    auto primitiveEnough = [](const Value &v) {
        Object *o = v.object();
        return !o || dynamic_cast<ClipObject *>(o) || dynamic_cast<TextFieldObject *>(o);
    };
    for (const char *method : {textFirst ? "toString" : "valueOf", textFirst ? "valueOf" : "toString"}) {
        const Value result = machine.callMethod(value, method, Args());
        if (primitiveEnough(result))
            return result;
    }
    return Value(object->kind() == Object::Kind::Function ? "[type Function]" : "[type Object]");
}

}  // namespace

Value Add2(Machine &machine, const Value &a, const Value &b)
{
    // The player converts the right-hand side first.
    const Value pb = AddOperand(machine, b);
    const Value pa = AddOperand(machine, a);
    if (pa.isString() || pb.isString()) {
        std::string left = machine.toString(pa);
        const std::string right = machine.toString(pb);
        machine.book(left.size() + right.size());
        left += right;
        return Value(std::move(left));
    }
    return Value(machine.toNumber(pa) + machine.toNumber(pb));
}

double BinaryArithmetic(uint8_t code, double a, double b)
{
    switch (code) {
    case kActionAdd:
        return a + b;
    case kActionSubtract:
        return a - b;
    case kActionMultiply:
        return a * b;
    case kActionDivide:
        return a / b;
    case kActionModulo:
        return std::fmod(a, b);
    case kActionBitAnd:
        return double(ToInt32(a) & ToInt32(b));
    case kActionBitOr:
        return double(ToInt32(a) | ToInt32(b));
    case kActionBitXor:
        return double(ToInt32(a) ^ ToInt32(b));
    case kActionBitLShift:
        return double(int32_t(ToUint32(a) << (ToUint32(b) & 31)));
    case kActionBitRShift:
        return double(ToInt32(a) >> (ToUint32(b) & 31));
    case kActionBitURShift:
        return double(ToUint32(a) >> (ToUint32(b) & 31));
    default:
        return NAN;
    }
}

double UnaryArithmetic(Machine &machine, uint8_t code, double n)
{
    switch (code) {
    case kActionIncrement:
        return n + 1;
    case kActionDecrement:
        return n - 1;
    case kActionToInteger:
        return std::isfinite(n) ? std::trunc(n) : (machine.version() < 5 ? 0 : n);
    case kActionRandomNumber: {
        const int32_t top = ToInt32(n);
        return top > 0 ? double(NextRandom() % uint32_t(top)) : 0;
    }
    default:
        return n;
    }
}

std::string ExtractText(const std::string &text, double index, double count)
{
    const std::u16string units = ToUtf16(text);
    if (std::isnan(index) || std::isnan(count))
        return "";
    const double start = std::max(0.0, std::trunc(index) - 1);
    if (start >= double(units.size()) || count <= 0)
        return "";
    const double length = std::min(std::trunc(count), double(units.size()) - start);
    return ToUtf8(units.substr(size_t(start), size_t(length)));
}

bool Machine::looseEquals(const Value &first, const Value &second)
{
    const Value a = CurrentValue(*this, first);
    const Value b = CurrentValue(*this, second);
    using T = Value::Type;
    // Two different objects still compare by what their valueOf gives.
    if (a.isObject() && b.isObject() && a.object() != b.object()) {
        const Value pb = callMethod(b, "valueOf", Args());
        const Value pa = callMethod(a, "valueOf", Args());
        if (pa.isObject() || pb.isObject())
            return pa.isObject() && pb.isObject() && pa.object() == pb.object();
        return looseEquals(pa, pb);
    }
    if (a.type() == b.type())
        return a.strictEquals(b);
    if (a.isNullish() && b.isNullish())
        return true;
    if (a.isNullish() || b.isNullish())
        return false;
    if (a.isNumber() && b.isString())
        return a.number() == toNumber(b);
    if (a.isString() && b.isNumber())
        return toNumber(a) == b.number();
    if (a.isBoolean())
        return looseEquals(Value(a.boolean() ? 1.0 : 0.0), b);
    if (b.isBoolean())
        return looseEquals(a, Value(b.boolean() ? 1.0 : 0.0));
    // Against a primitive an object gives only its valueOf; toString is
    // not tried.
    auto primitiveOf = [this](const Value &v) {
        const Object::Kind kind = v.object()->kind();
        return kind == Object::Kind::Clip || kind == Object::Kind::Button ? toPrimitive(v)
                                                                          : callMethod(v, "valueOf", Args());
    };
    if (a.type() == T::Object) {
        const Value pa = primitiveOf(a);
        return !pa.isObject() && looseEquals(pa, b);
    }
    const Value pb = primitiveOf(b);
    return !pb.isObject() && looseEquals(a, pb);
}

Value Machine::lessThan(const Value &a, const Value &b)
{
    const Value pa = toPrimitive(a);
    const Value pb = toPrimitive(b);
    // SWF 5 compares texts as numbers too.
    if (pa.isString() && pb.isString() && version_ >= 6)
        return Value(ToUtf16(pa.string()) < ToUtf16(pb.string()));
    bool undefinedResult = false;
    const bool less = CompareNumbers(toNumber(pa), toNumber(pb), undefinedResult);
    return undefinedResult ? Value() : Value(less);
}

}  // namespace swf::avm1
