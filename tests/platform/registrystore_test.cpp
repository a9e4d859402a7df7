#include "platform/registrystore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

#include "platform/sandboxdesktop.h"

namespace {

const QString kKey = QStringLiteral("Control Panel\\desktop");

class RegistryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("registry.ini"));
    TRegistryStore store{path};
};

}  // namespace

TEST_F(RegistryStoreTest, StringsAndDWordsKeepTheirType)
{
    store.WriteString(kKey, QStringLiteral("Wallpaper"), QStringLiteral("/a/b.bmp"));
    store.WriteDWord(kKey, QStringLiteral("TileWallpaper"), 0);
    store.WriteString(kKey, QStringLiteral("Text0"), QStringLiteral("0"));

    EXPECT_EQ(store.ReadValue(kKey, QStringLiteral("Wallpaper")),
              (RegistryValue{RegistryType::String, QStringLiteral("/a/b.bmp"), 0}));
    EXPECT_EQ(store.ReadValue(kKey, QStringLiteral("TileWallpaper")),
              (RegistryValue{RegistryType::DWord, QString(), 0}));
    EXPECT_EQ(store.ReadValue(kKey, QStringLiteral("Text0"))->type, RegistryType::String);
    EXPECT_EQ(FileBytes(path), QByteArray("[Control Panel\\desktop]\n"
                                          "\"Wallpaper\"=\"/a/b.bmp\"\n"
                                          "\"TileWallpaper\"=dword:00000000\n"
                                          "\"Text0\"=\"0\"\n"));
}

TEST_F(RegistryStoreTest, MissingFileKeyOrValueReadsAsNothing)
{
    EXPECT_FALSE(store.ReadValue(kKey, QStringLiteral("Wallpaper")));
    store.WriteDWord(kKey, QStringLiteral("A"), 1);
    EXPECT_FALSE(store.ReadValue(QStringLiteral("Other"), QStringLiteral("A")));
    EXPECT_FALSE(store.ReadValue(kKey, QStringLiteral("B")));
}

TEST_F(RegistryStoreTest, NamesMatchWithoutCaseAndRewritesReplaceInPlace)
{
    store.WriteDWord(kKey, QStringLiteral("WallpaperStyle"), 2);
    store.WriteString(QStringLiteral("control panel\\DESKTOP"), QStringLiteral("wallpaperstyle"),
                      QStringLiteral("now text"));
    EXPECT_EQ(store.ReadValue(kKey, QStringLiteral("WALLPAPERSTYLE")),
              (RegistryValue{RegistryType::String, QStringLiteral("now text"), 0}));
    EXPECT_EQ(FileBytes(path).count('\n'), 2);
}

TEST_F(RegistryStoreTest, DWordsCoverTheFullUnsignedRange)
{
    for (uint32_t number : {0u, 1u, 0x7fffffffu, 0xffffffffu}) {
        store.WriteDWord(kKey, QStringLiteral("N"), number);
        EXPECT_EQ(store.ReadValue(kKey, QStringLiteral("N"))->number, number);
    }
}

TEST_F(RegistryStoreTest, StringsWithQuotesBackslashesAndLineBreaksRoundTrip)
{
    const QString awkward = QStringLiteral("C:\\dir \"quoted\"\nsecond line\r=[x]");
    store.WriteString(kKey, QStringLiteral("Odd \"name\""), awkward);
    store.WriteDWord(kKey, QStringLiteral("After"), 7);
    EXPECT_EQ(store.ReadValue(kKey, QStringLiteral("Odd \"name\""))->text, awkward);
    EXPECT_EQ(store.ReadValue(kKey, QStringLiteral("After"))->number, 7u);
}

TEST_F(RegistryStoreTest, KeepsOtherKeysAndUnknownLines)
{
    WriteFileBytes(path, "; a comment\r\n[Other]\r\n\"X\"=dword:00000005\r\njunk line\r\n\r\n[Control Panel\\desktop]\r\n");
    store.WriteString(kKey, QStringLiteral("Wallpaper"), QStringLiteral("p"));
    store.WriteDWord(QStringLiteral("Other"), QStringLiteral("Y"), 6);
    EXPECT_EQ(FileBytes(path), QByteArray("; a comment\n[Other]\n\"X\"=dword:00000005\njunk line\n"
                                          "\"Y\"=dword:00000006\n\n"
                                          "[Control Panel\\desktop]\n\"Wallpaper\"=\"p\"\n"));
}

TEST_F(RegistryStoreTest, MalformedValueLinesReadAsNothingAndAreReplacedByAWrite)
{
    WriteFileBytes(path, "[K]\n\"A\"=dword:12\n\"B\"=\"unterminated\n\"C\"=dword:zzzzzzzz\n");
    for (const char *name : {"A", "B", "C"})
        EXPECT_FALSE(store.ReadValue(QStringLiteral("K"), QString::fromLatin1(name))) << name;
    store.WriteDWord(QStringLiteral("K"), QStringLiteral("B"), 3);
    EXPECT_EQ(store.ReadValue(QStringLiteral("K"), QStringLiteral("B"))->number, 3u);
}

TEST_F(RegistryStoreTest, AStoreThatCannotBeWrittenThrows)
{
    WriteFileBytes(folder.filePath(QStringLiteral("plainfile")), "x");
    TRegistryStore unwritable(folder.filePath(QStringLiteral("plainfile/registry.ini")));
    EXPECT_THROW(unwritable.WriteDWord(kKey, QStringLiteral("A"), 2), std::runtime_error);
}

TEST(RegistryStoreDefault, LiesInTheDataFolder)
{
    SandboxDesktop sandbox;
    EXPECT_EQ(TRegistryStore().filePath(), sandbox.dataFolder() + QStringLiteral("registry.ini"));
}
