// The about and options boxes.
#include "app/frmabout.h"
#include "app/frmoptions.h"
#include "apptesthelpers.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

void SendMouse(QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void Click(QWidget *target, const QPoint &local)
{
    SendMouse(target, QEvent::MouseButtonPress, local, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, local, Qt::NoButton);
}

} // namespace

TEST(FrmAbout, IsAFixedBoxWithItsCaptionAndCloseButton)
{
    TFrmAbout about(nullptr);
    EXPECT_EQ(about.size(), QSize(390, 228));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Zenteq Pavoko..."));
    auto *close = about.findChild<QPushButton *>(QStringLiteral("btnQuit"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("&Close"));
    about.show();
    close->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(FrmAbout, LinkLinesOpenTheHomePageAndTheMail)
{
    TUrlRecorder desktop;
    TFrmAbout about(nullptr);
    about.show();
    Settle();
    for (const char *name : {"lblWeb", "lblEmail"}) {
        auto *line = about.findChild<QLabel *>(QLatin1String(name));
        ASSERT_NE(line, nullptr) << name;
        Click(line, QPoint(4, line->height() / 2));
    }
    ASSERT_EQ(desktop.urls.size(), 2);
    EXPECT_EQ(desktop.urls.at(0), QUrl(QStringLiteral("https://pavoko.example.org/")));
    EXPECT_EQ(desktop.urls.at(1).toString(),
              QStringLiteral("mailto:support@pavoko.example.org?subject=&cc=sales@pavoko.example.org"));
    EXPECT_TRUE(about.findChild<QLabel *>(QStringLiteral("lblWeb"))->text().contains(QStringLiteral("Web: ")));
}

TEST(FrmAbout, DraggingItsSurfaceMovesTheBox)
{
    TFrmAbout about(nullptr);
    about.show();
    about.move(100, 100);
    Settle();
    const QPoint start = about.pos();
    const QPoint grip(10, 200);
    SendMouse(&about, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    QMouseEvent drag(QEvent::MouseMove, QPointF(grip), QPointF(about.mapToGlobal(grip) + QPoint(30, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&about, &drag);
    EXPECT_EQ(about.pos(), start + QPoint(30, 20));
}

TEST(FrmOptions, KeepsItsDesignCaptionsWithTheCommonFont)
{
    TFrmOptions options(nullptr);
    EXPECT_EQ(options.size(), QSize(465, 256));
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(options.font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(options.font().pointSize(), 8);
    EXPECT_EQ(options.findChild<QStackedWidget *>(QStringLiteral("Notebook1"))->count(), 3);
    EXPECT_EQ(options.findChild<QTreeWidget *>(QStringLiteral("tvPages"))->topLevelItemCount(), 3);
    for (const char *name : {"lblThumbBackground", "lblSmallPreviewBackground", "lblLargePreviewBackground"})
        EXPECT_NE(options.findChild<QLabel *>(QLatin1String(name)), nullptr) << name;
}

TEST(FrmOptions, OkAndCancelCloseItAndResetDoesNothing)
{
    const struct {
        const char *button;
        bool closes;
        int result;
    } cases[] = {{"btnOk", true, QDialog::Accepted},
                 {"btnCancel", true, QDialog::Rejected},
                 {"btnReset", false, QDialog::Rejected}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        TFrmOptions options(nullptr);
        options.show();
        options.findChild<QPushButton *>(QLatin1String(c.button))->click();
        EXPECT_EQ(options.isVisible(), !c.closes);
        EXPECT_EQ(options.result(), c.result);
    }
}
