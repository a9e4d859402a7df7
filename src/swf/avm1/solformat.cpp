#include "swf/avm1/solformat.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/dateobject.h"
#include "swf/avm1/function.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/textutil.h"
#include "swf/avm1/xmlnode.h"

namespace swf::avm1 {

namespace {

enum Amf0 : uint8_t {
    kNumber = 0x00,
    kBoolean = 0x01,
    kString = 0x02,
    kObject = 0x03,
    kNull = 0x05,
    kUndefined = 0x06,
    kReference = 0x07,
    kEcmaArray = 0x08,
    kObjectEnd = 0x09,
    kStrictArray = 0x0A,
    kDate = 0x0B,
    kLongString = 0x0C,
    kXmlDocument = 0x0F,
    kTypedObject = 0x10,
};

constexpr char kSignature[] = "TCSO";
constexpr uint8_t kHeaderPad[] = {0x00, 0x04, 0x00, 0x00, 0x00, 0x00};
constexpr uint16_t kMagic = 0x00BF;
constexpr uint32_t kAmf0 = 0;
constexpr size_t kShortStringLimit = 0xFFFF;

bool IsWritable(const Value &value)
{
    Object *o = value.object();
    return !o || (o->kind() != Object::Kind::Function && o->kind() != Object::Kind::Clip);
}

// Own enumerable data properties, oldest first.
std::vector<const Property *> Storable(const Object &object)
{
    std::vector<const Property *> list = object.ownNewestFirst();
    std::reverse(list.begin(), list.end());
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const Property *p) {
                                  return p->isAccessor() || (p->flags & kDontEnum) || !IsWritable(p->value);
                              }),
               list.end());
    return list;
}

class SolWriter {
public:
    explicit SolWriter(Machine &machine) : m_(machine) {}

    std::string out;

    void u8(uint8_t v) { out += char(v); }
    void u16(uint32_t v)
    {
        u8(uint8_t(v >> 8));
        u8(uint8_t(v));
    }
    void u32(uint32_t v)
    {
        u16(v >> 16);
        u16(v & 0xFFFF);
    }
    void number(double v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(uint32_t(bits >> 32));
        u32(uint32_t(bits));
    }
    // A name: at most 65535 bytes, as its length field allows.
    void name(const std::string &text)
    {
        const std::string cut = text.substr(0, kShortStringLimit);
        u16(uint32_t(cut.size()));
        out += cut;
    }
    void longText(const std::string &text)
    {
        u32(uint32_t(text.size()));
        out += text;
    }

    void value(const Value &v, int depth)
    {
        m_.countActions(1);
        switch (v.type()) {
        case Value::Type::Number: u8(kNumber), number(v.number()); return;
        case Value::Type::Boolean: u8(kBoolean), u8(v.boolean() ? 1 : 0); return;
        case Value::Type::String: return text(v.string());
        case Value::Type::Null: u8(kNull); return;
        case Value::Type::Object: return object(v.object(), depth);
        default: u8(kUndefined); return;
        }
    }

    void properties(const Object &object, int depth)
    {
        for (const Property *p : Storable(object)) {
            name(p->name);
            value(p->value, depth);
        }
        u16(0);
        u8(kObjectEnd);
    }

private:
    void text(const std::string &s)
    {
        if (s.size() <= kShortStringLimit) {
            u8(kString);
            name(s);
            return;
        }
        u8(kLongString);
        longText(s);
    }

    void object(Object *o, int depth)
    {
        double time = 0;
        if (DateTimeOf(o, time)) {
            u8(kDate), number(time), u16(0);
            return;
        }
        if (XmlNodeOf(o) && !XmlNodeOf(o)->parent) {
            u8(kXmlDocument);
            longText(XmlToString(m_, o));
            return;
        }
        auto seen = references_.find(o);
        if (seen != references_.end() && seen->second <= int(kShortStringLimit)) {
            u8(kReference), u16(uint32_t(seen->second));
            return;
        }
        if (depth >= kSolDepthLimit) {
            u8(kUndefined);
            return;
        }
        references_.emplace(o, int(references_.size()));
        auto *array = dynamic_cast<ArrayObject *>(o);
        if (!array) {
            u8(kObject);
            properties(*o, depth + 1);
            return;
        }
        u8(kEcmaArray);
        u32(uint32_t(array->elements.size()));
        for (size_t i = 0; i < array->elements.size(); ++i)
            if (IsWritable(array->elements[i])) {
                name(std::to_string(i));
                value(array->elements[i], depth + 1);
            }
        properties(*o, depth + 1);
    }

    Machine &m_;
    std::unordered_map<Object *, int> references_;
};

class SolReader {
public:
    SolReader(Machine &machine, const std::string &bytes) : m_(machine), bytes_(bytes), end_(bytes.size()) {}

    bool header()
    {
        uint32_t magic = 0, length = 0, version = 0;
        std::string signature, pad, ignoredName;
        if (!u16(magic) || magic != kMagic || !u32(length) || length > end_ - pos_)
            return false;
        end_ = pos_ + length;
        if (!raw(4, signature) || signature != kSignature || !raw(sizeof kHeaderPad, pad))
            return false;
        return shortText(ignoredName) && u32(version) && version == kAmf0;
    }

    bool entries(std::vector<std::pair<std::string, Value>> &out)
    {
        while (pos_ < end_) {
            std::string key;
            Value v;
            uint8_t trailer = 0;
            if (!shortText(key) || !value(v, 0))
                return false;
            if (pos_ < end_ && (!u8(trailer) || trailer != 0))
                return false;
            out.emplace_back(std::move(key), v);
        }
        return true;
    }

private:
    bool u8(uint8_t &v)
    {
        if (pos_ >= end_)
            return false;
        v = uint8_t(bytes_[pos_++]);
        return true;
    }
    bool u16(uint32_t &v)
    {
        uint8_t a = 0, b = 0;
        if (!u8(a) || !u8(b))
            return false;
        v = uint32_t(a) << 8 | b;
        return true;
    }
    bool u32(uint32_t &v)
    {
        uint32_t high = 0, low = 0;
        if (!u16(high) || !u16(low))
            return false;
        v = high << 16 | low;
        return true;
    }
    bool number(double &v)
    {
        uint32_t high = 0, low = 0;
        if (!u32(high) || !u32(low))
            return false;
        const uint64_t bits = uint64_t(high) << 32 | low;
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }
    bool raw(size_t length, std::string &out)
    {
        if (length > end_ - pos_)
            return false;
        out = bytes_.substr(pos_, length);
        pos_ += length;
        m_.book(length);
        return true;
    }
    bool shortText(std::string &out)
    {
        uint32_t length = 0;
        return u16(length) && raw(length, out) && (out = TextFromMovie(out, kUtf8Version), true);
    }
    bool longText(std::string &out)
    {
        uint32_t length = 0;
        return u32(length) && raw(length, out) && (out = TextFromMovie(out, kUtf8Version), true);
    }

    bool value(Value &out, int depth)
    {
        uint8_t marker = 0;
        if (!u8(marker) || depth > kSolDepthLimit)
            return false;
        m_.countActions(1);
        switch (marker) {
        case kNumber: {
            double n = 0;
            return number(n) && (out = Value(n), true);
        }
        case kBoolean: {
            uint8_t b = 0;
            return u8(b) && (out = Value(b != 0), true);
        }
        case kString:
        case kLongString: {
            std::string s;
            return (marker == kString ? shortText(s) : longText(s)) && (out = Value(s), true);
        }
        case kNull: out = Value::null(); return true;
        case kUndefined: out = Value(); return true;
        case kReference: return reference(out);
        case kDate: return date(out);
        case kXmlDocument: return xml(out);
        case kStrictArray: return strictArray(out, depth);
        case kObject:
        case kEcmaArray:
        case kTypedObject: return object(marker, out, depth);
        default: return false;
        }
    }

    bool reference(Value &out)
    {
        uint32_t index = 0;
        if (!u16(index) || index >= references_.size())
            return false;
        out = Value(references_[index]);
        return true;
    }

    bool date(Value &out)
    {
        double time = 0;
        uint32_t zone = 0;
        if (!number(time) || !u16(zone))
            return false;
        out = m_.construct(m_.get(m_.global, "Date"), Args({Value(time)}));
        return true;
    }

    bool xml(Value &out)
    {
        std::string text;
        if (!longText(text))
            return false;
        out = m_.construct(m_.get(m_.global, "XML"), Args({Value(text)}));
        return true;
    }

    bool strictArray(Value &out, int depth)
    {
        uint32_t count = 0;
        if (!u32(count) || count > end_ - pos_)
            return false;
        ArrayObject *array = m_.newArray();
        references_.push_back(array);
        for (uint32_t i = 0; i < count; ++i) {
            Value element;
            if (!value(element, depth + 1))
                return false;
            array->push(m_, element);
        }
        out = Value(array);
        return true;
    }

    bool object(uint8_t marker, Value &out, int depth)
    {
        uint32_t ignoredCount = 0;
        std::string ignoredClass;
        if (marker == kEcmaArray && !u32(ignoredCount))
            return false;
        if (marker == kTypedObject && !shortText(ignoredClass))
            return false;
        Object *o = marker == kEcmaArray ? m_.newArray() : m_.newObject();
        references_.push_back(o);
        out = Value(o);
        for (;;) {
            std::string key;
            if (!shortText(key))
                return false;
            if (key.empty()) {
                uint8_t end = 0;
                return u8(end) && end == kObjectEnd;
            }
            Value v;
            if (!value(v, depth + 1))
                return false;
            m_.set(o, key, v);
        }
    }

    static constexpr int kUtf8Version = 6;
    Machine &m_;
    const std::string &bytes_;
    size_t pos_ = 0;
    size_t end_;
    std::vector<Object *> references_;
};

}  // namespace

std::string EncodeSol(Machine &m, const std::string &name, Object *data)
{
    SolWriter body(m);
    body.out.append(kSignature, 4);
    body.out.append(reinterpret_cast<const char *>(kHeaderPad), sizeof kHeaderPad);
    body.name(name);
    body.u32(kAmf0);
    if (data)
        for (const Property *p : Storable(*data)) {
            body.name(p->name);
            body.value(p->value, 0);
            body.u8(0);
        }
    SolWriter file(m);
    file.u16(kMagic);
    file.u32(uint32_t(body.out.size()));
    return file.out + body.out;
}

bool DecodeSol(Machine &m, const std::string &bytes, std::vector<std::pair<std::string, Value>> &properties)
{
    SolReader reader(m, bytes);
    std::vector<std::pair<std::string, Value>> read;
    if (!reader.header() || !reader.entries(read))
        return false;
    properties = std::move(read);
    return true;
}

}  // namespace swf::avm1
