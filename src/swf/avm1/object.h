#pragma once
// A script object: its own properties in the order they were made (a
// for-in loop lists the newest first), each with its attributes and
// either a value or a getter/setter pair (Object.addProperty), and the
// prototype it inherits from. Names are looked up by key: the name itself
// from SWF 7 on, its lower-case form below (the Machine folds them).
// Arrays, functions, boxed primitives and clips are subclasses that add
// their own state and may answer some names themselves. Objects live in
// the Heap of their Machine; one player's thread.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/avm1/value.h"

namespace swf::avm1 {

class Machine;

enum PropertyFlag : uint16_t {
    kDontEnum = 1,
    kDontDelete = 2,
    kReadOnly = 4,
    // Seen only by movies of some versions.
    kVersion6Up = 0x80,
    kNotVersion6 = 0x100,
    kVersion7Up = 0x400,
    kVersion8Up = 0x1000,
    kVersion9Up = 0x2000,
};

// The name of the own property that links an object to its prototype.
// Every object made with a prototype has it (hidden and permanent); the
// link itself is kept beside it so that lookups need not search for it.
inline const std::string kProtoName = "__proto__";

struct Property {
    std::string name;  // as first written, for enumeration
    Value value;
    Object *getter = nullptr;
    Object *setter = nullptr;
    uint16_t flags = 0;
    uint32_t order = 0;

    bool isAccessor() const { return getter != nullptr; }
};

// What a built-in class keeps inside its objects beside their properties
// (a colour transform, a filter, the clip a Transform acts on). It stays
// with the object whatever script code does to its prototype.
class NativeState {
public:
    virtual ~NativeState() = default;
    virtual void collectReferences(std::vector<Object *> &) const {}
};

// Object.watch: a function that sees every assignment to one name of the
// object and says what is stored instead.
struct Watch {
    std::string key;
    Object *callback = nullptr;
    Value userData = {};
    bool running = false;  // its own assignments are not watched again
};

class Object {
public:
    enum class Kind : uint8_t { Plain, Function, Array, Boolean, Number, String, Clip, Button, Error };

    explicit Object(Object *proto, Kind kind = Kind::Plain);
    virtual ~Object() = default;
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    Kind kind() const { return kind_; }
    // The prototype lookups follow: the object `__proto__` holds, if it
    // holds one and is there.
    Object *proto() const { return proto_; }
    // Sets `__proto__` (made anew if deleted) and so the link.
    void setProto(Object *proto);
    // The attributes of `__proto__`; 0 when there is none.
    uint16_t protoFlags() const;

    // Own properties by folded key.
    Property *findOwn(const std::string &key);
    const Property *findOwn(const std::string &key) const;
    // Adds or overwrites an own data property (attributes as given when new);
    // writing `__proto__` moves the link too.
    Property &putOwn(const std::string &key, const std::string &name, const Value &value, uint16_t flags = 0);
    bool removeOwn(const std::string &key);
    // Adds `flags` to every own property, `__proto__` included, as the
    // player's own set-up of a class does with ASSetPropFlags.
    void markAll(uint16_t flags);
    // Own properties, newest first.
    std::vector<const Property *> ownNewestFirst() const;
    size_t ownCount() const { return properties_.size(); }

    // Names the subclass answers before its own properties (array indices,
    // clip properties, children by instance name). `found` false: not here.
    virtual Value getSpecial(Machine &, const std::string &name, bool &found);
    // True when the subclass took the write.
    virtual bool setSpecial(Machine &, const std::string &name, const Value &value);
    // Names the subclass adds to an enumeration, after the own properties.
    virtual void enumerateSpecial(std::vector<std::string> &) const {}
    // Primitive inside a Boolean/Number/String object, undefined elsewhere.
    Value primitive;

    // Set by the constructor of a built-in class that keeps native state.
    std::unique_ptr<NativeState> native;

    std::vector<Watch> watches;

    // The interfaces a class declares with `implements`.
    std::vector<Object *> interfaces;

    // What the memory budget counts for this object beyond its properties.
    virtual size_t extraBytes() const { return 0; }
    // What the memory budget counts for the object as a whole.
    size_t footprint() const;

    // The objects this one keeps alive, for the collector.
    virtual void collectReferences(std::vector<Object *> &out) const;
    bool marked = false;

private:
    Object *proto_;
    Kind kind_;
    uint32_t nextOrder_ = 0;
    std::unordered_map<std::string, Property> properties_;
};

}  // namespace swf::avm1
