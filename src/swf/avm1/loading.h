#pragma once
// Loading as actions and clip methods ask for it: GetURL and GetURL2 with
// a level or a clip as target (loadMovie, loadMovieNum, unloadMovie,
// loadVariables compile to them), and the MovieClip methods of the same
// names. The MovieLoader carries the requests out on a later tick.

#include <string>

#include "swf/avm1/interpreter.h"

namespace swf::avm1 {

// GetURL2's flags byte; GetURL has none.
enum GetUrlFlag : int {
    kGetUrlLoadTarget = 0x40,
    kGetUrlLoadVariables = 0x80,
};

// True when the request was a load (into a level or a clip) and is on
// its way; false for an address meant for a browser window.
bool RequestFromGetUrl(Machine &machine, Activation &activation, const std::string &url,
                       const std::string &target, int flags);

}  // namespace swf::avm1
