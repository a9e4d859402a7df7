#include "player/myflash.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

TMyFlash::TMyFlash(QWidget *parent) : TShockwaveFlash(parent)
{
    // Esc must reach the control even before anything was clicked.
    setFocusPolicy(Qt::StrongFocus);
}

void TMyFlash::acceptParentForm()
{
    if (auto *dialog = qobject_cast<QDialog *>(window()))
        dialog->accept();
}

void TMyFlash::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton) {
        TShockwaveFlash::mousePressEvent(event);
        return;
    }
    event->accept();
    if (popupMenu_)
        popupMenu_->popup(event->globalPosition().toPoint());
}

void TMyFlash::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        acceptParentForm();
}

void TMyFlash::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        // Handled here rather than by the dialog, whose own Esc would
        // reject it: every way out of the player is an accepted close.
        event->accept();
        acceptParentForm();
        return;
    }
    if (event->modifiers() & Qt::AltModifier) {
        event->accept();
        return;
    }
    TShockwaveFlash::keyPressEvent(event);
}
