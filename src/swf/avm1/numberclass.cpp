// Number and Boolean: conversion, boxing, toString and valueOf.

#include <cfloat>
#include <cmath>

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

// What an object of the class holds; `new Number(5)` makes a plain object
// that its constructor fills, so the primitive's type tells, not the kind.
Value Boxed(const Value &self, Value::Type type, const Value &fallback)
{
    Object *object = self.object();
    if (object && object->primitive.type() == type)
        return object->primitive;
    return self.isObject() ? fallback : self;
}

Value NumberCall(Machine &m, const Value &, const Args &args)
{
    return Value(args.size() ? m.toNumber(args[0]) : 0.0);
}

Value NumberConstruct(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object())
        object->primitive = NumberCall(m, self, args);
    return self;
}

Value NumberToStringMethod(Machine &m, const Value &self, const Args &args)
{
    const double n = m.toNumber(Boxed(self, Value::Type::Number, Value(NAN)));
    const int radix = args[0].isUndefined() ? 10 : ToInt32(m.toNumber(args[0]));
    return Value(NumberToStringRadix(n, radix));
}

Value NumberValueOf(Machine &, const Value &self, const Args &)
{
    return Boxed(self, Value::Type::Number, Value(NAN));
}

Value BooleanCall(Machine &m, const Value &, const Args &args)
{
    return Value(args.size() ? m.toBoolean(args[0]) : false);
}

Value BooleanConstruct(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object())
        object->primitive = BooleanCall(m, self, args);
    return self;
}

Value BooleanToString(Machine &m, const Value &self, const Args &)
{
    return Value(m.toString(Boxed(self, Value::Type::Boolean, Value(false))));
}

Value BooleanValueOf(Machine &, const Value &self, const Args &)
{
    return Boxed(self, Value::Type::Boolean, Value(false));
}

}  // namespace

void InstallNumberClass(Machine &m)
{
    m.numberProto = m.make<Object>(m.objectProto, Object::Kind::Number);
    m.numberProto->primitive = Value(0.0);
    FunctionObject *number = DefineClass(m, "Number", m.numberProto, NumberCall, NumberConstruct);
    m.defineMethod(m.numberProto, "toString", NumberToStringMethod);
    m.defineMethod(m.numberProto, "valueOf", NumberValueOf);
    const uint8_t constant = kDontEnum | kDontDelete | kReadOnly;
    m.defineValue(number, "MAX_VALUE", Value(DBL_MAX), constant);
    m.defineValue(number, "MIN_VALUE", Value(4.9406564584124654e-324), constant);
    m.defineValue(number, "NaN", Value(NAN), constant);
    m.defineValue(number, "NEGATIVE_INFINITY", Value(-INFINITY), constant);
    m.defineValue(number, "POSITIVE_INFINITY", Value(INFINITY), constant);
}

void InstallBooleanClass(Machine &m)
{
    m.booleanProto = m.make<Object>(m.objectProto, Object::Kind::Boolean);
    m.booleanProto->primitive = Value(false);
    DefineClass(m, "Boolean", m.booleanProto, BooleanCall, BooleanConstruct);
    m.defineMethod(m.booleanProto, "toString", BooleanToString);
    m.defineMethod(m.booleanProto, "valueOf", BooleanValueOf);
}

}  // namespace swf::avm1
