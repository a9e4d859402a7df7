#pragma once
// The file a shared object is kept in between runs (".sol"): a header
// with the object's name, then its data's properties as AMF0 values.
// Writing takes only what scripts can read back: numbers, strings,
// booleans, null and undefined, objects and arrays (an object met again,
// or a cycle, as a reference), dates and XML documents; functions and
// clips are left out. Reading checks every length against what is left
// of the file and refuses a file it cannot read whole, so a damaged or
// hostile file only ever reads as no data. Neither runs script code.

#include <string>
#include <utility>
#include <vector>

#include "swf/avm1/value.h"

namespace swf::avm1 {

class Machine;
class Object;

// Nested objects deeper than this are left out when writing and refuse
// the file when reading.
constexpr int kSolDepthLimit = 64;

std::string EncodeSol(Machine &machine, const std::string &name, Object *data);

// The properties the file holds, oldest first; false (and nothing) when
// the bytes are no shared object file this player reads.
bool DecodeSol(Machine &machine, const std::string &bytes, std::vector<std::pair<std::string, Value>> &properties);

}  // namespace swf::avm1
