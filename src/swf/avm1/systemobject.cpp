// System: what the player says of itself (System.capabilities), the
// security calls a movie makes (which change nothing here: scripts never
// reach the network) and ExternalInterface, which has no page to talk to.

#include <string>

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

Value Nothing(Machine &, const Value &, const Args &) { return {}; }
Value False(Machine &, const Value &, const Args &) { return Value(false); }
Value Null(Machine &, const Value &, const Args &) { return Value::null(); }

// `path` inside _global ("flash.external"), made where missing.
Object *Package(Machine &m, std::initializer_list<const char *> path)
{
    Object *at = m.global;
    for (const char *name : path) {
        Object *next = m.get(at, name).object();
        if (!next) {
            next = m.newObject();
            m.defineValue(at, name, Value(next));
        }
        at = next;
    }
    return at;
}

void InstallCapabilities(Machine &m, Object *system)
{
    Object *capabilities = m.newObject();
    m.defineValue(system, "capabilities", Value(capabilities));
    const std::pair<const char *, Value> values[] = {
        {"avHardwareDisable", Value(true)},   {"hasAccessibility", Value(false)},
        {"hasAudio", Value(true)},            {"hasAudioEncoder", Value(false)},
        {"hasEmbeddedVideo", Value(true)},    {"hasMP3", Value(true)},
        {"hasPrinting", Value(false)},        {"hasScreenBroadcast", Value(false)},
        {"hasScreenPlayback", Value(false)},  {"hasStreamingAudio", Value(true)},
        {"hasStreamingVideo", Value(false)},  {"hasVideoEncoder", Value(false)},
        {"isDebugger", Value(false)},         {"language", Value("en")},
        {"localFileReadDisable", Value(false)}, {"manufacturer", Value("Adobe Linux")},
        {"os", Value("Linux")},               {"pixelAspectRatio", Value(1.0)},
        {"playerType", Value("StandAlone")},  {"screenColor", Value("color")},
        {"screenDPI", Value(72.0)},           {"screenResolutionX", Value(1024.0)},
        {"screenResolutionY", Value(768.0)},  {"version", Value("LNX 8,0,0,0")},
    };
    for (const auto &[name, value] : values)
        m.defineValue(capabilities, name, value, kDontDelete | kReadOnly);
}

}  // namespace

void InstallSystemObject(Machine &m)
{
    Object *system = m.newObject();
    m.defineValue(m.global, "System", Value(system));
    InstallCapabilities(m, system);
    Object *security = m.newObject();
    m.defineValue(system, "security", Value(security));
    for (const char *call : {"allowDomain", "allowInsecureDomain", "loadPolicyFile"})
        m.defineMethod(security, call, Nothing);
    m.defineMethod(system, "setClipboard", False);
    m.defineMethod(system, "showSettings", Nothing);
    m.defineValue(system, "useCodepage", Value(false), 0);
    m.defineValue(system, "exactSettings", Value(true), 0);

    Object *external = m.newObject();
    m.defineValue(Package(m, {"flash", "external"}), "ExternalInterface", Value(external));
    m.defineValue(external, "available", Value(false), kDontDelete | kReadOnly);
    m.defineMethod(external, "addCallback", False);
    m.defineMethod(external, "call", Null);
}

}  // namespace swf::avm1
