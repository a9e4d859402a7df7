// XML: a document node that reads markup (parseXML, or a file of the
// movie's folder through load) and makes nodes for scripts to link in.
// Loading answers on a later tick through onData, whose default parses
// the text and calls onLoad(success). Nothing is ever sent: send refuses,
// and sendAndLoad only loads the answer a local file gives.

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/loadedtext.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/movieloader.h"
#include "swf/avm1/xmlclasses.h"
#include "swf/avm1/xmlnode.h"
#include "swf/avm1/xmlparser.h"

namespace swf::avm1 {

namespace {

constexpr int kIdMapVersion = 8;

bool IgnoresWhite(Machine &m, Object *document) { return m.toBoolean(m.get(document, "ignoreWhite")); }

Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object)
        return {};
    MakeXmlNode(object, kXmlElement, Value::null());
    if (!args[0].isNullish())
        ParseXml(m, object, m.toString(args[0]), IgnoresWhite(m, object));
    return {};
}

Value ParseXmlMethod(Machine &m, const Value &self, const Args &args)
{
    if (XmlNodeOf(self))
        ParseXml(m, self.object(), m.toString(args[0]), IgnoresWhite(m, self.object()));
    return {};
}

Value CreateElement(Machine &m, const Value &, const Args &args)
{
    return Value(NewXmlNode(m, kXmlElement, Value(m.toString(args[0]))));
}

Value CreateTextNode(Machine &m, const Value &, const Args &args)
{
    return Value(NewXmlNode(m, kXmlText, Value(m.toString(args[0]))));
}

// Asks the loader for `url`'s text on behalf of `receiver`.
bool RequestText(Machine &m, Object *receiver, const Value &url)
{
    if (!receiver || url.isUndefined() || !m.clips)
        return false;
    m.set(receiver, "loaded", Value(false));
    if (auto *receipt = dynamic_cast<DataReceipt *>(receiver->native.get()))
        receipt->bytesLoaded = 0;
    m.clips->loader().requestData(receiver, m.toString(url));
    return true;
}

Value Load(Machine &m, const Value &self, const Args &args) { return Value(RequestText(m, self.object(), args[0])); }

Value SendAndLoad(Machine &m, const Value &, const Args &args)
{
    return Value(RequestText(m, args[1].object(), args[0]));
}

Value Refuse(Machine &, const Value &, const Args &) { return Value(false); }
Value Nothing(Machine &, const Value &, const Args &) { return {}; }

Value OnData(Machine &m, const Value &self, const Args &args) { return AnswerLoadedText(m, self, args[0], "parseXML"); }

Value BytesOf(double bytes) { return bytes < 0 ? Value() : Value(bytes); }

Value GetBytesLoaded(Machine &, const Value &self, const Args &)
{
    XmlNode *node = XmlNodeOf(self);
    return node ? BytesOf(node->bytesLoaded) : Value();
}

Value GetBytesTotal(Machine &, const Value &self, const Args &)
{
    XmlNode *node = XmlNodeOf(self);
    return node ? BytesOf(node->bytesTotal) : Value();
}

template <Value XmlNode::*Field> Value GetDeclaration(Machine &, const Value &self, const Args &)
{
    XmlNode *node = XmlNodeOf(self);
    return node ? node->*Field : Value();
}

template <Value XmlNode::*Field> Value SetDeclaration(Machine &, const Value &self, const Args &args)
{
    if (XmlNode *node = XmlNodeOf(self))
        node->*Field = args[0];
    return {};
}

Value GetStatus(Machine &, const Value &self, const Args &)
{
    XmlNode *node = XmlNodeOf(self);
    return node ? Value(node->status) : Value();
}

Value SetStatus(Machine &m, const Value &self, const Args &args)
{
    if (XmlNode *node = XmlNodeOf(self))
        node->status = m.toNumber(args[0]);
    return {};
}

Value GetIdMap(Machine &m, const Value &self, const Args &)
{
    XmlNode *node = XmlNodeOf(self);
    if (!node)
        return {};
    if (!node->idMap)
        node->idMap = m.newObject();
    return Value(node->idMap);
}

Value SetIdMap(Machine &, const Value &self, const Args &args)
{
    if (XmlNode *node = XmlNodeOf(self))
        node->idMap = args[0].object();
    return {};
}

}  // namespace

void InstallXmlClasses(Machine &m)
{
    Object *nodeProto = InstallXmlNodePrototype(m);
    Object *proto = m.make<Object>(nodeProto);
    DefineClass(m, "XML", proto, Construct, Construct);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"parseXML", ParseXmlMethod},
        {"createElement", CreateElement},
        {"createTextNode", CreateTextNode},
        {"load", Load},
        {"send", Refuse},
        {"sendAndLoad", SendAndLoad},
        {"onData", OnData},
        {"onLoad", Nothing},
        {"getBytesLoaded", GetBytesLoaded},
        {"getBytesTotal", GetBytesTotal},
        {"addRequestHeader", Nothing},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
    DefineAccessor(m, proto, "status", GetStatus, SetStatus, kDontEnum);
    DefineAccessor(m, proto, "xmlDecl", GetDeclaration<&XmlNode::xmlDecl>, SetDeclaration<&XmlNode::xmlDecl>,
                   kDontEnum);
    DefineAccessor(m, proto, "docTypeDecl", GetDeclaration<&XmlNode::docTypeDecl>,
                   SetDeclaration<&XmlNode::docTypeDecl>, kDontEnum);
    if (m.version() >= kIdMapVersion)
        DefineAccessor(m, proto, "idMap", GetIdMap, SetIdMap, kDontEnum);
    m.defineValue(proto, "contentType", Value("application/x-www-form-urlencoded"));
    m.defineValue(proto, "ignoreWhite", Value(false));
}

}  // namespace swf::avm1
