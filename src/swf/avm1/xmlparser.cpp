#include "swf/avm1/xmlparser.h"

#include <cstring>

#include "swf/avm1/machine.h"
#include "swf/avm1/textutil.h"
#include "swf/avm1/xmlnode.h"

namespace swf::avm1 {

namespace {

constexpr int kIdMapVersion = 8;
constexpr uint32_t kLastCodePoint = 0x10FFFF;
// What one node costs the memory budget beside its text.
constexpr size_t kNodeBytes = 160;
// "&#x10FFFF;" is the longest entity read; a ';' further on ends another.
constexpr size_t kLongestEntity = 10;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool AllBlank(const std::string &text)
{
    for (char c : text)
        if (!IsBlank(c))
            return false;
    return true;
}

std::string CodePointText(uint32_t code)
{
    if (code < 0x10000)
        return CharText(code);
    code -= 0x10000;
    std::u16string pair{char16_t(0xD800 + (code >> 10)), char16_t(0xDC00 + (code & 0x3FF))};
    return ToUtf8(pair);
}

// "#65", "#x41": the character; false when the reference is no character.
bool CharacterReference(const std::string &body, std::string &out)
{
    if (body.size() < 2 || body[0] != '#')
        return false;
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const size_t start = hex ? 2 : 1;
    if (start >= body.size())
        return false;
    uint32_t code = 0;
    for (size_t i = start; i < body.size(); ++i) {
        const char c = body[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        code = code * (hex ? 16 : 10) + uint32_t(digit);
        if (code > kLastCodePoint)
            return false;
    }
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    out += CodePointText(code);
    return true;
}

bool NamedEntity(const std::string &body, std::string &out)
{
    static const std::pair<const char *, char> kNamed[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''},
    };
    for (const auto &[name, c] : kNamed)
        if (body == name) {
            out += c;
            return true;
        }
    return CharacterReference(body, out);
}

// Reads one text of markup into nodes; see ParseXml.
class XmlReader {
public:
    XmlReader(Machine &machine, Object *document, const std::string &text, bool ignoreWhite)
        : m_(machine), text_(text), ignoreWhite_(ignoreWhite), open_{document}
    {
    }

    int read()
    {
        while (pos_ < text_.size()) {
            m_.countActions(1);
            const int status = text_[pos_] == '<' ? readMarkup() : readText();
            if (status != kXmlOk)
                return status;
        }
        return open_.size() > 1 ? kXmlEndTagMissing : kXmlOk;
    }

    std::string xmlDecl;
    std::string docTypeDecl;
    bool sawXmlDecl = false;
    bool sawDocType = false;

private:
    bool startsWith(const char *prefix) const { return text_.compare(pos_, std::strlen(prefix), prefix) == 0; }

    // The markup from here to the end of `terminator`, or false when the
    // text ends first.
    bool takeUntil(const char *terminator, std::string &taken)
    {
        const size_t end = text_.find(terminator, pos_);
        if (end == std::string::npos)
            return false;
        const size_t after = end + std::strlen(terminator);
        taken = text_.substr(pos_, after - pos_);
        pos_ = after;
        return true;
    }

    int readMarkup()
    {
        std::string taken;
        if (startsWith("<!--"))
            return takeUntil("-->", taken) ? kXmlOk : kXmlCommentOpen;
        if (startsWith("<![CDATA[")) {
            if (!takeUntil("]]>", taken))
                return kXmlCdataOpen;
            return addText(taken.substr(9, taken.size() - 12));
        }
        if (startsWith("<!"))
            return readDoctype();
        if (startsWith("<?")) {
            if (!takeUntil("?>", taken))
                return kXmlDeclarationOpen;
            xmlDecl += taken;
            sawXmlDecl = true;
            return kXmlOk;
        }
        if (startsWith("</"))
            return readEndTag();
        return readStartTag();
    }

    // The DOCTYPE may hold an internal subset in brackets, whose '>'s do
    // not end it.
    int readDoctype()
    {
        int brackets = 0;
        for (size_t i = pos_ + 2; i < text_.size(); ++i) {
            const char c = text_[i];
            if (c == '[')
                ++brackets;
            else if (c == ']' && brackets > 0)
                --brackets;
            else if (c == '>' && brackets == 0) {
                docTypeDecl = text_.substr(pos_, i + 1 - pos_);
                sawDocType = true;
                pos_ = i + 1;
                return kXmlOk;
            }
        }
        return kXmlDoctypeOpen;
    }

    int readEndTag()
    {
        const size_t close = text_.find('>', pos_);
        if (close == std::string::npos)
            return kXmlMalformedElement;
        std::string name = text_.substr(pos_ + 2, close - pos_ - 2);
        while (!name.empty() && IsBlank(name.back()))
            name.pop_back();
        pos_ = close + 1;
        if (open_.size() < 2)
            return kXmlStartTagMissing;
        const XmlNode *current = XmlNodeOf(open_.back());
        if (!current || !current->name.isString() || current->name.string() != name)
            return kXmlEndTagMissing;
        open_.pop_back();
        return kXmlOk;
    }

    std::string readName(const char *stops)
    {
        const size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) && !std::strchr(stops, text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    void skipBlanks()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
    }

    int readStartTag()
    {
        ++pos_;
        const std::string name = readName("/>");
        if (name.empty())
            return kXmlMalformedElement;
        if (open_.size() > size_t(kXmlDepthLimit))
            return kXmlOutOfMemory;
        Object *element = addNode(kXmlElement, Value(name));
        for (;;) {
            skipBlanks();
            if (pos_ >= text_.size())
                return kXmlMalformedElement;
            if (text_[pos_] == '>') {
                ++pos_;
                open_.push_back(element);
                return kXmlOk;
            }
            if (startsWith("/>")) {
                pos_ += 2;
                return kXmlOk;
            }
            const int status = readAttribute(element);
            if (status != kXmlOk)
                return status;
        }
    }

    int readAttribute(Object *element)
    {
        const std::string name = readName("=/>");
        skipBlanks();
        if (name.empty() || pos_ >= text_.size() || text_[pos_] != '=')
            return kXmlMalformedElement;
        ++pos_;
        skipBlanks();
        if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
            return kXmlMalformedElement;
        const size_t end = text_.find(text_[pos_], pos_ + 1);
        if (end == std::string::npos)
            return kXmlAttributeOpen;
        const std::string value = DecodeXmlEntities(text_.substr(pos_ + 1, end - pos_ - 1));
        pos_ = end + 1;
        m_.book(name.size() + value.size() + kNodeBytes);
        m_.set(XmlAttributes(m_, element), name, Value(value));
        if (name == "id")
            mapId(element, value);
        return kXmlOk;
    }

    void mapId(Object *element, const std::string &id)
    {
        if (m_.version() < kIdMapVersion)
            return;
        XmlNode &document = *XmlNodeOf(open_.front());
        if (!document.idMap)
            document.idMap = m_.newObject();
        m_.set(document.idMap, id, Value(element));
    }

    int readText()
    {
        const size_t end = std::min(text_.find('<', pos_), text_.size());
        const std::string raw = text_.substr(pos_, end - pos_);
        pos_ = end;
        return addText(DecodeXmlEntities(raw));
    }

    int addText(const std::string &text)
    {
        if (ignoreWhite_ && AllBlank(text))
            return kXmlOk;
        addNode(kXmlText, Value(text));
        return kXmlOk;
    }

    Object *addNode(int type, const Value &nameOrValue)
    {
        m_.book(kNodeBytes + (nameOrValue.isString() ? nameOrValue.string().size() : 0));
        Object *node = NewXmlNode(m_, type, nameOrValue);
        XmlAppendChild(m_, open_.back(), node);
        return node;
    }

    Machine &m_;
    const std::string &text_;
    bool ignoreWhite_;
    size_t pos_ = 0;
    // The document and the elements still open in it.
    std::vector<Object *> open_;
};

}  // namespace

std::string DecodeXmlEntities(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t amp = text.find('&', pos);
        if (amp == std::string::npos)
            break;
        out.append(text, pos, amp - pos);
        const size_t length = text.substr(amp + 1, kLongestEntity).find(';');
        if (length == std::string::npos || !NamedEntity(text.substr(amp + 1, length), out)) {
            out += '&';
            pos = amp + 1;
            continue;
        }
        pos = amp + length + 2;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

int ParseXml(Machine &m, Object *document, const std::string &text, bool ignoreWhite)
{
    XmlRemoveChildren(m, document);
    XmlNode &state = *XmlNodeOf(document);
    state.xmlDecl = Value();
    state.docTypeDecl = Value();
    XmlReader reader(m, document, text, ignoreWhite);
    const int status = reader.read();
    if (reader.sawXmlDecl)
        state.xmlDecl = Value(reader.xmlDecl);
    if (reader.sawDocType)
        state.docTypeDecl = Value(reader.docTypeDecl);
    state.status = status;
    return status;
}

}  // namespace swf::avm1
