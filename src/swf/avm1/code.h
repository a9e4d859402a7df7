#pragma once
// One block of actions (a DoAction or DoInitAction body, a button's or a
// clip event's actions) decoded once into a flat list: every action with
// its operands read and checked, jumps turned into positions in the list,
// function, with and try bodies turned into ranges of it. A jump into the
// middle of an action or out of the block ends the code there. Immutable
// once decoded and shared by the functions it defines.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "swf/avm1/value.h"

namespace swf::avm1 {

enum ActionCode : uint8_t {
    kActionEnd = 0x00,
    kActionNextFrame = 0x04,
    kActionPrevFrame = 0x05,
    kActionPlay = 0x06,
    kActionStop = 0x07,
    kActionToggleQuality = 0x08,
    kActionStopSounds = 0x09,
    kActionAdd = 0x0a,
    kActionSubtract = 0x0b,
    kActionMultiply = 0x0c,
    kActionDivide = 0x0d,
    kActionEquals = 0x0e,
    kActionLess = 0x0f,
    kActionAnd = 0x10,
    kActionOr = 0x11,
    kActionNot = 0x12,
    kActionStringEquals = 0x13,
    kActionStringLength = 0x14,
    kActionStringExtract = 0x15,
    kActionPop = 0x17,
    kActionToInteger = 0x18,
    kActionGetVariable = 0x1c,
    kActionSetVariable = 0x1d,
    kActionSetTarget2 = 0x20,
    kActionStringAdd = 0x21,
    kActionGetProperty = 0x22,
    kActionSetProperty = 0x23,
    kActionCloneSprite = 0x24,
    kActionRemoveSprite = 0x25,
    kActionTrace = 0x26,
    kActionStartDrag = 0x27,
    kActionEndDrag = 0x28,
    kActionStringLess = 0x29,
    kActionThrow = 0x2a,
    kActionCastOp = 0x2b,
    kActionImplementsOp = 0x2c,
    kActionRandomNumber = 0x30,
    kActionMBStringLength = 0x31,
    kActionCharToAscii = 0x32,
    kActionAsciiToChar = 0x33,
    kActionGetTime = 0x34,
    kActionMBStringExtract = 0x35,
    kActionMBCharToAscii = 0x36,
    kActionMBAsciiToChar = 0x37,
    kActionDelete = 0x3a,
    kActionDelete2 = 0x3b,
    kActionDefineLocal = 0x3c,
    kActionCallFunction = 0x3d,
    kActionReturn = 0x3e,
    kActionModulo = 0x3f,
    kActionNewObject = 0x40,
    kActionDefineLocal2 = 0x41,
    kActionInitArray = 0x42,
    kActionInitObject = 0x43,
    kActionTypeOf = 0x44,
    kActionTargetPath = 0x45,
    kActionEnumerate = 0x46,
    kActionAdd2 = 0x47,
    kActionLess2 = 0x48,
    kActionEquals2 = 0x49,
    kActionToNumber = 0x4a,
    kActionToString = 0x4b,
    kActionPushDuplicate = 0x4c,
    kActionStackSwap = 0x4d,
    kActionGetMember = 0x4e,
    kActionSetMember = 0x4f,
    kActionIncrement = 0x50,
    kActionDecrement = 0x51,
    kActionCallMethod = 0x52,
    kActionNewMethod = 0x53,
    kActionInstanceOf = 0x54,
    kActionEnumerate2 = 0x55,
    kActionBitAnd = 0x60,
    kActionBitOr = 0x61,
    kActionBitXor = 0x62,
    kActionBitLShift = 0x63,
    kActionBitRShift = 0x64,
    kActionBitURShift = 0x65,
    kActionStrictEquals = 0x66,
    kActionGreater = 0x67,
    kActionStringGreater = 0x68,
    kActionExtends = 0x69,
    kActionGotoFrame = 0x81,
    kActionGetURL = 0x83,
    kActionStoreRegister = 0x87,
    kActionConstantPool = 0x88,
    kActionStrictMode = 0x89,
    kActionWaitForFrame = 0x8a,
    kActionSetTarget = 0x8b,
    kActionGotoLabel = 0x8c,
    kActionWaitForFrame2 = 0x8d,
    kActionDefineFunction2 = 0x8e,
    kActionTry = 0x8f,
    kActionWith = 0x94,
    kActionPush = 0x96,
    kActionJump = 0x99,
    kActionGetURL2 = 0x9a,
    kActionDefineFunction = 0x9b,
    kActionIf = 0x9d,
    kActionCall = 0x9e,
    kActionGotoFrame2 = 0x9f,
};

struct PushItem {
    enum class Kind : uint8_t { Value, Register, Constant };
    Kind kind = Kind::Value;
    uint16_t index = 0;  // register or constant pool entry
    Value value;
};

// A ConstantPool's strings. Shared: the pool stays in force past the end
// of the block that set it, and functions keep the one they were made in.
using ConstantPool = std::vector<SharedString>;
using PoolPtr = std::shared_ptr<const ConstantPool>;

struct FunctionParam {
    uint8_t reg = 0;  // 0: a local variable
    SharedString name;
};

struct FunctionInfo {
    SharedString name;
    std::vector<FunctionParam> params;
    uint16_t flags = 0;  // DefineFunction2 preload and suppress flags
    uint8_t registerCount = 0;
    bool withRegisters = false;  // DefineFunction2
    uint32_t begin = 0, end = 0;
};

struct TryInfo {
    uint32_t tryEnd = 0, catchEnd = 0, finallyEnd = 0;
    bool hasCatch = false, hasFinally = false;
    bool catchInRegister = false;
    uint8_t reg = 0;
    SharedString name;
};

struct Action {
    uint8_t code = 0;
    // Meaning by code: Push: first item and count; jumps and If: target;
    // With: body end; GotoFrame: frame; WaitForFrame: frame and skip count;
    // StoreRegister: register; GotoFrame2: play flag and scene bias;
    // string operands: index into `strings` (GetURL: URL and target);
    // DefineFunction: index into `functions`; Try: index into `tries`;
    // ConstantPool: index into `pools`.
    uint32_t a = 0, b = 0;
};

class Code {
public:
    // Never fails: what cannot be read ends the code.
    // `version`: the movie's, which says how its texts are encoded.
    static std::shared_ptr<const Code> decode(const uint8_t *data, size_t size, int version);

    std::vector<Action> actions;
    std::vector<PushItem> pushes;
    std::vector<SharedString> strings;
    std::vector<PoolPtr> pools;
    std::vector<FunctionInfo> functions;
    std::vector<TryInfo> tries;

    size_t bytes() const;
};

}  // namespace swf::avm1
