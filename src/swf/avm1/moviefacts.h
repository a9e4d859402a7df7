#pragma once
// What the script side knows of a movie file: the main movie of a player
// and each movie a script loads into a clip or a level. The loaded ones
// come from the host (it reads files; the engine only names them), which
// keeps the file's parsed definition alive through `owner`.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "swf/format/types.h"

namespace swf {
class Dictionary;
class Timeline;
}  // namespace swf

namespace swf::avm1 {

struct MovieFacts {
    int version = 0;
    double frameRate = 12;
    double stageWidth = 0, stageHeight = 0;  // pixels
    const Dictionary *dictionary = nullptr;
    // ExportAssets: linkage name -> character.
    const std::unordered_map<std::string, uint16_t> *exports = nullptr;
    // The main timeline's frame that exports each name.
    const std::unordered_map<std::string, int> *exportFrames = nullptr;
    // The file as the host read it: its local path (empty when the movie
    // came from memory) and its length as the header records it.
    std::string path;
    double bytesTotal = 0;
    // ScriptLimits; 0 where the movie leaves the player's own.
    int maxRecursionDepth = 0;
    int scriptTimeoutSeconds = 0;
    // The stage colour the movie sets, if it sets one.
    std::optional<Rgba> background;
};

struct LoadedMovie {
    std::shared_ptr<const void> owner;
    MovieFacts facts;
    const Timeline *timeline = nullptr;
};

// Reads the movie file at `path`, a file the engine has already found to
// lie inside the main movie's folder (`folder`); null when it cannot be
// read or is no movie.
using MovieReader =
    std::function<std::shared_ptr<const LoadedMovie>(const std::string &folder, const std::string &path)>;
// Reads a text file the same way (variables, XML); false when it cannot.
using TextReader = std::function<bool(const std::string &folder, const std::string &path, std::string &text)>;

}  // namespace swf::avm1
