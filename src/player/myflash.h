#pragma once
// The full-screen player's control. A double click, or Esc, closes the
// window it sits in with the result "accepted" (when that window is a
// dialog); a right click pops up the menu set with setPopupMenu() at the
// click point. Other keys pressed with Alt are taken and do nothing; the
// rest go on to the movie, as do the left button and the pointer.
// The menu is owned by the window that sets it; the control only keeps a
// guarded reference. Interface thread only.

#include <QMenu>
#include <QPointer>

#include "player/shockwaveflash.h"

class TMyFlash : public TShockwaveFlash {
    Q_OBJECT
public:
    explicit TMyFlash(QWidget *parent = nullptr);

    QMenu *PopupMenu() const { return popupMenu_; }
    void setPopupMenu(QMenu *menu) { popupMenu_ = menu; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void acceptParentForm();

    QPointer<QMenu> popupMenu_;
};
