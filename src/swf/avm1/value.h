#pragma once
// One script value: undefined, null, a boolean, a number, a string or an
// object. Strings are shared and never change, so copying a value is cheap.
// Objects belong to the Heap; a value only points at one. The conversions
// here are those that need no script code; converting an object (which may
// call its valueOf or toString) goes through the Machine.

#include <memory>
#include <string>

namespace swf::avm1 {

class Object;

using SharedString = std::shared_ptr<const std::string>;

class Value {
public:
    enum class Type : uint8_t { Undefined, Null, Boolean, Number, String, Object };

    Value() = default;
    Value(bool b) : type_(Type::Boolean), boolean_(b) {}
    Value(double n) : type_(Type::Number), number_(n) {}
    Value(int n) : type_(Type::Number), number_(n) {}
    Value(const char *s) : Value(std::string(s)) {}
    Value(std::string s) : type_(Type::String), string_(std::make_shared<const std::string>(std::move(s))) {}
    Value(SharedString s) : type_(Type::String), string_(std::move(s)) {}
    Value(Object *o) : type_(o ? Type::Object : Type::Null), object_(o) {}
    static Value null() { return Value(static_cast<Object *>(nullptr)); }

    Type type() const { return type_; }
    bool isUndefined() const { return type_ == Type::Undefined; }
    bool isNull() const { return type_ == Type::Null; }
    bool isNullish() const { return type_ == Type::Undefined || type_ == Type::Null; }
    bool isBoolean() const { return type_ == Type::Boolean; }
    bool isNumber() const { return type_ == Type::Number; }
    bool isString() const { return type_ == Type::String; }
    bool isObject() const { return type_ == Type::Object; }

    bool boolean() const { return boolean_; }
    double number() const { return number_; }
    const std::string &string() const { return *string_; }
    const SharedString &sharedString() const { return string_; }
    Object *object() const { return type_ == Type::Object ? object_ : nullptr; }

    // Conversions of primitives; an object counts as NaN, true and
    // "[object]" here (the Machine converts objects properly first).
    double toNumberPrimitive(int version) const;
    bool toBooleanPrimitive(int version) const;
    std::string toStringPrimitive(int version) const;

    // What typeof says of a primitive ("object" for objects; the Machine
    // tells functions and clips apart).
    const char *typeName() const;

    // Same type and same value (strict equality), NaN unequal to itself.
    bool strictEquals(const Value &other) const;

private:
    Type type_ = Type::Undefined;
    bool boolean_ = false;
    double number_ = 0;
    SharedString string_;
    Object *object_ = nullptr;
};

}  // namespace swf::avm1
