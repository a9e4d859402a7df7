#pragma once
// Hostile data makes FFmpeg's decoders complain on the standard error; the
// program reports problems its own way, so every decoder silences them
// before it starts.

#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace swf {

inline void QuietenFfmpeg()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace swf
