#pragma once
// The node tree behind XML and XMLNode. A node is any script object whose
// native state is an XmlNode (so that a class extending XML gets one from
// its super constructor); the tree links objects, never states, and every
// link is kept both ways: a parent lists a child exactly when the child
// names it as its parent. The childNodes array and the attributes object
// are made on first use and stay the same objects afterwards; the array
// follows every change of the tree. Walks over the tree (toString, deep
// clones) keep their own stack, so a tree a script grows deep cannot
// exhaust the program's. One player's thread.

#include <string>
#include <vector>

#include "swf/avm1/movieloader.h"
#include "swf/avm1/object.h"

namespace swf::avm1 {

class ArrayObject;
class Machine;

enum XmlNodeType : int {
    kXmlElement = 1,
    kXmlText = 3,
};

struct XmlNode : DataReceipt {
    int type = kXmlElement;
    // An element's name, a text's value; null where the node has none.
    Value name = Value::null();
    Value value = Value::null();
    Object *parent = nullptr;
    std::vector<Object *> children;
    // Where this node stands among its parent's children.
    size_t index = 0;
    Object *attributes = nullptr;
    ArrayObject *childArray = nullptr;

    // The document's own facts (XML objects); other nodes leave them be.
    // The declarations are written before the nodes when not undefined.
    double status = 0;
    Value xmlDecl;
    Value docTypeDecl;
    Object *idMap = nullptr;

    void collectReferences(std::vector<Object *> &out) const override;
};

// The node state of `object`; null when it is no node.
XmlNode *XmlNodeOf(Object *object);
XmlNode *XmlNodeOf(const Value &value);

// Makes `object` a node (keeping its links when it already is one).
XmlNode &MakeXmlNode(Object *object, int type, const Value &nameOrValue);
// A new node object inheriting from XMLNode's prototype.
Object *NewXmlNode(Machine &machine, int type, const Value &nameOrValue);

Object *XmlAttributes(Machine &machine, Object *node);
ArrayObject *XmlChildArray(Machine &machine, Object *node);

// Tree changes; each refuses (false) what would break the tree: a child
// that is no node, or one that is `parent` itself or holds it.
bool XmlAppendChild(Machine &machine, Object *parent, Object *child);
bool XmlInsertBefore(Machine &machine, Object *parent, Object *child, Object *before);
void XmlRemoveNode(Machine &machine, Object *node);
// Takes every child off `node`.
void XmlRemoveChildren(Machine &machine, Object *node);
Object *XmlCloneNode(Machine &machine, Object *node, bool deep);

// Siblings and parent as scripts see them: the object or null.
Value XmlSibling(Object *node, int step);

// The node and all below it as markup, with the player's escaping.
std::string XmlToString(Machine &machine, Object *node);
// The five characters markup reserves, written as entities.
std::string XmlEscape(const std::string &text);

// "a:b" -> "a" and "b"; a name without colon has the prefix "".
std::string XmlPrefixOf(const std::string &name);
std::string XmlLocalNameOf(const std::string &name);
// The URI an xmlns attribute of the node or of a node above binds
// `prefix` to ("" for the default namespace); null when none does.
Value XmlNamespaceForPrefix(Machine &machine, Object *node, const std::string &prefix);
// The prefix a nearest xmlns attribute binds to `uri`; null when none.
Value XmlPrefixForNamespace(Machine &machine, Object *node, const std::string &uri);

}  // namespace swf::avm1
