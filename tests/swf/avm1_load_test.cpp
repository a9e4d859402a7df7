// Loading from scripts: which addresses reach which files, when loaded
// movies and variables arrive, and that nothing outside the movie's
// folder is ever read.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "swf/avm1/loadaddress.h"
#include "swf/movie.h"
#include "swfbuilder.h"

using swf::avm1::LoadAddress;
using swftest::SwfBuilder;
namespace actions = swftest::actions;

namespace {

constexpr uint8_t kTrace = 0x26, kPop = 0x17, kGetVariable = 0x1c, kSetVariable = 0x1d, kSetMember = 0x4f,
                  kGetMember = 0x4e, kCallMethod = 0x52, kNewObject = 0x40, kGetUrl = 0x83;

QByteArray Trace(const std::string &text) { return actions::pushString(text) + actions::op(kTrace); }
QByteArray TraceVariable(const std::string &name)
{
    return actions::pushString(name) + actions::op(kGetVariable) + actions::op(kTrace);
}

// getURL(url, target): "_levelN" targets load into levels.
QByteArray GetUrl(const std::string &url, const std::string &target)
{
    QByteArray operands = QByteArray::fromStdString(url) + '\0' + QByteArray::fromStdString(target) + '\0';
    QByteArray bytes;
    bytes += char(kGetUrl);
    bytes += char(operands.size() & 0xff);
    bytes += char(operands.size() >> 8);
    return bytes + operands;
}

// A one-frame movie running `script`, then stopping.
QByteArray Movie(const QByteArray &script, uint16_t frames = 1)
{
    SwfBuilder b(8, swf::Rect{0, 2000, 0, 2000}, 12, frames);
    b.doAction(script + actions::stop()).showFrame();
    for (uint16_t i = 1; i < frames; ++i)
        b.showFrame();
    return b.bytes();
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Plays `mainPath` for `frames` frames, returning the trace lines.
QStringList Play(const QString &mainPath, int frames)
{
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovie(mainPath), [&lines](const QString &line) { lines << line; });
    for (int i = 1; i < frames; ++i)
        player.advance();
    return lines;
}

struct AddressCase {
    const char *url;
    LoadAddress::Kind kind;
    const char *path;
    const char *query;
};

class LoadAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(LoadAddressTest, TakesTheAddressApart)
{
    const AddressCase &c = GetParam();
    const LoadAddress address = swf::avm1::ParseLoadAddress(c.url);
    EXPECT_EQ(address.kind, c.kind) << c.url;
    if (c.kind == LoadAddress::Kind::File) {
        EXPECT_EQ(address.relativePath, c.path) << c.url;
        EXPECT_EQ(address.query, c.query) << c.url;
    }
}

using K = LoadAddress::Kind;
INSTANTIATE_TEST_SUITE_P(
    Addresses, LoadAddressTest,
    testing::Values(AddressCase{"child.swf", K::File, "child.swf", ""},
                    AddressCase{"sub/dir/a.swf", K::File, "sub/dir/a.swf", ""},
                    AddressCase{"./a.swf", K::File, "a.swf", ""},
                    AddressCase{"sub\\a.swf", K::File, "sub/a.swf", ""},
                    AddressCase{"my%20movie.swf?x=1&y=2#part", K::File, "my movie.swf", "x=1&y=2"},
                    AddressCase{"../a.swf", K::Refused, "", ""},
                    AddressCase{"sub/../../a.swf", K::Refused, "", ""},
                    AddressCase{"sub/..", K::Refused, "", ""},
                    AddressCase{"%2e%2e/a.swf", K::Refused, "", ""},
                    AddressCase{"sub%2f..%2f..%2fa.swf", K::Refused, "", ""},
                    AddressCase{"..\\a.swf", K::Refused, "", ""},
                    AddressCase{"/etc/passwd", K::Refused, "", ""},
                    AddressCase{"\\\\server\\share\\a.swf", K::Refused, "", ""},
                    AddressCase{"C:\\movies\\a.swf", K::Refused, "", ""},
                    AddressCase{"file:///etc/passwd", K::Refused, "", ""},
                    AddressCase{"javascript:alert(1)", K::Refused, "", ""},
                    AddressCase{"a%00.swf", K::Refused, "", ""},
                    AddressCase{"", K::Refused, "", ""},
                    AddressCase{"?x=1", K::Refused, "", ""},
                    AddressCase{"http://example.com/a.swf", K::Network, "", ""},
                    AddressCase{"HTTPS://example.com/a.swf", K::Network, "", ""},
                    AddressCase{"//example.com/a.swf", K::Network, "", ""}));

TEST(LoadAddress, FormDataDecodesEscapesAndBlanks)
{
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(swf::avm1::DecodeFormData("a=1&b=x%20y+z&&c&d=%zz&e=%4"),
              (Pairs{{"a", "1"}, {"b", "x y z"}, {"c", ""}, {"d", "%zz"}, {"e", "%4"}}));
    EXPECT_EQ(swf::avm1::UrlEncode("a b&c=d/é"), "a%20b%26c%3Dd%2F%C3%A9");
}

class LoadFromFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkdir("movie"));
    }
    QString inMovieFolder(const QString &name) const { return dir_.path() + "/movie/" + name; }
    QString besideMovieFolder(const QString &name) const { return dir_.path() + "/" + name; }

    QTemporaryDir dir_;
};

TEST_F(LoadFromFolder, ALevelLoadArrivesAtTheEndOfTheNextFrame)
{
    Write(inMovieFolder("child.swf"), Movie(Trace("child") + TraceVariable("_target")));
    Write(inMovieFolder("main.swf"), Movie(GetUrl("child.swf", "_level2") + Trace("main"), 3));
    EXPECT_EQ(Play(inMovieFolder("main.swf"), 1), QStringList{"main"});
    EXPECT_EQ(Play(inMovieFolder("main.swf"), 3), (QStringList{"main", "child", "_level2"}));
}

TEST_F(LoadFromFolder, FilesOutsideTheFolderAreNeverRead)
{
    const QByteArray secret = Movie(Trace("secret was read"));
    Write(besideMovieFolder("secret.swf"), secret);
    ASSERT_TRUE(QFile::link(besideMovieFolder("secret.swf"), inMovieFolder("link.swf")));
    const std::string absolute = besideMovieFolder("secret.swf").toStdString();
    const QByteArray attempts = GetUrl("../secret.swf", "_level1") + GetUrl("link.swf", "_level2")
                                + GetUrl(absolute, "_level3") + GetUrl("file://" + absolute, "_level4")
                                + GetUrl("%2e%2e/secret.swf", "_level5");
    Write(inMovieFolder("main.swf"), Movie(attempts + Trace("main"), 4));
    EXPECT_EQ(Play(inMovieFolder("main.swf"), 4), QStringList{"main"});
}

TEST_F(LoadFromFolder, AMovieFromMemoryLoadsNothing)
{
    Write(inMovieFolder("child.swf"), Movie(Trace("child")));
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(Movie(GetUrl("child.swf", "_level1"), 3)),
                            [&lines](const QString &line) { lines << line; });
    player.advance();
    player.advance();
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(LoadFromFolder, AMovieLoadingItselfForeverStaysBounded)
{
    // Every copy loads the file again into the next level up.
    Write(inMovieFolder("main.swf"), Movie(GetUrl("main.swf", "_level1") + GetUrl("main.swf", "_level2") + Trace("copy")));
    const QStringList lines = Play(inMovieFolder("main.swf"), 40);
    EXPECT_GE(lines.size(), 3);
    EXPECT_LE(lines.size(), 40 * 8 + 1);
}

// v = new LoadVars(); v.onLoad = <trace ok, v.a>; v.load(url)
QByteArray LoadVarsScript(const std::string &url)
{
    const QByteArray onLoad = actions::defineFunction(
        "", Trace("onLoad") + actions::pushString("v") + actions::op(kGetVariable) + actions::pushString("a")
                + actions::op(kGetMember) + actions::op(kTrace));
    return actions::pushString("v") + actions::pushNumber(0) + actions::pushString("LoadVars")
           + actions::op(kNewObject) + actions::op(kSetVariable) + actions::pushString("v")
           + actions::op(kGetVariable) + actions::pushString("onLoad") + onLoad + actions::op(kSetMember)
           + actions::pushString(url) + actions::pushNumber(1) + actions::pushString("v")
           + actions::op(kGetVariable) + actions::pushString("load") + actions::op(kCallMethod) + actions::op(kPop);
}

TEST_F(LoadFromFolder, LoadVarsDecodesTheFileOnTheNextFrame)
{
    Write(inMovieFolder("vars.txt"), "\xEF\xBB\xBF" "a=hello%20there&b=2");
    Write(inMovieFolder("main.swf"), Movie(LoadVarsScript("vars.txt"), 3));
    EXPECT_TRUE(Play(inMovieFolder("main.swf"), 1).isEmpty());
    EXPECT_EQ(Play(inMovieFolder("main.swf"), 2), (QStringList{"onLoad", "hello there"}));
}

TEST_F(LoadFromFolder, LoadVarsOutsideTheFolderFailsAsAMissingFile)
{
    Write(besideMovieFolder("vars.txt"), "a=secret");
    Write(inMovieFolder("main.swf"), Movie(LoadVarsScript("../vars.txt"), 3));
    EXPECT_EQ(Play(inMovieFolder("main.swf"), 3), (QStringList{"onLoad", "undefined"}));
}

// getSWFVersion answers for clips and text fields alike, in every version;
// SWF 5 makes fields but knows them by their variables, not their
// properties.
TEST(Avm1SwfVersion, ClipsAndFieldsTellTheirMoviesVersion)
{
    for (const uint8_t version : {5, 6}) {
        SwfBuilder b(version, swf::Rect{0, 2000, 0, 2000}, 12, 1);
        const auto get = [](const std::string &object, const std::string &member) {
            return actions::pushString(object) + actions::op(kGetVariable) + actions::pushString(member)
                   + actions::op(kGetMember);
        };
        const auto callOn = [](const std::string &object, const std::string &method) {
            return actions::pushNumber(0) + actions::pushString(object) + actions::op(kGetVariable)
                   + actions::pushString(method) + actions::op(kCallMethod);
        };
        // this.createTextField("t", 1, 0, 0, 50, 20); t.f = this.getSWFVersion;
        const QByteArray script = actions::pushNumber(20) + actions::pushNumber(50) + actions::pushNumber(0)
                                  + actions::pushNumber(0) + actions::pushNumber(1) + actions::pushString("t")
                                  + actions::pushNumber(6) + actions::pushString("this") + actions::op(kGetVariable)
                                  + actions::pushString("createTextField") + actions::op(kCallMethod)
                                  + actions::op(kPop) + actions::pushString("t") + actions::op(kGetVariable)
                                  + actions::pushString("f") + get("this", "getSWFVersion") + actions::op(kSetMember)
                                  + callOn("this", "getSWFVersion") + actions::op(kTrace) + callOn("t", "f")
                                  + actions::op(kTrace) + get("t", "text") + actions::op(kTrace);
        b.doAction(script).showFrame();
        QStringList lines;
        swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()), [&lines](const QString &line) { lines << line; });
        const QString v = QString::number(version);
        EXPECT_EQ(lines, (QStringList{v, v, version == 5 ? "undefined" : ""}));
    }
}

}  // namespace
