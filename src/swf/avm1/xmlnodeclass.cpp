// XMLNode: one node of an XML tree. Its links and names are accessors of
// the prototype over the node's native state, so they answer for any
// object the constructor made a node, a subclass's included.

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/xmlclasses.h"
#include "swf/avm1/xmlnode.h"

namespace swf::avm1 {

namespace {

Value Construct(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object()) {
        const int type = ToInt32(m.toNumber(args[0]));
        MakeXmlNode(object, type, args.size() > 1 ? Value(m.toString(args[1])) : Value::null());
    }
    return {};
}

template <Value (*Read)(Machine &, Object *, XmlNode &)>
Value Getter(Machine &m, const Value &self, const Args &)
{
    XmlNode *node = XmlNodeOf(self);
    return node ? Read(m, self.object(), *node) : Value();
}

Value ReadAttributes(Machine &m, Object *object, XmlNode &) { return Value(XmlAttributes(m, object)); }
Value ReadChildNodes(Machine &m, Object *object, XmlNode &) { return Value(XmlChildArray(m, object)); }
Value ReadFirstChild(Machine &, Object *, XmlNode &node)
{
    return node.children.empty() ? Value::null() : Value(node.children.front());
}
Value ReadLastChild(Machine &, Object *, XmlNode &node)
{
    return node.children.empty() ? Value::null() : Value(node.children.back());
}
Value ReadNextSibling(Machine &, Object *object, XmlNode &) { return XmlSibling(object, 1); }
Value ReadPreviousSibling(Machine &, Object *object, XmlNode &) { return XmlSibling(object, -1); }
Value ReadParentNode(Machine &, Object *, XmlNode &node) { return node.parent ? Value(node.parent) : Value::null(); }
Value ReadNodeType(Machine &, Object *, XmlNode &node) { return Value(node.type); }
Value ReadNodeName(Machine &, Object *, XmlNode &node) { return node.name; }
Value ReadNodeValue(Machine &, Object *, XmlNode &node) { return node.value; }

// The name parts and namespace of an element; null for texts and nameless nodes.
bool ElementName(Machine &m, XmlNode &node, std::string &name)
{
    if (node.type != kXmlElement || node.name.isNullish())
        return false;
    name = m.toString(node.name);
    return true;
}
Value ReadPrefix(Machine &m, Object *, XmlNode &node)
{
    std::string name;
    return ElementName(m, node, name) ? Value(XmlPrefixOf(name)) : Value::null();
}
Value ReadLocalName(Machine &m, Object *, XmlNode &node)
{
    std::string name;
    return ElementName(m, node, name) ? Value(XmlLocalNameOf(name)) : Value::null();
}
Value ReadNamespaceUri(Machine &m, Object *object, XmlNode &node)
{
    std::string name;
    if (!ElementName(m, node, name))
        return Value::null();
    const Value uri = XmlNamespaceForPrefix(m, object, XmlPrefixOf(name));
    return uri.isNull() && XmlPrefixOf(name).empty() ? Value("") : uri;
}

Value SetNodeName(Machine &m, const Value &self, const Args &args)
{
    if (XmlNode *node = XmlNodeOf(self))
        node->name = args[0].isNullish() ? Value::null() : Value(m.toString(args[0]));
    return {};
}

Value SetNodeValue(Machine &m, const Value &self, const Args &args)
{
    if (XmlNode *node = XmlNodeOf(self))
        node->value = args[0].isNullish() ? Value::null() : Value(m.toString(args[0]));
    return {};
}

Value AppendChild(Machine &m, const Value &self, const Args &args)
{
    XmlAppendChild(m, self.object(), args[0].object());
    return {};
}

Value InsertBefore(Machine &m, const Value &self, const Args &args)
{
    XmlInsertBefore(m, self.object(), args[0].object(), args[1].object());
    return {};
}

Value RemoveNode(Machine &m, const Value &self, const Args &)
{
    XmlRemoveNode(m, self.object());
    return {};
}

Value CloneNode(Machine &m, const Value &self, const Args &args)
{
    if (!XmlNodeOf(self))
        return {};
    return Value(XmlCloneNode(m, self.object(), m.toBoolean(args[0])));
}

Value HasChildNodes(Machine &, const Value &self, const Args &)
{
    XmlNode *node = XmlNodeOf(self);
    return Value(node && !node->children.empty());
}

Value ToString(Machine &m, const Value &self, const Args &)
{
    return XmlNodeOf(self) ? Value(XmlToString(m, self.object())) : Value();
}

Value NamespaceForPrefix(Machine &m, const Value &self, const Args &args)
{
    if (!XmlNodeOf(self) || args.size() < 1)
        return Value::null();
    return XmlNamespaceForPrefix(m, self.object(), m.toString(args[0]));
}

Value PrefixForNamespace(Machine &m, const Value &self, const Args &args)
{
    if (!XmlNodeOf(self) || args.size() < 1)
        return Value::null();
    return XmlPrefixForNamespace(m, self.object(), m.toString(args[0]));
}

}  // namespace

Object *InstallXmlNodePrototype(Machine &m)
{
    Object *proto = m.newObject();
    DefineClass(m, "XMLNode", proto, Construct, Construct);
    m.builtinPrototypes["XMLNode"] = proto;
    const std::pair<const char *, NativeFunction> readOnly[] = {
        {"attributes", Getter<ReadAttributes>},
        {"childNodes", Getter<ReadChildNodes>},
        {"firstChild", Getter<ReadFirstChild>},
        {"lastChild", Getter<ReadLastChild>},
        {"nextSibling", Getter<ReadNextSibling>},
        {"previousSibling", Getter<ReadPreviousSibling>},
        {"parentNode", Getter<ReadParentNode>},
        {"nodeType", Getter<ReadNodeType>},
        {"prefix", Getter<ReadPrefix>},
        {"localName", Getter<ReadLocalName>},
        {"namespaceURI", Getter<ReadNamespaceUri>},
    };
    for (const auto &[name, getter] : readOnly)
        DefineAccessor(m, proto, name, getter, nullptr, kDontEnum);
    DefineAccessor(m, proto, "nodeName", Getter<ReadNodeName>, SetNodeName, kDontEnum);
    DefineAccessor(m, proto, "nodeValue", Getter<ReadNodeValue>, SetNodeValue, kDontEnum);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"appendChild", AppendChild},
        {"insertBefore", InsertBefore},
        {"removeNode", RemoveNode},
        {"cloneNode", CloneNode},
        {"hasChildNodes", HasChildNodes},
        {"toString", ToString},
        {"getNamespaceForPrefix", NamespaceForPrefix},
        {"getPrefixForNamespace", PrefixForNamespace},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
    return proto;
}

}  // namespace swf::avm1
