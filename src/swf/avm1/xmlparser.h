#pragma once
// The player's own reading of XML text: forgiving where it can be (no
// checks of names or of a single root), strict where markup does not
// end. Elements and texts become nodes; comments are dropped; CDATA
// becomes a text node as written; the XML declarations and the DOCTYPE
// are kept as text on the document. Reading stops at the first fault,
// keeping the nodes made so far, and says which fault it was.

#include <string>

namespace swf::avm1 {

class Machine;
class Object;

enum XmlStatus : int {
    kXmlOk = 0,
    kXmlCdataOpen = -2,
    kXmlDeclarationOpen = -3,
    kXmlDoctypeOpen = -4,
    kXmlCommentOpen = -5,
    kXmlMalformedElement = -6,
    kXmlOutOfMemory = -7,
    kXmlAttributeOpen = -8,
    kXmlEndTagMissing = -9,
    kXmlStartTagMissing = -10,
};

// Elements may nest this deep; deeper ones read as out of memory.
constexpr int kXmlDepthLimit = 512;

// Replaces the children of `document` (a node) with what `text` holds and
// returns the status. Texts of blanks only are dropped when `ignoreWhite`.
int ParseXml(Machine &machine, Object *document, const std::string &text, bool ignoreWhite);

// The entities the player reads in texts and attribute values: the five
// named ones and character references; others stay as written.
std::string DecodeXmlEntities(const std::string &text);

}  // namespace swf::avm1
