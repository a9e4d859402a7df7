// The tests a file must pass, the result line and the number fields.
#include "search/drivelist.h"
#include "search/searchcriteria.h"

#include <gtest/gtest.h>

TEST(SearchCriteria, NamePieceIsCaseSensitiveAndExtensionMustBeLowerCaseSwf)
{
    const struct {
        const char *piece;
        const char *path;
        bool found;
    } cases[] = {
        {"intro", "/m/intro.swf", true},       {"intro", "/m/my_intro_2.swf", true},
        {"intro", "/m/Intro.swf", false},      {" ", "/m/anything.swf", true},
        {"", "/m/anything.SWF", false},        {"", "/m/a.swf.bak", false},
        {"", "/m.swf/file", false},            {"*", "/m/star.swf", false},
        {"o.s", "/m/intro.swf", true},         {"m/", "/m/intro.swf", false},
        {"intro ", "/m/intro.swf", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.piece) + " in " + c.path);
        TSearchCriteria criteria;
        criteria.namePiece = QString::fromUtf8(c.piece);
        EXPECT_EQ(MatchName(QString::fromUtf8(c.path), criteria), c.found);
    }
}

TEST(SearchCriteria, VersionRateAndSizeTests)
{
    const auto header = [](int version, int rate, quint32 length) {
        TSwfHeader h;
        h.Version = uint8_t(version);
        h.FrameRate = uint8_t(rate);
        h.FileLength = length;
        return h;
    };
    TSearchCriteria atLeast12;
    atLeast12.rateTest = true;
    atLeast12.sign = TRateSign::GreaterOrEqual;
    atLeast12.rate = 12;
    TSearchCriteria sizeZero;
    sizeZero.sizeTest = true;
    TSearchCriteria flashMx;
    flashMx.version = 6;
    TSearchCriteria ratesBelow;
    ratesBelow.rateTest = true;
    ratesBelow.sign = TRateSign::Less;
    ratesBelow.rate = -1;
    const struct {
        const char *what;
        TSearchCriteria criteria;
        TSwfHeader header;
        bool found;
    } cases[] = {
        {">= 12 at 12", atLeast12, header(6, 12, 0), true},
        {">= 12 at 24", atLeast12, header(6, 24, 0), true},
        {">= 12 at 8", atLeast12, header(6, 8, 0), false},
        {"0 to 0 KB at 1023 bytes", sizeZero, header(6, 12, 1023), true},
        {"0 to 0 KB at 1024 bytes", sizeZero, header(6, 12, 1024), false},
        {"MX at 6", flashMx, header(6, 12, 0), true},
        {"MX at 7", flashMx, header(7, 12, 0), false},
        {"all versions at 10", TSearchCriteria(), header(10, 12, 0), true},
        {"< -1", ratesBelow, header(6, 0, 0), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MatchHeader(c.header, c.criteria), c.found);
    }
}

TEST(SearchCriteria, ResultLineShowsKilobytesEvenBelowOne)
{
    TSwfHeader header;
    header.Version = 6;
    header.FrameCount = 120;
    header.FrameRate = 12;
    header.FileLength = 3482;
    header.XMax = 11000;
    header.YMax = 8000;
    const QLocale c(QLocale::C);
    EXPECT_EQ(ResultDetail(header, c), QStringLiteral("Flash 6 - 120Frame - 12fps - 3.4Kb - W:550 H:400"));
    header.FileLength = 512;
    EXPECT_TRUE(ResultDetail(header, c).contains(QStringLiteral(" - 0.5Kb - ")));
}

TEST(SearchCriteria, NumberFieldsTakeWholeNumbersWithin32Bits)
{
    EXPECT_EQ(NumberFieldValue(QString()), 0);
    EXPECT_EQ(NumberFieldValue(QStringLiteral("12")), 12);
    EXPECT_EQ(NumberFieldValue(QStringLiteral("2147483647")), 2147483647);
    for (const char *refused : {"2147483648", "99999999999", "abc", "1.5", "12kb"})
        EXPECT_FALSE(NumberFieldValue(QString::fromUtf8(refused)).has_value()) << refused;
}

TEST(DriveList, LocalDisksAndCdRomsInTableOrderWithTheAllEntryFirst)
{
    const QByteArray table = "proc /proc proc rw 0 0\n"
                             "overlay / overlay rw 0 0\n"
                             "/dev/sr0 /media/cd iso9660 ro 0 0\n"
                             "tmpfs /tmp tmpfs rw 0 0\n"
                             "/dev/sda2 /home ext4 rw 0 0\n"
                             "/dev/sdb1 /mnt/my\\040disk,2 vfat rw 0 0\n"
                             "server:/share /net nfs rw 0 0\n"
                             "tmpfs /home tmpfs rw 0 0\n"
                             "/dev/sda3 /home ext4 rw 0 0\n";
    const QList<TDriveEntry> entries = DriveEntries(ParseMountTable(table));
    QStringList texts;
    for (const TDriveEntry &entry : entries)
        texts << entry.text;
    EXPECT_EQ(texts, QStringList({"All Local Disk ( / /home /mnt/my disk,2 ) ", "Local Disk ( / ) ",
                                  "Cd Rom ( /media/cd ) ", "Local Disk ( /home ) ", "Local Disk ( /mnt/my disk,2 ) "}));
    EXPECT_EQ(entries.first().roots, QStringList({"/", "/home", "/mnt/my disk,2"}));
    EXPECT_EQ(entries.at(2).roots, QStringList{"/media/cd"});
}
