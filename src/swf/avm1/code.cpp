#include "swf/avm1/code.h"

#include <algorithm>
#include <cstring>

#include "swf/avm1/textutil.h"
#include "swf/format/swfreader.h"

namespace swf::avm1 {

namespace {

class Decoder {
public:
    Decoder(const uint8_t *data, size_t size, int version, Code &code)
        : reader_(data, size), code_(code), version_(version)
    {
    }

    void run()
    {
        while (!reader_.atEnd() && !reader_.overrun()) {
            const size_t offset = reader_.position();
            // An End stops the running code, but a jump may still land on
            // actions after it within the block, so decoding goes on.
            const uint8_t code = reader_.u8();
            SwfReader payload;
            if (code >= 0x80) {
                const uint16_t length = reader_.u16();
                if (reader_.remaining() < length && code != kActionPush)
                    break;
                payload = reader_.sub(length);
            }
            if (reader_.overrun())
                break;
            offsets_.push_back(offset);
            Action action;
            action.code = code;
            code_.actions.push_back(action);
            readOperands(code_.actions.size() - 1, payload);
        }
        offsets_.push_back(reader_.position());
        resolve();
    }

private:
    enum class Field : uint8_t { A, B, FunctionEnd, TryEnd, CatchEnd, FinallyEnd };
    struct Pending {
        size_t index;
        Field field;
        size_t byteOffset;
    };

    SharedString readString(SwfReader &r)
    {
        return std::make_shared<const std::string>(TextFromMovie(r.string(), version_));
    }

    uint32_t addString(SwfReader &r)
    {
        code_.strings.push_back(readString(r));
        return uint32_t(code_.strings.size() - 1);
    }

    size_t nextOffset() const { return reader_.position(); }

    void readOperands(size_t index, SwfReader &p)
    {
        Action &action = code_.actions[index];
        switch (action.code) {
        case kActionGotoFrame:
            action.a = p.u16();
            break;
        case kActionGetURL:
            action.a = addString(p);
            action.b = addString(p);
            break;
        case kActionStoreRegister:
            action.a = p.u8();
            break;
        case kActionConstantPool:
            readPool(action, p);
            break;
        case kActionWaitForFrame:
            action.a = p.u16();
            action.b = p.u8();
            break;
        case kActionSetTarget:
        case kActionGotoLabel:
            action.a = addString(p);
            break;
        case kActionWaitForFrame2:
        case kActionGetURL2:
        case kActionCall:
            action.a = p.u8();
            break;
        case kActionGotoFrame2: {
            const uint8_t flags = p.u8();
            action.a = flags & 1;
            action.b = (flags & 2) ? p.u16() : 0;
            break;
        }
        case kActionPush:
            readPush(action, p);
            break;
        case kActionJump:
        case kActionIf:
            pending_.push_back({index, Field::A, size_t(int64_t(nextOffset()) + p.s16())});
            break;
        case kActionWith:
            pending_.push_back({index, Field::A, nextOffset() + p.u16()});
            break;
        case kActionDefineFunction:
        case kActionDefineFunction2:
            readFunction(index, action, p);
            break;
        case kActionTry:
            readTry(index, action, p);
            break;
        default:
            break;
        }
    }

    void readPool(Action &action, SwfReader &p)
    {
        auto pool = std::make_shared<ConstantPool>();
        const uint16_t count = p.u16();
        for (unsigned i = 0; i < count && !p.atEnd(); ++i)
            pool->push_back(readString(p));
        code_.pools.push_back(std::move(pool));
        action.a = uint32_t(code_.pools.size() - 1);
    }

    void readPush(Action &action, SwfReader &p)
    {
        action.a = uint32_t(code_.pushes.size());
        while (!p.atEnd()) {
            PushItem item;
            const uint8_t type = p.u8();
            switch (type) {
            case 0: item.value = Value(readString(p)); break;
            case 1: item.value = Value(double(p.f32())); break;
            case 2: item.value = Value::null(); break;
            case 3: break;
            case 4: item.kind = PushItem::Kind::Register; item.index = p.u8(); break;
            case 5: item.value = Value(p.u8() != 0); break;
            case 6: item.value = Value(ReadSwappedDouble(p)); break;
            case 7: item.value = Value(double(p.s32())); break;
            case 8: item.kind = PushItem::Kind::Constant; item.index = p.u8(); break;
            case 9: item.kind = PushItem::Kind::Constant; item.index = p.u16(); break;
            default: p.skip(p.remaining()); continue;
            }
            if (p.overrun())
                break;
            code_.pushes.push_back(std::move(item));
        }
        action.b = uint32_t(code_.pushes.size()) - action.a;
    }

    // Doubles in a push keep their two 32-bit halves high word first.
    static double ReadSwappedDouble(SwfReader &p)
    {
        const uint64_t high = p.u32();
        const uint64_t low = p.u32();
        const uint64_t bits = (high << 32) | low;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    void readFunction(size_t index, Action &action, SwfReader &p)
    {
        FunctionInfo info;
        info.name = readString(p);
        const uint16_t count = p.u16();
        info.withRegisters = action.code == kActionDefineFunction2;
        if (info.withRegisters) {
            info.registerCount = p.u8();
            info.flags = p.u16();
        }
        for (unsigned i = 0; i < count && !p.atEnd(); ++i) {
            FunctionParam param;
            if (info.withRegisters)
                param.reg = p.u8();
            param.name = readString(p);
            info.params.push_back(std::move(param));
        }
        const uint16_t codeSize = p.u16();
        code_.functions.push_back(std::move(info));
        action.a = uint32_t(code_.functions.size() - 1);
        pending_.push_back({index, Field::FunctionEnd, nextOffset() + codeSize});
    }

    void readTry(size_t index, Action &action, SwfReader &p)
    {
        TryInfo info;
        const uint8_t flags = p.u8();
        info.hasCatch = flags & 1;
        info.hasFinally = flags & 2;
        info.catchInRegister = flags & 4;
        const uint16_t trySize = p.u16(), catchSize = p.u16(), finallySize = p.u16();
        if (info.catchInRegister)
            info.reg = p.u8();
        else
            info.name = readString(p);
        code_.tries.push_back(std::move(info));
        action.a = uint32_t(code_.tries.size() - 1);
        const size_t start = nextOffset();
        pending_.push_back({index, Field::TryEnd, start + trySize});
        pending_.push_back({index, Field::CatchEnd, start + trySize + catchSize});
        pending_.push_back({index, Field::FinallyEnd, start + trySize + catchSize + finallySize});
    }

    // The list position of the action at `byteOffset`; the end when it
    // lies past the block or inside an action.
    uint32_t positionOf(size_t byteOffset) const
    {
        auto it = std::lower_bound(offsets_.begin(), offsets_.end(), byteOffset);
        if (it == offsets_.end() || *it != byteOffset)
            return uint32_t(code_.actions.size());
        return uint32_t(it - offsets_.begin());
    }

    // Like positionOf, but a body end inside an action rounds up.
    uint32_t bodyEnd(size_t byteOffset) const
    {
        auto it = std::lower_bound(offsets_.begin(), offsets_.end(), byteOffset);
        return uint32_t(std::min<size_t>(size_t(it - offsets_.begin()), code_.actions.size()));
    }

    void resolve()
    {
        for (const Pending &p : pending_) {
            Action &action = code_.actions[p.index];
            const uint32_t start = uint32_t(p.index + 1);
            const uint32_t end = std::max(start, bodyEnd(p.byteOffset));
            switch (p.field) {
            case Field::A:
                action.a = action.code == kActionWith ? end : positionOf(p.byteOffset);
                break;
            case Field::B:
                action.b = positionOf(p.byteOffset);
                break;
            case Field::FunctionEnd:
                code_.functions[action.a].begin = start;
                code_.functions[action.a].end = end;
                break;
            case Field::TryEnd:
                code_.tries[action.a].tryEnd = end;
                break;
            case Field::CatchEnd:
                code_.tries[action.a].catchEnd = end;
                break;
            case Field::FinallyEnd:
                code_.tries[action.a].finallyEnd = end;
                break;
            }
        }
    }

    SwfReader reader_;
    Code &code_;
    int version_;
    std::vector<size_t> offsets_;
    std::vector<Pending> pending_;
};

}  // namespace

std::shared_ptr<const Code> Code::decode(const uint8_t *data, size_t size, int version)
{
    auto code = std::make_shared<Code>();
    Decoder(data, size, version, *code).run();
    return code;
}

size_t Code::bytes() const
{
    size_t total = sizeof(Code) + actions.size() * sizeof(Action) + pushes.size() * sizeof(PushItem);
    for (const SharedString &s : strings)
        total += s->size() + 32;
    for (const auto &pool : pools)
        total += pool->size() * 48;
    return total + functions.size() * sizeof(FunctionInfo) + tries.size() * sizeof(TryInfo);
}

}  // namespace swf::avm1
