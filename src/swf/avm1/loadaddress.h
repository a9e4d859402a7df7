#pragma once
// The addresses scripts load from (loadMovie, MovieClipLoader, LoadVars,
// XML, loadVariables). A movie is untrusted: it may read files of its own
// folder and below, nothing else. A relative path is taken apart here;
// absolute paths, parent steps, drive letters and other schemes are
// refused, and network addresses are told apart so the caller can answer
// as the player does when the network is closed to a local movie.

#include <string>
#include <utility>
#include <vector>

namespace swf::avm1 {

struct LoadAddress {
    enum class Kind { File, Network, Refused };
    Kind kind = Kind::Refused;
    // Inside the movie's folder, '/'-separated, percent escapes decoded.
    std::string relativePath;
    // What followed '?', still encoded.
    std::string query;
};

LoadAddress ParseLoadAddress(const std::string &url);

// "a=1&b=x%20y" as name/value pairs, '+' as a blank, in order.
std::vector<std::pair<std::string, std::string>> DecodeFormData(const std::string &data);
// Percent escapes decoded; `plusIsSpace` for form data.
std::string UrlDecode(const std::string &text, bool plusIsSpace);
// Escapes all but letters, digits and "-_.", as form data is sent.
std::string UrlEncode(const std::string &text);

}  // namespace swf::avm1
