#include "swf/timeline/frameaction.h"

#include <QString>
#include <cmath>
#include <optional>

namespace swf {

namespace {

enum ActionCode : uint8_t {
    kEnd = 0x00,
    kNextFrame = 0x04,
    kPrevFrame = 0x05,
    kPlay = 0x06,
    kStop = 0x07,
    kGotoFrame = 0x81,
    kConstantPool = 0x88,
    kGotoLabel = 0x8c,
    kPush = 0x96,
    kGotoFrame2 = 0x9f,
};

// The last value an ActionPush left on the stack, when it was a constant
// that ActionGotoFrame2 can use.
struct PushedConstant {
    bool isNumber = false;
    double number = 0;
    std::string text;
};

std::optional<PushedConstant> LastPushedConstant(SwfReader r, const std::vector<std::string> &pool)
{
    std::optional<PushedConstant> last;
    while (!r.atEnd() && !r.overrun()) {
        PushedConstant value;
        const uint8_t type = r.u8();
        switch (type) {
        case 0:
            value.text = r.string();
            break;
        case 1:
            value.isNumber = true;
            value.number = r.f32();
            break;
        case 2:
        case 3:
            last.reset();
            continue;
        case 4:
        case 5:
            r.skip(1);
            last.reset();
            continue;
        case 6:
            value.isNumber = true;
            value.number = r.f64();
            break;
        case 7:
            value.isNumber = true;
            value.number = r.s32();
            break;
        case 8:
        case 9: {
            const size_t index = type == 8 ? r.u8() : r.u16();
            if (index >= pool.size()) {
                last.reset();
                continue;
            }
            value.text = pool[index];
            break;
        }
        default:
            return std::nullopt;  // unknown type: the rest cannot be read
        }
        if (r.overrun())
            return std::nullopt;
        last = value;
    }
    return last;
}

std::vector<std::string> ReadConstantPool(SwfReader r)
{
    std::vector<std::string> pool;
    const uint16_t count = r.u16();
    for (unsigned i = 0; i < count && !r.atEnd(); ++i)
        pool.push_back(r.string());
    return pool;
}

// ActionGotoFrame2 with the pushed constant as its frame: a number is a
// 1-based frame, a string a label or a frame number written out.
std::optional<FrameAction> GotoFromConstant(const PushedConstant &value, SwfReader r)
{
    const uint8_t flags = r.u8();
    const int bias = (flags & 0x02) ? r.u16() : 0;
    FrameAction action;
    action.play = flags & 0x01;
    double number = value.number;
    bool isNumber = value.isNumber;
    if (!isNumber) {
        bool ok = false;
        number = QString::fromStdString(value.text).toDouble(&ok);
        isNumber = ok;
    }
    if (isNumber) {
        if (!std::isfinite(number) || number < -1e9 || number > 1e9)
            return std::nullopt;
        action.kind = FrameAction::Kind::GotoFrame;
        action.frame = int(number) - 1 + bias;
    } else {
        action.kind = FrameAction::Kind::GotoLabel;
        action.label = value.text;
    }
    return action;
}

FrameAction Simple(FrameAction::Kind kind)
{
    FrameAction action;
    action.kind = kind;
    return action;
}

}  // namespace

void ParseFrameActions(SwfReader body, std::vector<FrameAction> &out)
{
    std::vector<std::string> pool;
    std::optional<PushedConstant> pushed;
    while (!body.atEnd() && !body.overrun()) {
        const uint8_t code = body.u8();
        if (code == kEnd)
            break;
        SwfReader payload;
        if (code >= 0x80)
            payload = body.sub(body.u16());
        std::optional<PushedConstant> nextPushed;
        FrameAction action;
        switch (code) {
        case kStop:
            out.push_back(Simple(FrameAction::Kind::Stop));
            break;
        case kPlay:
            out.push_back(Simple(FrameAction::Kind::Play));
            break;
        case kNextFrame:
            out.push_back(Simple(FrameAction::Kind::NextFrame));
            break;
        case kPrevFrame:
            out.push_back(Simple(FrameAction::Kind::PrevFrame));
            break;
        case kGotoFrame:
            action = Simple(FrameAction::Kind::GotoFrame);
            action.frame = payload.u16();
            out.push_back(action);
            break;
        case kGotoLabel:
            action = Simple(FrameAction::Kind::GotoLabel);
            action.label = payload.string();
            out.push_back(action);
            break;
        case kConstantPool:
            pool = ReadConstantPool(payload);
            break;
        case kPush:
            nextPushed = LastPushedConstant(payload, pool);
            break;
        case kGotoFrame2:
            if (pushed) {
                if (auto goTo = GotoFromConstant(*pushed, payload))
                    out.push_back(*goTo);
            }
            break;
        default:
            break;
        }
        pushed = nextPushed;
    }
}

}  // namespace swf
