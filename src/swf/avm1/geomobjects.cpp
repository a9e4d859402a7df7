#include "swf/avm1/geomobjects.h"

#include <vector>

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/numberformat.h"

namespace swf::avm1 {

namespace {

constexpr int kFlashPackagesVersion = 6;

}  // namespace

ColorTransformState ColorTransformState::From(const ColorTransform &transform)
{
    ColorTransformState state;
    for (int i = 0; i < 4; ++i) {
        state.mult[i] = transform.mult[i];
        state.add[i] = transform.add[i];
    }
    return state;
}

ColorTransform ColorTransformState::toDisplay() const
{
    ColorTransform transform;
    for (int i = 0; i < 4; ++i) {
        transform.mult[i] = float(WrapInt16(mult[i] * 256.0) / 256.0);
        transform.add[i] = float(WrapInt16(add[i]));
    }
    return transform;
}

int WrapInt16(double value) { return int16_t(uint16_t(ToInt32(value))); }

void DefineAccessor(Machine &m, Object *target, const std::string &name, NativeFunction getter,
                    NativeFunction setter, uint16_t flags)
{
    Property &property = target->putOwn(m.key(name), name, Value(), flags);
    property.getter = m.newNative(getter);
    property.setter = setter ? m.newNative(setter) : nullptr;
}

std::string DescribeProperties(Machine &m, Object *object,
                               std::initializer_list<std::pair<const char *, const char *>> labelled)
{
    std::string text = "(";
    for (const auto &[label, name] : labelled) {
        if (text.size() > 1)
            text += ", ";
        text += label;
        text += '=';
        text += m.toString(m.get(object, name));
    }
    return text + ")";
}

FunctionObject *DefinePackageClass(Machine &m, Object *package, const std::string &name,
                                   const std::string &fullName, Object *prototype, NativeFunction construct)
{
    // Called plainly (a subclass's super()) it sets up `this` as `new` does.
    FunctionObject *constructor = m.newNative(construct, construct);
    m.defineValue(constructor, "prototype", Value(prototype), kDontEnum | kDontDelete);
    m.defineValue(prototype, "constructor", Value(constructor), kDontEnum | kDontDelete);
    m.defineValue(package, name, Value(constructor));
    m.builtinPrototypes[fullName] = prototype;
    return constructor;
}

Object *FlashPackage(Machine &m, const std::string &name)
{
    Object *flash = m.get(m.global, "flash").object();
    if (!flash) {
        flash = m.newObject();
        m.defineValue(m.global, "flash", Value(flash));
    }
    Object *package = m.get(flash, name).object();
    if (!package) {
        package = m.newObject();
        m.defineValue(flash, name, Value(package));
    }
    return package;
}

// SWF 5 movies never have the flash.* packages, whichever class made them.
// Movies of SWF 6 and 7 have them hidden: a movie that reveals them
// (ASSetPropFlags) makes their objects and calls their methods, but their
// properties stay SWF 8's.
void FinishFlashPackages(Machine &m)
{
    const std::string flashKey = m.key("flash");
    if (m.version() < kFlashPackagesVersion) {
        m.global->removeOwn(flashKey);
        return;
    }
    if (Property *flash = m.global->findOwn(flashKey))
        flash->flags |= kVersion8Up;
    for (const auto &[name, prototype] : m.builtinPrototypes) {
        if (name.rfind("flash.", 0) != 0)
            continue;
        std::vector<std::string> accessors;
        for (const Property *p : prototype->ownNewestFirst())
            if (p->isAccessor())
                accessors.push_back(m.key(p->name));
        for (const std::string &key : accessors)
            prototype->findOwn(key)->flags |= kVersion8Up;
    }
}

void InstallGeomPackage(Machine &m)
{
    Object *geom = FlashPackage(m, "geom");
    InstallColorTransformClass(m, geom);
    InstallMatrixClass(m, geom);
    InstallPointClass(m, geom);
    InstallRectangleClass(m, geom);
    InstallTransformClass(m, geom);
}

}  // namespace swf::avm1
