#include "player/flashdetail.h"

TFlashDetail::TFlashDetail(QWidget *parent) : TShockwaveFlash(parent)
{
    // Painting goes through PaintTo(); no window may ever appear, not even
    // for a moment when the parent is shown.
    setAttribute(Qt::WA_DontShowOnScreen);
    hide();
    SetSize(DefaultWidth, DefaultHeight);
}

void TFlashDetail::SetSize(int width, int height)
{
    resize(width, this->height());
    resize(this->width(), height);
}

void TFlashDetail::setVisible(bool)
{
    TShockwaveFlash::setVisible(false);
}
