#pragma once
// What loading makes of one movie file: header facts, stage colour, the
// dictionary of characters and the root timeline, plus the memory budget
// that all of it was booked in. Built by LoadMovie on one thread, then
// immutable and shared by every player of the movie (see movie.h).

#include <string>
#include <unordered_map>

#include "swf/characters/dictionary.h"
#include "swf/format/memorybudget.h"
#include "swf/movie.h"
#include "swf/timeline/timeline.h"

namespace swf {

class MovieDefinition {
public:
    MovieHeader header;
    // The stage colour of the movie's first SetBackgroundColor; the player
    // takes no later one. White where the movie sets none.
    Rgba background{255, 255, 255, 255};
    bool setsBackground = false;
    uint32_t fileAttributes = 0;
    // ScriptLimits; 0 where the movie leaves the player's own.
    uint16_t maxRecursionDepth = 0;
    uint16_t scriptTimeoutSeconds = 0;
    // The plain body, kept for the life of the movie so that characters may
    // refer into it instead of copying.
    QByteArray body;
    Dictionary dictionary;
    Timeline timeline;
    // ExportAssets: linkage name -> character, for attachMovie.
    std::unordered_map<std::string, uint16_t> exports;
    // The frame of the main timeline whose ExportAssets tag gave the name:
    // scripts attach it only once the timeline got that far.
    std::unordered_map<std::string, int> exportFrames;
    MemoryBudget budget;
    // The file it was read from, absolute; empty for a movie from memory.
    // Scripts load other movies from its folder.
    QString path;
    // The body or the tag list ended before its End tag, or was cut at the
    // memory budget: what is here is the part that could be read.
    bool truncated = false;
};

}  // namespace swf
