// Input logs: the forms of keys and mouse events they hold, what is not a
// log, and the replay of one frame's events onto a player.

#include <gtest/gtest.h>

#include "swf/inputlog.h"
#include "swf/movie.h"
#include "swf/timeline/keycodes.h"
#include "swfbuilder.h"

using swf::InputEvent;
using swf::InputLog;

namespace {

struct KeyCase {
    const char *json;
    int keyCode;
    char32_t character;
};

class InputLogKeys : public testing::TestWithParam<KeyCase> {};

}  // namespace

TEST_P(InputLogKeys, BecomeFlashKeyCodesAndCharacters)
{
    InputLog log;
    const QByteArray json = QByteArray("[{\"type\": \"KeyDown\", \"key\": ") + GetParam().json + "}]";
    ASSERT_TRUE(log.parse(json));
    ASSERT_EQ(log.events().size(), 1u);
    EXPECT_EQ(log.events()[0].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(log.events()[0].keyCode, GetParam().keyCode);
    EXPECT_EQ(log.events()[0].character, GetParam().character);
}

INSTANTIATE_TEST_SUITE_P(InputLog, InputLogKeys,
                         testing::Values(KeyCase{"{\"Char\": \"a\"}", 65, U'a'}, KeyCase{"{\"Char\": \"7\"}", 55, U'7'},
                                         KeyCase{"{\"Char\": \";\"}", 186, U';'},
                                         KeyCase{"{\"Numpad\": \"1\"}", 97, U'1'},
                                         KeyCase{"\"Enter\"", swf::kKeyEnter, U'\r'},
                                         KeyCase{"\"Space\"", swf::kKeySpace, U' '},
                                         KeyCase{"\"ArrowLeft\"", swf::kKeyLeft, 0},
                                         KeyCase{"\"PageDown\"", swf::kKeyPageDown, 0},
                                         KeyCase{"\"F2\"", swf::kKeyF1 + 1, 0},
                                         KeyCase{"\"NoSuchKey\"", 0, 0},
                                         KeyCase{"{\"Char\": \"ab\"}", 0, 0}));

TEST(InputLog, ReadsMouseEventsAndPassesOverWhatItDoesNotKnow)
{
    InputLog log;
    ASSERT_TRUE(log.parse(R"([{"type": "MouseMove", "pos": [150.5, 100]},
                              {"type": "MouseDown", "pos": [2, 3], "btn": "Left"},
                              {"type": "MouseUp", "pos": [2, 3], "btn": "Middle"},
                              {"type": "MouseWheel", "delta": {"Lines": 1}},
                              {"type": "Wait"}])"));
    const auto &events = log.events();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].kind, InputEvent::Kind::MouseMove);
    EXPECT_EQ(events[0].position, QPointF(150.5, 100));
    EXPECT_TRUE(events[1].leftButton);
    EXPECT_FALSE(events[2].leftButton);
    EXPECT_EQ(events[3].kind, InputEvent::Kind::Other);
    EXPECT_EQ(events[4].kind, InputEvent::Kind::Wait);
}

TEST(InputLog, WhatIsNoListOfEventsIsRefused)
{
    for (const char *json : {"", "{\"type\": \"Wait\"}", "[{\"type\": \"Wait\"", "\"Wait\""}) {
        InputLog log;
        QString error;
        EXPECT_FALSE(log.parse(json, &error)) << json;
        EXPECT_FALSE(error.isEmpty()) << json;
    }
    InputLog log;
    QString error;
    EXPECT_FALSE(log.load(QStringLiteral("/nonexistent/input.json"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(InputLog, EachFramePlaysTheEventsUpToTheNextWait)
{
    // A button over the whole stage: its picture says where the log is.
    const swf::Rect stage{0, 2000, 0, 2000};
    swftest::SwfBuilder b(8, stage);
    b.defineRectangle(1, stage, swf::Rgba{255, 0, 0, 255});
    b.defineRectangle(2, stage, swf::Rgba{0, 0, 255, 255});
    b.defineButton2(20, false, {{0x09, 1, 1, {}}, {0x02, 2, 1, {}}});
    b.placeObject2(swftest::PlaceCharacter(1, 20)).showFrame().end();
    swf::MoviePlayer player(swf::LoadMovieFromBytes(b.bytes()));
    const auto shown = [&player] { return player.renderImage(QSize(10, 10), swf::Quality::Low).pixel(5, 5); };

    InputLog log;
    ASSERT_TRUE(log.parse(R"([{"type": "Wait"}, {"type": "MouseMove", "pos": [50, 50]}, {"type": "Wait"},
                              {"type": "MouseMove", "pos": [500, 50]}])"));
    log.playFrame(player);
    EXPECT_EQ(shown(), qRgb(255, 0, 0));
    log.playFrame(player);
    EXPECT_EQ(shown(), qRgb(0, 0, 255));
    EXPECT_FALSE(log.atEnd());
    log.playFrame(player);
    EXPECT_EQ(shown(), qRgb(255, 0, 0));
    EXPECT_TRUE(log.atEnd());
    log.playFrame(player);  // nothing left: nothing happens
}
