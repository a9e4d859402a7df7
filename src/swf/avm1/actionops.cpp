// The actions that run one step and go on with the next: stack and
// arithmetic, comparisons, texts, objects, calls, the timeline and clips.

#include <cmath>

#include "swf/avm1/actionrunner.h"
#include "swf/avm1/arrayobject.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/clipreference.h"
#include "swf/avm1/numberformat.h"
#include "swf/avm1/operators.h"
#include "swf/avm1/superobject.h"
#include "swf/avm1/textutil.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

void ActionRunner::execute(const Action &action)
{
    switch (action.code) {
    case kActionPush:
    case kActionPop:
    case kActionPushDuplicate:
    case kActionStackSwap:
    case kActionStoreRegister:
    case kActionConstantPool:
        return executeStack(action);
    case kActionAdd:
    case kActionAdd2:
    case kActionSubtract:
    case kActionMultiply:
    case kActionDivide:
    case kActionModulo:
    case kActionIncrement:
    case kActionDecrement:
    case kActionToInteger:
    case kActionToNumber:
    case kActionToString:
    case kActionBitAnd:
    case kActionBitOr:
    case kActionBitXor:
    case kActionBitLShift:
    case kActionBitRShift:
    case kActionBitURShift:
    case kActionRandomNumber:
    case kActionGetTime:
        return executeArithmetic(action);
    case kActionEquals:
    case kActionLess:
    case kActionAnd:
    case kActionOr:
    case kActionNot:
    case kActionEquals2:
    case kActionLess2:
    case kActionGreater:
    case kActionStrictEquals:
    case kActionStringEquals:
    case kActionStringLess:
    case kActionStringGreater:
        return executeComparison(action);
    case kActionStringLength:
    case kActionMBStringLength:
    case kActionStringExtract:
    case kActionMBStringExtract:
    case kActionStringAdd:
    case kActionCharToAscii:
    case kActionMBCharToAscii:
    case kActionAsciiToChar:
    case kActionMBAsciiToChar:
    case kActionTrace:
        return executeStrings(action);
    case kActionGetVariable:
    case kActionSetVariable:
    case kActionDefineLocal:
    case kActionDefineLocal2:
    case kActionDelete:
    case kActionDelete2:
    case kActionGetMember:
    case kActionSetMember:
    case kActionInitArray:
    case kActionInitObject:
    case kActionTypeOf:
    case kActionEnumerate:
    case kActionEnumerate2:
    case kActionInstanceOf:
    case kActionCastOp:
    case kActionImplementsOp:
    case kActionExtends:
        return executeObjects(action);
    case kActionCallFunction:
    case kActionCallMethod:
    case kActionNewObject:
    case kActionNewMethod:
    case kActionThrow:
        return executeCalls(action);
    case kActionGotoFrame:
    case kActionGotoLabel:
    case kActionGotoFrame2:
    case kActionNextFrame:
    case kActionPrevFrame:
    case kActionPlay:
    case kActionStop:
    case kActionSetTarget:
    case kActionSetTarget2:
    case kActionGetURL:
    case kActionGetURL2:
    case kActionCall:
        return executeTimeline(action);
    case kActionGetProperty:
    case kActionSetProperty:
    case kActionCloneSprite:
    case kActionRemoveSprite:
    case kActionTargetPath:
    case kActionStartDrag:
    case kActionEndDrag:
        return executeClips(action);
    default:
        return;  // quality, sounds, strict mode: nothing to do here
    }
}

void ActionRunner::executeStack(const Action &action)
{
    switch (action.code) {
    case kActionPush:
        pushItems(action);
        break;
    case kActionPop:
        pop();
        break;
    case kActionPushDuplicate: {
        push(top());
        break;
    }
    case kActionStackSwap: {
        Value a = pop();
        Value b = pop();
        push(std::move(a));
        push(std::move(b));
        break;
    }
    case kActionStoreRegister:
        if (action.a < a_.registers.size())
            a_.registers[action.a] = top();
        break;
    case kActionConstantPool:
        a_.pool = a_.code->pools[action.a];
        break;
    default:
        break;
    }
}

void ActionRunner::executeArithmetic(const Action &action)
{
    const uint8_t code = action.code;
    if (code == kActionAdd2) {
        Value b = pop();
        Value a = pop();
        push(Add2(m_, a, b));
        return;
    }
    if (code == kActionGetTime) {
        push(Value(std::floor(m_.clockMs)));
        return;
    }
    if (code == kActionToString) {
        push(Value(popString()));
        return;
    }
    if (code == kActionIncrement || code == kActionDecrement || code == kActionToNumber
        || code == kActionToInteger || code == kActionRandomNumber) {
        const double n = popNumber();
        push(Value(UnaryArithmetic(m_, code, n)));
        return;
    }
    // The left operand converts first.
    const Value right = pop();
    const double a = popNumber();
    const double b = m_.toNumber(right);
    if (code == kActionDivide && b == 0 && m_.version() < 5) {
        push(Value("#ERROR#"));
        return;
    }
    push(Value(BinaryArithmetic(code, a, b)));
}

void ActionRunner::executeComparison(const Action &action)
{
    const uint8_t code = action.code;
    if (code == kActionNot) {
        pushBoolean(!m_.toBoolean(pop()));
        return;
    }
    Value b = pop();
    Value a = pop();
    switch (code) {
    case kActionEquals: {
        // Here the right operand converts first.
        const double right = m_.toNumber(b);
        pushBoolean(m_.toNumber(a) == right);
        break;
    }
    case kActionLess:
        pushBoolean(m_.toNumber(a) < m_.toNumber(b));
        break;
    case kActionAnd:
        pushBoolean(m_.toBoolean(a) && m_.toBoolean(b));
        break;
    case kActionOr:
        pushBoolean(m_.toBoolean(a) || m_.toBoolean(b));
        break;
    case kActionEquals2:
        pushBoolean(m_.looseEquals(a, b));
        break;
    case kActionLess2:
        push(m_.lessThan(a, b));
        break;
    case kActionGreater:
        push(m_.lessThan(b, a));
        break;
    case kActionStrictEquals:
        pushBoolean(StrictlyEqual(m_, a, b));
        break;
    case kActionStringEquals:
        pushBoolean(m_.toString(a) == m_.toString(b));
        break;
    case kActionStringLess:
        pushBoolean(ToUtf16(m_.toString(a)) < ToUtf16(m_.toString(b)));
        break;
    case kActionStringGreater:
        pushBoolean(ToUtf16(m_.toString(a)) > ToUtf16(m_.toString(b)));
        break;
    default:
        break;
    }
}

void ActionRunner::executeStrings(const Action &action)
{
    switch (action.code) {
    case kActionStringLength:
    case kActionMBStringLength:
        push(Value(double(StringLength(popString()))));
        break;
    case kActionStringExtract:
    case kActionMBStringExtract: {
        const double count = popNumber();
        const double index = popNumber();
        push(Value(ExtractText(popString(), index, count)));
        break;
    }
    case kActionStringAdd: {
        std::string b = popString();
        std::string a = popString();
        m_.book(a.size() + b.size());
        push(Value(a + b));
        break;
    }
    case kActionCharToAscii:
    case kActionMBCharToAscii: {
        const std::u16string text = ToUtf16(popString());
        push(text.empty() ? Value(0.0) : Value(double(text[0])));
        break;
    }
    case kActionAsciiToChar:
    case kActionMBAsciiToChar:
        push(Value(CharText(uint32_t(ToInt32(popNumber())))));
        break;
    case kActionTrace: {
        Value value = pop();
        if (m_.traceSink)
            m_.traceSink(value.isUndefined() ? std::string("undefined") : m_.toString(value));
        break;
    }
    default:
        break;
    }
}

void ActionRunner::executeObjects(const Action &action)
{
    switch (action.code) {
    case kActionGetVariable: {
        const Value name = pop();
        std::string scratch;
        push(GetVariable(m_, a_, textOf(name, scratch)));
        break;
    }
    case kActionSetVariable: {
        Value value = pop();
        const Value name = pop();
        std::string scratch;
        SetVariable(m_, a_, textOf(name, scratch), value);
        break;
    }
    case kActionDefineLocal: {
        Value value = pop();
        const Value name = pop();
        std::string scratch;
        DefineLocal(m_, a_, textOf(name, scratch), value);
        break;
    }
    case kActionDefineLocal2: {
        const std::string name = popString();
        Object *holder = a_.locals ? a_.locals : ScopeClip(a_);
        if (holder && !m_.hasOwn(holder, name))
            DefineLocal(m_, a_, name, Value());
        break;
    }
    case kActionDelete: {
        const std::string name = popString();
        Object *object = m_.toObject(pop());
        pushBoolean(object && m_.remove(object, name));
        break;
    }
    case kActionDelete2:
        pushBoolean(DeleteVariable(m_, a_, popString()));
        break;
    case kActionGetMember: {
        const Value nameValue = pop();
        std::string scratch;
        const std::string &name = textOf(nameValue, scratch);
        Value base = pop();
        push(m_.getMember(base, name));
        break;
    }
    case kActionSetMember: {
        Value value = pop();
        const Value nameValue = pop();
        std::string scratch;
        const std::string &name = textOf(nameValue, scratch);
        Value base = pop();
        if (Object *object = base.object())
            m_.set(object, name, value);
        break;
    }
    default:
        executeTypes(action);
        break;
    }
}

}  // namespace swf::avm1
