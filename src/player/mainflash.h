#pragma once
// The preview player's control. Double clicks and right clicks must never
// reach the preview panel under it; the player control already takes every
// mouse event and has no menu of its own, so this class adds no behaviour
// and exists so that the preview's control has its own type. Interface
// thread only.

#include "player/shockwaveflash.h"

class TMainFlash : public TShockwaveFlash {
    Q_OBJECT
public:
    using TShockwaveFlash::TShockwaveFlash;
};
