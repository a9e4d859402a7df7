// The command line: which argument counts, when it is present, its folder.
#include "app/commandline.h"

#include <gtest/gtest.h>

TEST(CommandLine, OnlyTheFirstArgumentCounts)
{
    EXPECT_EQ(FirstArgument({QStringLiteral("pavoko")}), QString());
    EXPECT_EQ(FirstArgument({QStringLiteral("pavoko"), QStringLiteral("a.swf"), QStringLiteral("b.swf")}),
              QStringLiteral("a.swf"));
}

TEST(CommandLine, AnArgumentOfBlanksAndControlCharactersIsAbsent)
{
    const struct {
        QString argument;
        bool present;
    } cases[] = {
        {QString(), false},
        {QStringLiteral("   "), false},
        {QStringLiteral("\t\r\n \x01"), false},
        {QStringLiteral(" a "), true},
        {QStringLiteral("/m/x.swf"), true},
        {QStringLiteral("\x7f"), true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsArgumentPresent(c.argument), c.present) << c.argument.toStdString();
}

TEST(CommandLine, FolderPartEndsAtTheLastSeparator)
{
    const struct {
        QString argument;
        QString folder;
    } cases[] = {
        {QStringLiteral("/home/me/movies/clock.swf"), QStringLiteral("/home/me/movies/")},
        {QStringLiteral("/clock.swf"), QStringLiteral("/")},
        {QStringLiteral("movies/clock.swf"), QStringLiteral("movies/")},
        {QStringLiteral("clock.swf"), QString()},
        {QStringLiteral(" /a/ "), QStringLiteral(" /a/")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ArgumentFolder(c.argument), c.folder) << c.argument.toStdString();
}
