#pragma once
// Draws a frame from a character: the renderer sits above characters.
#include "swf/render/displayrenderer.h"
