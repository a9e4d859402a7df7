#pragma once
// The engine knows nothing of the players.
#include "player/shockwaveflash.h"
#include "swf/format/types.h"
