#include <QLabel>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "catalogue/frmproperty.h"
#include "moviebuilder.h"

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

}  // namespace

TEST(FrmProperty, ShowsTheFactsOfTheExampleMovie)
{
    TFrmProperty dialog;
    dialog.ShowHeader(QStringLiteral("/movies/intro.swf"), ExampleHeader(12345), kEnglish);
    EXPECT_EQ(dialog.nameText(), QStringLiteral("intro.swf"));
    EXPECT_EQ(dialog.valueText("lblPath"), QStringLiteral("/movies/"));
    QTextDocument tip;
    tip.setHtml(dialog.findChild<QLabel *>("lblPath")->toolTip());
    EXPECT_EQ(tip.toPlainText(), QStringLiteral("/movies/"));
    EXPECT_EQ(dialog.valueText("lblType"), QStringLiteral("Flash 6"));
    EXPECT_EQ(dialog.valueText("lblSize"), QStringLiteral("12,345 byte"));
    EXPECT_EQ(dialog.valueText("lblFrameCount"), QStringLiteral("120"));
    EXPECT_EQ(dialog.valueText("lblRate"), QStringLiteral("12 fps"));
    EXPECT_EQ(dialog.valueText("lblWidth"), QStringLiteral("550"));
    EXPECT_EQ(dialog.valueText("lblHeight"), QStringLiteral("400"));
}

TEST(FrmProperty, RootFolderAndFractionalRate)
{
    TSwfHeader h = ExampleHeader(12345);
    h.FrameRate = 29;
    h.FrameRateFrac = 248;  // 29.97
    TFrmProperty dialog;
    dialog.ShowHeader(QStringLiteral("/a.swf"), h, kEnglish);
    EXPECT_EQ(dialog.valueText("lblPath"), QStringLiteral("/"));
    EXPECT_EQ(dialog.valueText("lblRate"), QStringLiteral("29 fps"));
}

TEST(FrmProperty, LengthsAreGroupedWithTheLocalesSeparator)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale ungrouped = kEnglish;
    ungrouped.setNumberOptions(QLocale::OmitGroupSeparator);
    EXPECT_EQ(PropertyLengthText(999, kEnglish), QStringLiteral("999 byte"));
    EXPECT_EQ(PropertyLengthText(1234567, kEnglish), QStringLiteral("1,234,567 byte"));
    EXPECT_EQ(PropertyLengthText(1234567, german), QStringLiteral("1.234.567 byte"));
    EXPECT_EQ(PropertyLengthText(1234567, ungrouped), QStringLiteral("1,234,567 byte"));
    EXPECT_EQ(PropertyLengthText(4294967295u, kEnglish), QStringLiteral("4,294,967,295 byte"));
}

TEST(FrmProperty, CarriesTheNamesTheTextTableUses)
{
    TFrmProperty dialog;
    EXPECT_STREQ(dialog.metaObject()->className(), "TFrmProperty");
    for (const char *name : {"lPath", "lVersion", "LLength", "LFrameCount", "LRate", "lWidth", "LHeight", "lblPath",
                             "lblType", "lblSize", "lblFrameCount", "lblRate", "lblWidth", "lblHeight"})
        EXPECT_NE(dialog.findChild<QLabel *>(name), nullptr) << name;
    EXPECT_NE(dialog.findChild<QPlainTextEdit *>("memName"), nullptr);
    auto *quit = dialog.findChild<QPushButton *>("btnQuit");
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.size(), QSize(231, 263));
}
