#include "swf/avm1/loadaddress.h"

#include <cctype>

#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

bool IsNetworkScheme(std::string scheme)
{
    for (char &c : scheme)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const char *network : {"http", "https", "ftp", "rtmp", "rtmpt", "rtmps", "rtmpe", "xmlsocket"})
        if (scheme == network)
            return true;
    return false;
}

// The length of a leading "scheme:", 0 without one.
size_t SchemeLength(const std::string &url)
{
    if (url.empty() || !std::isalpha(static_cast<unsigned char>(url[0])))
        return 0;
    for (size_t i = 1; i < url.size(); ++i) {
        const char c = url[i];
        if (c == ':')
            return i;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return 0;
    }
    return 0;
}

int HexDigit(char c)
{
    const int value = DigitValue(c);
    return value < 16 ? value : -1;
}

LoadAddress Refused() { return {}; }

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

std::string UrlDecode(const std::string &text, bool plusIsSpace)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+' && plusIsSpace) {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += char(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string UrlEncode(const std::string &text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> DecodeFormData(const std::string &data)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string &item : Split(data, '&')) {
        if (item.empty())
            continue;
        const size_t equals = item.find('=');
        if (equals == std::string::npos)
            pairs.emplace_back(UrlDecode(item, true), std::string());
        else
            pairs.emplace_back(UrlDecode(item.substr(0, equals), true), UrlDecode(item.substr(equals + 1), true));
    }
    return pairs;
}

LoadAddress ParseLoadAddress(const std::string &url)
{
    std::string rest = url.substr(0, url.find('#'));
    LoadAddress address;
    const size_t question = rest.find('?');
    if (question != std::string::npos) {
        address.query = rest.substr(question + 1);
        rest.resize(question);
    }
    if (const size_t scheme = SchemeLength(rest)) {
        if (IsNetworkScheme(rest.substr(0, scheme)))
            address.kind = LoadAddress::Kind::Network;
        return address;
    }
    if (rest.compare(0, 2, "//") == 0) {
        address.kind = LoadAddress::Kind::Network;
        return address;
    }
    std::string path = UrlDecode(rest, false);
    if (path.empty() || path[0] == '/' || path[0] == '\\' || path.find('\0') != std::string::npos)
        return Refused();
    for (char &c : path)
        if (c == '\\')
            c = '/';
    for (const std::string &part : Split(path, '/')) {
        if (part == "..")
            return Refused();
        if (!part.empty() && part != ".")
            address.relativePath += (address.relativePath.empty() ? "" : "/") + part;
    }
    if (address.relativePath.empty())
        return Refused();
    address.kind = LoadAddress::Kind::File;
    return address;
}

}  // namespace swf::avm1
