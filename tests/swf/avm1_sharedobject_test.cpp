// SharedObject: which names and folders a movie may use, that data comes
// back from its file as it went in (cycles, dates and XML included), the
// size limit and its onStatus, writing when the player goes, and that a
// cut or damaged file never reads as anything but no data.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "swf/avm1/arrayobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/sharedobjects.h"
#include "swf/avm1/solformat.h"
#include "swf/sharedobjectfolder.h"

using swf::avm1::Args;
using swf::avm1::Machine;
using swf::avm1::MemorySharedObjectStore;
using swf::avm1::Object;
using swf::avm1::SharedObjects;
using swf::avm1::Value;

namespace {

const char kMovie[] = "/movies/game.swf";

// A machine with a player's shared objects over `store`.
struct Player {
    explicit Player(std::shared_ptr<swf::avm1::SharedObjectStore> store) : objects(m, kMovie)
    {
        objects.setStore(std::move(store));
        m.sharedObjects = &objects;
    }
    Value getLocal(const Value &name, const Value &path = Value())
    {
        return m.callMethod(m.get(m.global, "SharedObject"), "getLocal", Args({name, path}));
    }
    Object *data(const char *name) { return m.get(getLocal(Value(name)).object(), "data").object(); }

    Machine m{8};
    SharedObjects objects;
};

Value RecordStatus(Machine &m, const Value &, const Args &args)
{
    m.set(m.global, "status", m.get(args[0].object(), "code"));
    return {};
}

struct NameCase {
    const char *name;
    const char *localPath;  // null: none given
    const char *path;       // "" when refused
};

class SharedObjectNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(SharedObjectNameTest, FilePathOrRefusal)
{
    const NameCase &c = GetParam();
    const Value localPath = c.localPath ? Value(c.localPath) : Value();
    EXPECT_EQ(SharedObjects::FilePath(kMovie, c.name, localPath, c.localPath ? c.localPath : ""), c.path);
    Player player(std::make_shared<MemorySharedObjectStore>());
    EXPECT_EQ(player.getLocal(Value(c.name), localPath).isNull(), *c.path == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SharedObjectNameTest,
    testing::Values(NameCase{"scores", nullptr, "localhost/movies/game.swf/scores.sol"},
                    NameCase{"dir/scores", nullptr, "localhost/movies/game.swf/dir/scores.sol"},
                    NameCase{"scores", "/", "localhost/scores.sol"},
                    NameCase{"scores", "/movies/", "localhost/movies/scores.sol"},
                    NameCase{"scores", "/movies/game.swf", "localhost/movies/game.swf/scores.sol"},
                    NameCase{"scores", "/other", ""}, NameCase{"scores", "/mov", ""},
                    NameCase{"scores", "movies", ""}, NameCase{"", nullptr, ""}, NameCase{"a b", nullptr, ""},
                    NameCase{"a~b", nullptr, ""}, NameCase{"a%b", nullptr, ""}, NameCase{"a&b", nullptr, ""},
                    NameCase{"a\\b", nullptr, ""}, NameCase{"a;b", nullptr, ""}, NameCase{"a:b", nullptr, ""},
                    NameCase{"a\"b", nullptr, ""}, NameCase{"a'b", nullptr, ""}, NameCase{"a,b", nullptr, ""},
                    NameCase{"a<b", nullptr, ""}, NameCase{"a>b", nullptr, ""}, NameCase{"a?b", nullptr, ""},
                    NameCase{"a#b", nullptr, ""}, NameCase{"../up", nullptr, ""}, NameCase{"a//b", nullptr, ""},
                    NameCase{"a/", nullptr, ""}));

TEST(Avm1SharedObject, TheSameNameGivesTheSameObject)
{
    Player player(std::make_shared<MemorySharedObjectStore>());
    EXPECT_EQ(player.getLocal(Value("a")).object(), player.getLocal(Value("a")).object());
    EXPECT_NE(player.getLocal(Value("a")).object(), player.getLocal(Value("a"), Value("/")).object());
}

TEST(Avm1SharedObject, DataComesBackAsItWasFlushed)
{
    auto store = std::make_shared<MemorySharedObjectStore>();
    {
        Player first(store);
        Machine &m = first.m;
        Object *data = first.data("save");
        Object *inner = m.newObject();
        m.set(inner, "self", Value(inner));
        m.set(inner, "name", Value("Zoë"));
        auto *list = m.newArray({Value(1.5), Value(true), Value::null(), Value()});
        m.set(list, "label", Value("extra"));
        m.set(data, "inner", Value(inner));
        m.set(data, "list", Value(list));
        m.set(data, "again", Value(inner));
        m.set(data, "when", m.construct(m.get(m.global, "Date"), Args({Value(86400000.0)})));
        m.set(data, "doc", m.construct(m.get(m.global, "XML"), Args({Value("<a b=\"1\">t</a>")})));
        m.set(data, "skipped", Value(m.newNative(RecordStatus)));
        Object *so = first.getLocal(Value("save")).object();
        EXPECT_TRUE(m.toBoolean(m.callMethod(Value(so), "flush", Args())));
        EXPECT_GT(m.toNumber(m.callMethod(Value(so), "getSize", Args())), 0);
    }
    Player second(store);
    Machine &m = second.m;
    Object *data = second.data("save");
    Object *inner = m.get(data, "inner").object();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(m.get(inner, "self").object(), inner);
    EXPECT_EQ(m.get(data, "again").object(), inner);
    EXPECT_EQ(m.toString(m.get(inner, "name")), "Zoë");
    auto *list = dynamic_cast<swf::avm1::ArrayObject *>(m.get(data, "list").object());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->elements.size(), 4u);
    EXPECT_EQ(m.toNumber(list->elements[0]), 1.5);
    EXPECT_TRUE(list->elements[2].isNull());
    EXPECT_EQ(m.toString(m.get(list, "label")), "extra");
    EXPECT_EQ(m.toNumber(m.callMethod(m.get(data, "when"), "getTime", Args())), 86400000.0);
    EXPECT_EQ(m.toString(m.get(data, "doc")), "<a b=\"1\">t</a>");
    EXPECT_TRUE(m.get(data, "skipped").isUndefined());
}

TEST(Avm1SharedObject, DataIsWrittenWhenThePlayerGoesAndClearRemovesIt)
{
    auto store = std::make_shared<MemorySharedObjectStore>();
    {
        Player first(store);
        first.m.set(first.data("kept"), "level", Value(3.0));
    }
    Player second(store);
    Machine &m = second.m;
    EXPECT_EQ(m.toNumber(m.get(second.data("kept"), "level")), 3);
    Object *so = second.getLocal(Value("kept")).object();
    m.callMethod(Value(so), "clear", Args());
    EXPECT_TRUE(m.get(second.data("kept"), "level").isUndefined());
    EXPECT_EQ(m.toNumber(m.callMethod(Value(so), "getSize", Args())), 0);
    std::string bytes;
    EXPECT_FALSE(store->read("localhost/movies/game.swf/kept.sol", bytes));
}

TEST(Avm1SharedObject, FlushBeyondTheLimitIsPendingThenFails)
{
    auto store = std::make_shared<MemorySharedObjectStore>();
    Player player(store);
    Machine &m = player.m;
    Object *so = player.getLocal(Value("big")).object();
    m.set(so, "onStatus", Value(m.newNative(RecordStatus)));
    m.set(player.data("big"), "text", Value(std::string(SharedObjects::kLocalLimit, 'x')));
    EXPECT_EQ(m.toString(m.callMethod(Value(so), "flush", Args())), "pending");
    EXPECT_TRUE(m.get(m.global, "status").isUndefined());
    swf::avm1::RunDueTimers(m);
    EXPECT_EQ(m.toString(m.get(m.global, "status")), "SharedObject.Flush.Failed");
    m.set(player.data("big"), "text", Value("small"));
    EXPECT_EQ(m.toString(m.callMethod(Value(so), "flush", Args({Value(200000.0)}))), "pending");
    EXPECT_TRUE(m.toBoolean(m.callMethod(Value(so), "flush", Args())));
}

// Every cut and every damaged byte of a real file reads as no data or as
// data, never as a crash; cuts always as no data.
TEST(Avm1SharedObject, CutAndDamagedFilesNeverCrash)
{
    Machine m(8);
    Object *data = m.newObject();
    Object *inner = m.newObject();
    m.set(inner, "loop", Value(inner));
    m.set(data, "inner", Value(inner));
    m.set(data, "list", Value(m.newArray({Value("a"), Value(2.0)})));
    m.set(data, "text", Value("hello"));
    const std::string good = swf::avm1::EncodeSol(m, "save", data);
    std::vector<std::pair<std::string, Value>> read;
    ASSERT_TRUE(swf::avm1::DecodeSol(m, good, read));
    EXPECT_EQ(read.size(), 3u);
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(swf::avm1::DecodeSol(m, good.substr(0, cut), read)) << cut;
    for (size_t at = 0; at < good.size(); ++at)
        for (uint8_t damage : {0x00, 0x07, 0x0A, 0xFF}) {
            std::string bad = good;
            bad[at] = char(damage);
            swf::avm1::DecodeSol(m, bad, read);
        }
}

TEST(Avm1SharedObject, HostileNestingAndCountsAreRefused)
{
    Machine m(8);
    auto file = [](const std::string &entries) {
        std::string body = std::string("TCSO\0\4\0\0\0\0\0\1s\0\0\0\0", 17) + entries;
        const uint32_t n = uint32_t(body.size());
        return std::string("\0\xBF", 2) + char(n >> 24) + char(n >> 16) + char(n >> 8) + char(n) + body;
    };
    std::string nested = std::string("\0\1a", 3);
    for (int i = 0; i < 10000; ++i)
        nested += std::string("\x03\0\1a", 4);
    std::vector<std::pair<std::string, Value>> read;
    EXPECT_FALSE(swf::avm1::DecodeSol(m, file(nested), read));
    EXPECT_FALSE(swf::avm1::DecodeSol(m, file(std::string("\0\1a\x0A\xFF\xFF\xFF\xFF", 8)), read));
    EXPECT_FALSE(swf::avm1::DecodeSol(m, file(std::string("\0\1a\x07\0\5", 6)), read));
    EXPECT_FALSE(swf::avm1::DecodeSol(m, file(std::string("\0\1a\x11\0", 5)), read));
    EXPECT_TRUE(swf::avm1::DecodeSol(m, file(std::string("\0\1a\x05\0", 5)), read));
}

TEST(Avm1SharedObject, FolderStoreKeepsFilesInsideItsFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    swf::SharedObjectFolder store(dir.path() + "/so");
    EXPECT_TRUE(store.write("localhost/m.swf/a.sol", "bytes"));
    EXPECT_TRUE(QFile::exists(dir.path() + "/so/localhost/m.swf/a.sol"));
    std::string bytes;
    EXPECT_TRUE(store.read("localhost/m.swf/a.sol", bytes));
    EXPECT_EQ(bytes, "bytes");
    EXPECT_TRUE(store.write("localhost/m.swf/a.sol", "new"));
    EXPECT_TRUE(store.read("localhost/m.swf/a.sol", bytes));
    EXPECT_EQ(bytes, "new");
    for (const char *outside : {"../a.sol", "localhost/../../a.sol", "/etc/a.sol", ""})
        EXPECT_FALSE(store.write(outside, "x")) << outside;
    EXPECT_FALSE(QFile::exists(dir.path() + "/a.sol"));
    store.remove("localhost/m.swf/a.sol");
    EXPECT_FALSE(store.read("localhost/m.swf/a.sol", bytes));
}

}  // namespace
