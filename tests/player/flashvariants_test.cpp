#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "player/mainflash.h"
#include "player/myflash.h"

namespace {

// Counts the mouse events that reach it, to see what a control lets through.
class RecordingPanel : public QWidget {
public:
    int presses = 0, doubleClicks = 0, contextMenus = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    void mouseDoubleClickEvent(QMouseEvent *) override { ++doubleClicks; }
    void contextMenuEvent(QContextMenuEvent *) override { ++contextMenus; }
};

void sendMouse(QWidget *target, QEvent::Type type, Qt::MouseButton button)
{
    const QPointF local(5, 5);
    QMouseEvent event(type, local, target->mapToGlobal(local), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void sendKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &event);
}

void sendContextMenu(QWidget *target)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(target, &event);
}

}  // namespace

TEST(MainFlash, DoubleAndRightClicksNeverReachThePanel)
{
    RecordingPanel panel;
    auto *flash = new TMainFlash(&panel);
    panel.resize(100, 100);
    flash->resize(100, 100);
    sendMouse(flash, QEvent::MouseButtonDblClick, Qt::LeftButton);
    sendMouse(flash, QEvent::MouseButtonPress, Qt::RightButton);
    sendMouse(flash, QEvent::MouseButtonPress, Qt::LeftButton);
    sendContextMenu(flash);
    EXPECT_EQ(panel.presses, 0);
    EXPECT_EQ(panel.doubleClicks, 0);
    EXPECT_EQ(panel.contextMenus, 0);
}

class MyFlashTest : public ::testing::Test {
protected:
    MyFlashTest() : flash(new TMyFlash(&dialog)) { dialog.resize(200, 150); flash->resize(200, 150); }

    QDialog dialog;
    TMyFlash *flash;
};

TEST_F(MyFlashTest, DoubleClickAcceptsTheDialog)
{
    dialog.setResult(QDialog::Rejected);
    sendMouse(flash, QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(MyFlashTest, EscapeAcceptsTheDialogWithOrWithoutAlt)
{
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
        dialog.setResult(QDialog::Rejected);
        sendKey(flash, Qt::Key_Escape, modifiers);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << "modifiers " << int(modifiers);
    }
}

TEST_F(MyFlashTest, OtherKeysLeaveTheDialogOpen)
{
    dialog.setResult(QDialog::Rejected);
    sendKey(flash, Qt::Key_X, Qt::AltModifier);
    sendKey(flash, Qt::Key_A);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(MyFlashTest, RightClickPopsUpTheMenuWhenOneIsSet)
{
    sendMouse(flash, QEvent::MouseButtonPress, Qt::RightButton);  // no menu: nothing happens

    QMenu menu;
    menu.addAction(QStringLiteral("&Close"));
    flash->setPopupMenu(&menu);
    EXPECT_EQ(flash->PopupMenu(), &menu);
    sendMouse(flash, QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST_F(MyFlashTest, DroppedMenuIsForgotten)
{
    auto *menu = new QMenu;
    flash->setPopupMenu(menu);
    delete menu;
    EXPECT_EQ(flash->PopupMenu(), nullptr);
    sendMouse(flash, QEvent::MouseButtonPress, Qt::RightButton);
}
