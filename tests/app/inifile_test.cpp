// The settings file: defaults, case-insensitive names, untouched lines,
// number parsing and writes that fail without harming the old file.
#include "app/inifile.h"
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString iniPath() const { return m_dir.filePath(QStringLiteral("Pavoko.ini")); }

    void writeRaw(const QByteArray &content) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray readRaw() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsNotCreatedByReading)
{
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readInteger("main", "left", 0), 0);
    EXPECT_EQ(ini.readInteger("main", "ViewStyle", 7), 7);
    EXPECT_EQ(ini.readString("main", "lastDir", "/"), "/");
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(IniFileTest, FirstWriteCreatesSectionUnderTheNameWritten)
{
    IniFile ini(iniPath());
    ini.writeInteger("fullScreen", "ViewStyle", 1);
    EXPECT_EQ(readRaw(), "[fullScreen]\nViewStyle=1\n");
    EXPECT_EQ(ini.readInteger("FullScreen", "ViewStyle", 0), 1);
    EXPECT_EQ(ini.readInteger("FULLSCREEN", "viewstyle", 0), 1);
}

TEST_F(IniFileTest, RewritingUnderOtherSpellingReplacesTheOneValue)
{
    IniFile ini(iniPath());
    ini.writeInteger("fullScreen", "ViewStyle", 1);
    ini.writeInteger("FullScreen", "VIEWSTYLE", 0);
    EXPECT_EQ(readRaw(), "[fullScreen]\nViewStyle=0\n");
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLineByteForByte)
{
    const QByteArray before = "; kept comment\r\n"
                              "[Other]\r\n"
                              "  odd spacing   =  x  \r\n"
                              "\xff\xfe not utf-8\r\n"
                              "\r\n"
                              "[main]\r\n"
                              "left=10\r\n"
                              "top = 20\r\n"
                              "\r\n"
                              "[tail]\r\n"
                              "z=1";
    writeRaw(before);
    IniFile ini(iniPath());
    ini.writeInteger("MAIN", "Top", 30);
    ini.writeString("main", "lastDir", "/home/user/movies");
    ini.writeString("tail", "y", "2");
    ini.writeString("new", "k", "v");
    QByteArray expected = before;
    expected.replace("top = 20\r\n", "top=30\r\nlastDir=/home/user/movies\r\n");
    expected.replace("z=1", "z=1\r\ny=2\r\n[new]\r\nk=v\r\n");
    EXPECT_EQ(readRaw(), expected);
}

TEST_F(IniFileTest, StringsAreTrimmedAndUnquotedAsTheProfileFunctionsDo)
{
    writeRaw("[s]\n"
             "plain=  spaced value  \n"
             "quoted=\" keeps blanks \"\n"
             "empty=\n"
             "[other]\n"
             "only=here\n");
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readString("s", "plain", "d"), "spaced value");
    EXPECT_EQ(ini.readString("s", "quoted", "d"), " keeps blanks ");
    EXPECT_EQ(ini.readString("s", "empty", "d"), "");
    EXPECT_EQ(ini.readString("s", "only", "d"), "d");
    EXPECT_EQ(ini.readString("nowhere", "plain", "d"), "d");
}

TEST_F(IniFileTest, IntegersReadOnlyWhenDecimalAndInRange)
{
    const struct {
        const char *stored;
        int expected;
    } cases[] = {
        {"12", 12},   {" -7 ", -7},        {"+3", 3},           {"2147483647", 2147483647},
        {"abc", 99},  {"12abc", 99},       {"", 99},            {"2147483648", 99},
        {"1.5", 99},  {"0x10", 99},
    };
    IniFile ini(iniPath());
    for (const auto &c : cases) {
        writeRaw(QByteArray("[main]\nViewStyle=") + c.stored + "\n");
        EXPECT_EQ(ini.readInteger("main", "ViewStyle", 99), c.expected) << "stored: " << c.stored;
    }
}

TEST_F(IniFileTest, ValuesThatWouldBreakTheFileAreRefusedAndNothingChanges)
{
    writeRaw("[main]\nleft=1\n");
    IniFile ini(iniPath());
    EXPECT_THROW(ini.writeString("main", "lastDir", "/a\nleft=666"), EIniError);
    EXPECT_THROW(ini.writeString("main", "a=b", "x"), EIniError);
    EXPECT_THROW(ini.writeString("ma]in", "k", "x"), EIniError);
    EXPECT_EQ(readRaw(), "[main]\nleft=1\n");
}

TEST_F(IniFileTest, WriteThatRunsOutOfSpaceThrowsAndKeepsTheOldFile)
{
    const QByteArray before = "[main]\nleft=1\n";
    writeRaw(before);
    IniFile ini(iniPath());

    // A file size limit makes every write past it fail as a full disk does.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    bool threw = false;
    try {
        ini.writeString("main", "lastDir", QString(500, QLatin1Char('x')));
    } catch (const EIniError &error) {
        threw = true;
        EXPECT_NE(QString::fromUtf8(error.what()).indexOf(iniPath()), -1) << error.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(readRaw(), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Pavoko.ini"});
}

TEST_F(IniFileTest, WriteOverSomethingUnreadableThrows)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Pavoko.ini")));
    IniFile ini(iniPath());
    EXPECT_THROW(ini.writeInteger("main", "left", 1), EIniError);
    EXPECT_EQ(ini.readInteger("main", "left", 5), 5);
}

TEST(SettingsStore, MissingKeyReadsAsDefault)
{
    EXPECT_EQ(ReadIniString("no such section", "no such key", "/"), "/");
    EXPECT_EQ(ReadIniInteger("no such section", "no such key", -3), -3);
}

} // namespace
