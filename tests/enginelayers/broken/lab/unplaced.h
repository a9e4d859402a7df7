#pragma once
// A room the layering does not know yet.
#include "swf/format/types.h"
