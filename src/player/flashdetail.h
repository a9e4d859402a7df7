#pragma once
// The thumbnail painter's control: a movie player that is never shown. It
// paints off screen through PaintTo() (120 by 90 pixels unless resized with
// SetSize) and carries the header facts of its movie for the thumbnail's
// caption, which the catalogue fills in. Lives for one render request;
// interface thread only.

#include <cstdint>

#include "player/shockwaveflash.h"

class TFlashDetail : public TShockwaveFlash {
    Q_OBJECT
public:
    enum { DefaultWidth = 120, DefaultHeight = 90 };

    explicit TFlashDetail(QWidget *parent = nullptr);

    // Sets the width, then the height; the control stays hidden.
    void SetSize(int width, int height);
    // Refuses to show: the control stays hidden whatever is asked.
    void setVisible(bool visible) override;

    int32_t Version = 0;
    int32_t MovieWidth = 0;   // pixels
    int32_t MovieHeight = 0;  // pixels
    int32_t FrameRate = 0;    // integer part
    int32_t FrameCount = 0;
    int32_t FileLength = 0;

};
