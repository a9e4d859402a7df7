#include "swf/avm1/object.h"

#include <algorithm>

namespace swf::avm1 {

Object::Object(Object *proto, Kind kind) : proto_(nullptr), kind_(kind)
{
    if (proto)
        setProto(proto);
}

void Object::setProto(Object *proto)
{
    putOwn(kProtoName, kProtoName, Value(proto), kDontEnum | kDontDelete);
}

uint16_t Object::protoFlags() const
{
    const Property *p = findOwn(kProtoName);
    return p ? p->flags : 0;
}

Property *Object::findOwn(const std::string &key)
{
    auto it = properties_.find(key);
    return it == properties_.end() ? nullptr : &it->second;
}

const Property *Object::findOwn(const std::string &key) const
{
    auto it = properties_.find(key);
    return it == properties_.end() ? nullptr : &it->second;
}

Property &Object::putOwn(const std::string &key, const std::string &name, const Value &value, uint16_t flags)
{
    auto [it, added] = properties_.try_emplace(key);
    Property &property = it->second;
    if (added) {
        property.name = name;
        property.flags = flags;
        property.order = nextOrder_++;
    }
    property.value = value;
    property.getter = nullptr;
    property.setter = nullptr;
    if (key == kProtoName)
        proto_ = value.object();
    return property;
}

bool Object::removeOwn(const std::string &key)
{
    if (key == kProtoName)
        proto_ = nullptr;
    return properties_.erase(key) > 0;
}

void Object::markAll(uint16_t flags)
{
    for (auto &entry : properties_)
        entry.second.flags |= flags;
}

std::vector<const Property *> Object::ownNewestFirst() const
{
    std::vector<const Property *> list;
    list.reserve(properties_.size());
    for (const auto &entry : properties_)
        list.push_back(&entry.second);
    std::sort(list.begin(), list.end(), [](const Property *a, const Property *b) { return a->order > b->order; });
    return list;
}

size_t Object::footprint() const
{
    size_t bytes = sizeof(Object) + 64 + extraBytes();
    for (const auto &[key, p] : properties_)
        bytes += sizeof(Property) + key.size() * 2 + 32 + (p.value.isString() ? p.value.string().size() : 0);
    return bytes;
}

void Object::collectReferences(std::vector<Object *> &out) const
{
    if (proto_)
        out.push_back(proto_);
    for (const auto &[key, p] : properties_) {
        if (Object *o = p.value.object())
            out.push_back(o);
        if (p.getter)
            out.push_back(p.getter);
        if (p.setter)
            out.push_back(p.setter);
    }
    out.insert(out.end(), interfaces.begin(), interfaces.end());
    if (native)
        native->collectReferences(out);
    for (const Watch &watch : watches) {
        out.push_back(watch.callback);
        if (Object *o = watch.userData.object())
            out.push_back(o);
    }
}

Value Object::getSpecial(Machine &, const std::string &, bool &found)
{
    found = false;
    return {};
}

bool Object::setSpecial(Machine &, const std::string &, const Value &)
{
    return false;
}

}  // namespace swf::avm1
