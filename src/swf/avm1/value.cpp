#include "swf/avm1/value.h"

#include <cmath>

#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

// From SWF 7 on, undefined and null are NaN and print "undefined"; earlier
// players treat them as 0 and as the empty text.
constexpr int kStrictUndefinedVersion = 7;
// SWF 4 read numbers from text the lenient way and never made NaN.
constexpr int kStrictNumberVersion = 5;
// Texts such as "010" read as octal from SWF 6 on.
constexpr int kOctalVersion = 6;

}  // namespace

double Value::toNumberPrimitive(int version) const
{
    switch (type_) {
    case Type::Undefined:
    case Type::Null:
        return version < kStrictUndefinedVersion ? 0 : NAN;
    case Type::Boolean:
        return boolean_ ? 1 : 0;
    case Type::Number:
        return number_;
    case Type::String:
        if (version < kStrictNumberVersion) {
            const double lenient = ParseFloatPrefix(*string_);
            return std::isnan(lenient) ? 0 : lenient;
        }
        return StringToNumberStrict(*string_, version >= kOctalVersion);
    case Type::Object:
        return version < kStrictNumberVersion ? 0 : NAN;
    }
    return NAN;
}

bool Value::toBooleanPrimitive(int version) const
{
    switch (type_) {
    case Type::Undefined:
    case Type::Null:
        return false;
    case Type::Boolean:
        return boolean_;
    case Type::Number:
        return !std::isnan(number_) && number_ != 0;
    case Type::String:
        // Before SWF 7 a text is true when it reads as a non-zero number.
        if (version < kStrictUndefinedVersion) {
            const double n = toNumberPrimitive(version);
            return !std::isnan(n) && n != 0;
        }
        return !string_->empty();
    case Type::Object:
        return true;
    }
    return false;
}

std::string Value::toStringPrimitive(int version) const
{
    switch (type_) {
    case Type::Undefined:
        return version < kStrictUndefinedVersion ? "" : "undefined";
    case Type::Null:
        return "null";
    case Type::Boolean:
        return boolean_ ? "true" : "false";
    case Type::Number:
        return NumberToString(number_);
    case Type::String:
        return *string_;
    case Type::Object:
        return "[object]";
    }
    return "";
}

const char *Value::typeName() const
{
    switch (type_) {
    case Type::Undefined:
        return "undefined";
    case Type::Null:
        return "null";
    case Type::Boolean:
        return "boolean";
    case Type::Number:
        return "number";
    case Type::String:
        return "string";
    case Type::Object:
        return "object";
    }
    return "undefined";
}

bool Value::strictEquals(const Value &other) const
{
    if (type_ != other.type_)
        return false;
    switch (type_) {
    case Type::Undefined:
    case Type::Null:
        return true;
    case Type::Boolean:
        return boolean_ == other.boolean_;
    case Type::Number:
        return number_ == other.number_;
    case Type::String:
        return string_ == other.string_ || *string_ == *other.string_;
    case Type::Object:
        return object_ == other.object_;
    }
    return false;
}

}  // namespace swf::avm1
