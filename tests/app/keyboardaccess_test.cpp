// The main window as the keyboard and assistive technology meet it: the
// menus are a real menu bar (read with their texts and checks, opened with
// Alt and a letter, walked with Left and Right, closed with Esc), every
// command button and pane has a name, and every window title is exactly
// its caption.
#include "app/applicationsetup.h"
#include "app/frmabout.h"
#include "app/frmmain.h"
#include "apptesthelpers.h"
#include "catalogue/frmproperty.h"
#include "ui/plaintext.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>
#include <qpa/qplatformwindow.h>

#include <memory>

namespace {

std::unique_ptr<TFrmMain> ShownWindow()
{
    auto window = std::make_unique<TFrmMain>();
    window->show();
    window->activateWindow();
    Settle();
    return window;
}

QAccessibleInterface *Accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString Name(QAccessibleInterface *item)
{
    return item ? item->text(QAccessible::Name) : QStringLiteral("(none)");
}

// The accessible child of `parent` named `name`, or null.
QAccessibleInterface *ChildNamed(QAccessibleInterface *parent, const QString &name)
{
    for (int index = 0; parent && index < parent->childCount(); ++index)
        if (Name(parent->child(index)) == name)
            return parent->child(index);
    return nullptr;
}

QMenu *OpenMenu() { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }

// The platform's own rule for what a desktop shows as a window's title.
struct TPlatformTitles : QPlatformWindow {
    using QPlatformWindow::formatWindowTitle;
};

// The title a desktop shows for `widget`.
QString ShownTitle(const QWidget &widget)
{
    return TPlatformTitles::formatWindowTitle(widget.windowTitle(), QStringLiteral(" \u2014 "));
}

}  // namespace

TEST(KeyboardAccess, MenusAreReadAsAMenuBarWithTheirItemsAndChecks)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    QAccessibleInterface *bar = Accessible(window->findChild<QMenuBar *>(QStringLiteral("toolbarMenu")));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::MenuBar);
    QStringList menus;
    for (int index = 0; index < bar->childCount(); ++index)
        menus << Name(bar->child(index));
    EXPECT_EQ(menus, QStringList({" File ", " Edit ", " View ", " Tools ", " Help "}));

    QAccessibleInterface *view = ChildNamed(bar, QStringLiteral(" View "));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->childCount(), 1);
    QAccessibleInterface *viewItems = view->child(0);
    EXPECT_EQ(viewItems->role(), QAccessible::PopupMenu);
    QAccessibleInterface *toolBar = ChildNamed(viewItems, QStringLiteral("ToolBar"));
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(toolBar->state().checkable);
    EXPECT_TRUE(toolBar->state().checked);
    QAccessibleInterface *detail = ChildNamed(viewItems, QStringLiteral("Detail"));
    ASSERT_NE(detail, nullptr);
    EXPECT_FALSE(detail->state().checked);

    QAccessibleInterface *editItems = ChildNamed(bar, QStringLiteral(" Edit "))->child(0);
    EXPECT_NE(ChildNamed(editItems, QStringLiteral("Copy To...")), nullptr);
    EXPECT_NE(ChildNamed(editItems, QStringLiteral("Select All")), nullptr);
}

TEST(KeyboardAccess, AltWithALetterOpensAMenuArrowsWalkTheBarAndEscCloses)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    QTest::keyClick(window->windowHandle(), Qt::Key_V, Qt::AltModifier);
    Settle();
    ASSERT_NE(OpenMenu(), nullptr);
    EXPECT_EQ(OpenMenu()->objectName(), QStringLiteral("MenuView1"));

    QTest::keyClick(OpenMenu()->windowHandle(), Qt::Key_Right);
    Settle();
    ASSERT_NE(OpenMenu(), nullptr);
    EXPECT_EQ(OpenMenu()->objectName(), QStringLiteral("MenuTools"));
    QTest::keyClick(OpenMenu()->windowHandle(), Qt::Key_Left);
    QTest::keyClick(OpenMenu()->windowHandle(), Qt::Key_Left);
    Settle();
    ASSERT_NE(OpenMenu(), nullptr);
    EXPECT_EQ(OpenMenu()->objectName(), QStringLiteral("MenuEdit"));

    QTest::keyClick(OpenMenu()->windowHandle(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(OpenMenu(), nullptr);
    // A menu item's key acts through the window's own keys only: Ctrl+B
    // shown beside ToolBar never hides the tool bar.
    QTest::keyClick(window->windowHandle(), Qt::Key_B, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(window->findChild<QToolBar *>(QStringLiteral("ToolBar2"))->isVisible());
}

TEST(KeyboardAccess, CommandButtonsAndPanesHaveNames)
{
    TIniFileGuard ini;
    const auto window = ShownWindow();
    auto *commands = window->findChild<QToolBar *>(QStringLiteral("ToolBar2"));
    for (QToolButton *button : commands->findChildren<QToolButton *>()) {
        if (!button->isVisible())
            continue;
        EXPECT_EQ(Name(Accessible(button)), button->toolTip()) << button->objectName().toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    }
    for (const char *pane : {"tree", "FlashView", "PanFlash", "TrackBar"})
        EXPECT_FALSE(Name(Accessible(window->findChild<QWidget *>(QLatin1String(pane)))).isEmpty()) << pane;
    // The catalogue's styles are shown by two views; the focused one names
    // the catalogue.
    for (QAbstractItemView *view : window->findChild<QWidget *>(QStringLiteral("FlashView"))
                                       ->findChildren<QAbstractItemView *>(Qt::FindDirectChildrenOnly))
        EXPECT_EQ(Name(Accessible(view)), QStringLiteral("Movies"));
}

TEST(KeyboardAccess, EveryWindowTitleIsExactlyItsCaption)
{
    TIniFileGuard ini;
    SetUpApplication();
    const auto window = ShownWindow();
    EXPECT_EQ(ShownTitle(*window), QStringLiteral("Zenteq Pavoko V1.3"));
    TFrmAbout about(window.get());
    EXPECT_EQ(ShownTitle(about), QStringLiteral("About Zenteq Pavoko..."));

    QString boxTitle;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        boxTitle = ShownTitle(*box);
        box->close();
    });
    ShowInformation(window.get(), QStringLiteral("Please select a file first!"));
    EXPECT_EQ(boxTitle, QStringLiteral("Information"));
}
