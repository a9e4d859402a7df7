#pragma once
// A room never includes the front door.
#include "swf/movie.h"
