#pragma once
// Writes action bytes the way a compiler lays them out: pushes of several
// values, registers, jumps to named labels (offsets resolved when the
// bytes are taken) and function definitions with their bodies inline.
// Header only, so that the benchmarks can use it without the test library.

#include <QByteArray>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace swftest {

class ActionAssembler {
public:
    // One value of a Push.
    struct Item {
        enum Kind : uint8_t { String = 0, Null = 2, Undefined = 3, Register = 4, Boolean = 5, Double = 6, Int = 7 };
        Kind kind;
        double number = 0;
        std::string text = {};
        Item(double n) : kind(Double), number(n) {}
        Item(int n) : kind(Int), number(n) {}
        Item(const char *s) : kind(String), text(s) {}
        Item(std::string s) : kind(String), text(std::move(s)) {}
        static Item reg(uint8_t r) { return Item(Register, r); }
        static Item boolean(bool b) { return Item(Boolean, b ? 1 : 0); }
        static Item null() { return Item(Null, 0); }
        static Item undefined() { return Item(Undefined, 0); }

    private:
        Item(Kind k, double n) : kind(k), number(n) {}
    };

    ActionAssembler &op(uint8_t code)
    {
        bytes_.append(char(code));
        return *this;
    }

    ActionAssembler &push(std::initializer_list<Item> items)
    {
        QByteArray body;
        for (const Item &item : items) {
            body.append(char(item.kind));
            switch (item.kind) {
            case Item::String:
                body.append(item.text.c_str(), int(item.text.size() + 1));
                break;
            case Item::Register:
            case Item::Boolean:
                body.append(char(uint8_t(item.number)));
                break;
            case Item::Double: {
                uint64_t bits;
                std::memcpy(&bits, &item.number, sizeof bits);
                appendU32(body, uint32_t(bits >> 32));  // high half first
                appendU32(body, uint32_t(bits));
                break;
            }
            case Item::Int:
                appendU32(body, uint32_t(int32_t(item.number)));
                break;
            default:
                break;
            }
        }
        return withBody(0x96, body);
    }

    ActionAssembler &storeRegister(uint8_t reg) { return withBody(0x87, QByteArray(1, char(reg))); }

    ActionAssembler &label(const std::string &name)
    {
        labels_[name] = int(bytes_.size());
        return *this;
    }
    ActionAssembler &jump(const std::string &target) { return branch(0x99, target); }
    ActionAssembler &jumpIf(const std::string &target) { return branch(0x9d, target); }

    // DefineFunction: parameters by name, the body inline.
    ActionAssembler &function(const std::string &name, const std::vector<std::string> &params,
                              ActionAssembler body)
    {
        const QByteArray code = body.bytes();
        QByteArray head;
        appendString(head, name);
        appendU16(head, uint16_t(params.size()));
        for (const std::string &param : params)
            appendString(head, param);
        appendU16(head, uint16_t(code.size()));
        withBody(0x9b, head);
        bytes_.append(code);
        return *this;
    }

    // DefineFunction2: parameters as (register, name), register 0 meaning
    // a local variable.
    ActionAssembler &function2(const std::string &name, uint8_t registers, uint16_t flags,
                               const std::vector<std::pair<uint8_t, std::string>> &params, ActionAssembler body)
    {
        const QByteArray code = body.bytes();
        QByteArray head;
        appendString(head, name);
        appendU16(head, uint16_t(params.size()));
        head.append(char(registers));
        appendU16(head, flags);
        for (const auto &[reg, param] : params) {
            head.append(char(reg));
            appendString(head, param);
        }
        appendU16(head, uint16_t(code.size()));
        withBody(0x8e, head);
        bytes_.append(code);
        return *this;
    }

    // Any action with a body of its own.
    ActionAssembler &withBody(uint8_t code, const QByteArray &body)
    {
        bytes_.append(char(code));
        appendU16(bytes_, uint16_t(body.size()));
        bytes_.append(body);
        return *this;
    }

    ActionAssembler &append(const ActionAssembler &other)
    {
        bytes_.append(other.bytes());
        return *this;
    }

    // The bytes with every jump resolved (an unknown label jumps nowhere).
    QByteArray bytes() const
    {
        QByteArray out = bytes_;
        for (const auto &[at, name] : fixups_) {
            auto found = labels_.find(name);
            const int offset = found == labels_.end() ? 0 : found->second - (at + 2);
            out[at] = char(uint8_t(offset));
            out[at + 1] = char(uint8_t(offset >> 8));
        }
        return out;
    }

private:
    static void appendU16(QByteArray &out, uint16_t v)
    {
        out.append(char(v & 0xff));
        out.append(char(v >> 8));
    }
    static void appendU32(QByteArray &out, uint32_t v)
    {
        appendU16(out, uint16_t(v));
        appendU16(out, uint16_t(v >> 16));
    }
    static void appendString(QByteArray &out, const std::string &s) { out.append(s.c_str(), int(s.size() + 1)); }

    ActionAssembler &branch(uint8_t code, const std::string &target)
    {
        withBody(code, QByteArray(2, '\0'));
        fixups_.emplace_back(int(bytes_.size()) - 2, target);
        return *this;
    }

    QByteArray bytes_;
    std::map<std::string, int> labels_;
    std::vector<std::pair<int, std::string>> fixups_;
};

}  // namespace swftest
