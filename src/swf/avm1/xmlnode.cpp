#include "swf/avm1/xmlnode.h"

#include <algorithm>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

const char *const kXmlNodeClass = "XMLNode";

// Renumbers the children from `from` on and brings the array in step.
void ChildrenChanged(Machine &m, XmlNode &node, size_t from)
{
    for (size_t i = from; i < node.children.size(); ++i)
        if (XmlNode *child = XmlNodeOf(node.children[i]))
            child->index = i;
    if (!node.childArray)
        return;
    ArrayObject &array = *node.childArray;
    const bool appendedOnly = from + 1 == node.children.size() && array.elements.size() == from;
    if (appendedOnly) {
        array.push(m, Value(node.children.back()));
        return;
    }
    array.resize(m, node.children.size());
    for (size_t i = 0; i < node.children.size(); ++i)
        array.elements[i] = Value(node.children[i]);
}

// `ancestor` is `node` or one of the nodes above it. A node without
// children is above nothing, which spares the walk when trees are built.
bool IsSelfOrAbove(Machine &m, Object *ancestor, Object *node)
{
    if (ancestor == node)
        return true;
    if (XmlNodeOf(ancestor)->children.empty())
        return false;
    for (XmlNode *o = XmlNodeOf(node); o && o->parent; o = XmlNodeOf(o->parent)) {
        if (o->parent == ancestor)
            return true;
        m.countActions(1);
    }
    return false;
}

bool CanAdopt(Machine &m, Object *parent, Object *child)
{
    return XmlNodeOf(parent) && XmlNodeOf(child) && !IsSelfOrAbove(m, child, parent);
}

// Own properties but the prototype link, oldest first: the order
// attributes were written in.
std::vector<const Property *> OldestFirst(const Object &object)
{
    std::vector<const Property *> list = object.ownNewestFirst();
    std::reverse(list.begin(), list.end());
    list.erase(std::remove_if(list.begin(), list.end(), [](const Property *p) { return p->name == kProtoName; }),
               list.end());
    return list;
}

void CopyAttributes(Machine &m, Object *from, Object *to)
{
    XmlNode *source = XmlNodeOf(from);
    if (!source || !source->attributes)
        return;
    Object *copy = XmlAttributes(m, to);
    for (const Property *p : OldestFirst(*source->attributes))
        if (!p->isAccessor())
            copy->putOwn(m.key(p->name), p->name, p->value, p->flags);
}

Object *ShallowClone(Machine &m, Object *node)
{
    Object *clone = NewXmlNode(m, kXmlElement, Value::null());
    const XmlNode *source = XmlNodeOf(node);
    if (!source)
        return clone;
    XmlNode &copy = *XmlNodeOf(clone);
    copy.type = source->type;
    copy.name = source->name;
    copy.value = source->value;
    CopyAttributes(m, node, clone);
    return clone;
}

std::string StartTag(Machine &m, const XmlNode &node, const std::string &name)
{
    std::string text = "<" + name;
    if (node.attributes)
        for (const Property *p : OldestFirst(*node.attributes)) {
            if (p->flags & kDontEnum)
                continue;
            text += " " + p->name + "=\"" + XmlEscape(m.toString(p->value)) + "\"";
        }
    return text;
}

std::string NameOf(Machine &m, const XmlNode &node)
{
    return node.name.isNullish() ? std::string() : m.toString(node.name);
}

// A Binding found by walking up from a node through its xmlns attributes.
template <class Match> Value FindBinding(Machine &m, Object *node, Match &&match)
{
    for (XmlNode *state = XmlNodeOf(node); state; state = XmlNodeOf(state->parent)) {
        m.countActions(1);
        if (!state->attributes)
            continue;
        for (const Property *p : OldestFirst(*state->attributes)) {
            const std::string &name = p->name;
            if (name != "xmlns" && name.compare(0, 6, "xmlns:") != 0)
                continue;
            const std::string prefix = name.size() > 6 ? name.substr(6) : std::string();
            Value found = match(prefix, m.toString(p->value));
            if (!found.isNull())
                return found;
        }
    }
    return Value::null();
}

}  // namespace

void XmlNode::collectReferences(std::vector<Object *> &out) const
{
    out.insert(out.end(), children.begin(), children.end());
    for (Object *o : {parent, attributes, static_cast<Object *>(childArray), idMap})
        if (o)
            out.push_back(o);
    for (const Value *v : {&name, &value, &xmlDecl, &docTypeDecl})
        if (Object *o = v->object())
            out.push_back(o);
}

XmlNode *XmlNodeOf(Object *object)
{
    return object ? dynamic_cast<XmlNode *>(object->native.get()) : nullptr;
}

XmlNode *XmlNodeOf(const Value &value) { return XmlNodeOf(value.object()); }

XmlNode &MakeXmlNode(Object *object, int type, const Value &nameOrValue)
{
    XmlNode *node = XmlNodeOf(object);
    if (!node) {
        object->native = std::make_unique<XmlNode>();
        node = XmlNodeOf(object);
    }
    node->type = type;
    node->name = type == kXmlElement ? nameOrValue : Value::null();
    node->value = type == kXmlElement ? Value::null() : nameOrValue;
    return *node;
}

Object *NewXmlNode(Machine &m, int type, const Value &nameOrValue)
{
    auto proto = m.builtinPrototypes.find(kXmlNodeClass);
    Object *object = m.make<Object>(proto == m.builtinPrototypes.end() ? m.objectProto : proto->second);
    MakeXmlNode(object, type, nameOrValue);
    return object;
}

Object *XmlAttributes(Machine &m, Object *node)
{
    XmlNode &state = *XmlNodeOf(node);
    if (!state.attributes)
        state.attributes = m.newObject();
    return state.attributes;
}

ArrayObject *XmlChildArray(Machine &m, Object *node)
{
    XmlNode &state = *XmlNodeOf(node);
    if (!state.childArray) {
        std::vector<Value> elements(state.children.begin(), state.children.end());
        state.childArray = m.newArray(std::move(elements));
    }
    return state.childArray;
}

bool XmlAppendChild(Machine &m, Object *parent, Object *child)
{
    if (!CanAdopt(m, parent, child))
        return false;
    XmlRemoveNode(m, child);
    XmlNode &state = *XmlNodeOf(parent);
    state.children.push_back(child);
    XmlNodeOf(child)->parent = parent;
    ChildrenChanged(m, state, state.children.size() - 1);
    return true;
}

bool XmlInsertBefore(Machine &m, Object *parent, Object *child, Object *before)
{
    XmlNode *beforeState = XmlNodeOf(before);
    if (!CanAdopt(m, parent, child) || !beforeState || beforeState->parent != parent || child == before)
        return false;
    XmlRemoveNode(m, child);
    XmlNode &state = *XmlNodeOf(parent);
    const size_t at = beforeState->index;
    state.children.insert(state.children.begin() + ptrdiff_t(at), child);
    XmlNodeOf(child)->parent = parent;
    ChildrenChanged(m, state, at);
    return true;
}

void XmlRemoveNode(Machine &m, Object *node)
{
    XmlNode *state = XmlNodeOf(node);
    XmlNode *parent = state ? XmlNodeOf(state->parent) : nullptr;
    if (!parent)
        return;
    const size_t at = state->index;
    if (at < parent->children.size() && parent->children[at] == node) {
        parent->children.erase(parent->children.begin() + ptrdiff_t(at));
        ChildrenChanged(m, *parent, at);
    }
    state->parent = nullptr;
    state->index = 0;
}

void XmlRemoveChildren(Machine &m, Object *node)
{
    XmlNode &state = *XmlNodeOf(node);
    for (Object *child : state.children)
        if (XmlNode *childState = XmlNodeOf(child))
            childState->parent = nullptr;
    state.children.clear();
    ChildrenChanged(m, state, 0);
}

Object *XmlCloneNode(Machine &m, Object *node, bool deep)
{
    Object *root = ShallowClone(m, node);
    if (!deep)
        return root;
    // (original, its clone) pairs whose children are still to be copied.
    std::vector<std::pair<Object *, Object *>> pending{{node, root}};
    while (!pending.empty()) {
        auto [original, clone] = pending.back();
        pending.pop_back();
        const XmlNode *state = XmlNodeOf(original);
        if (!state)
            continue;
        for (Object *child : state->children) {
            Object *copy = ShallowClone(m, child);
            XmlAppendChild(m, clone, copy);
            pending.emplace_back(child, copy);
            m.countActions(1);
        }
    }
    return root;
}

Value XmlSibling(Object *node, int step)
{
    XmlNode *state = XmlNodeOf(node);
    XmlNode *parent = state ? XmlNodeOf(state->parent) : nullptr;
    if (!parent)
        return Value::null();
    const size_t at = state->index + size_t(step);
    return at < parent->children.size() ? Value(parent->children[at]) : Value::null();
}

std::string XmlEscape(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string XmlToString(Machine &m, Object *node)
{
    struct Open {
        Object *node;
        size_t next;
        std::string name;
    };
    std::string out;
    std::vector<Open> open{{node, 0, {}}};
    auto enter = [&](Object *o) {
        const XmlNode *found = XmlNodeOf(o);
        if (!found)
            return false;
        const XmlNode &state = *found;
        if (state.type != kXmlElement) {
            out += state.value.isNullish() ? std::string() : XmlEscape(m.toString(state.value));
            return false;
        }
        const std::string name = NameOf(m, state);
        if (!name.empty())
            out += StartTag(m, state, name) + (state.children.empty() ? " />" : ">");
        open.back().name = name;
        return true;
    };
    if (const XmlNode *root = XmlNodeOf(node))
        for (const Value *declaration : {&root->xmlDecl, &root->docTypeDecl})
            if (!declaration->isUndefined())
                out += m.toString(*declaration);
    if (!enter(node))
        return out;
    while (!open.empty()) {
        m.countActions(1);
        Open &top = open.back();
        const XmlNode *state = XmlNodeOf(top.node);
        if (!state || top.next >= state->children.size()) {
            if (state && !top.name.empty() && !state->children.empty())
                out += "</" + top.name + ">";
            open.pop_back();
            continue;
        }
        Object *child = state->children[top.next++];
        open.push_back({child, 0, {}});
        if (!enter(child))
            open.pop_back();
    }
    m.book(out.size());
    return out;
}

std::string XmlPrefixOf(const std::string &name)
{
    const size_t colon = name.find(':');
    return colon == std::string::npos ? std::string() : name.substr(0, colon);
}

std::string XmlLocalNameOf(const std::string &name)
{
    const size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

Value XmlNamespaceForPrefix(Machine &m, Object *node, const std::string &prefix)
{
    return FindBinding(m, node, [&](const std::string &bound, const std::string &uri) {
        return bound == prefix ? Value(uri) : Value::null();
    });
}

Value XmlPrefixForNamespace(Machine &m, Object *node, const std::string &uri)
{
    return FindBinding(m, node, [&](const std::string &prefix, const std::string &bound) {
        return bound == uri ? Value(prefix) : Value::null();
    });
}

}  // namespace swf::avm1
