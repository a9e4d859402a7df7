// flash.display.BitmapData (movies of version 8 and later): the class, its
// constructor with the player's size limits, and the properties that read
// -1 once the pixels are disposed.

#include "swf/avm1/bitmapdataargs.h"
#include "swf/avm1/bitmapdatamethods.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

// The construction fails, and `new` gives undefined, without a valid size.
Value Construct(Machine &m, const Value &self, const Args &args)
{
    Object *instance = self.object();
    if (!instance || args.size() < 2)
        return Value::null();
    const double width = m.toNumber(args[0]), height = m.toNumber(args[1]);
    if (!BitmapSizeAllowed(m.version(), width, height))
        return Value::null();
    const bool transparent = args.size() > 2 ? m.toBoolean(args[2]) : true;
    const uint32_t fill = args.size() > 3 ? ColorArg(m, args[3]) : 0xFFFFFFFFu;
    BitmapDataObject *made = NewBitmapData(m, instance->proto(), int(width), int(height), transparent, fill);
    for (const char *name : {"__constructor__", "constructor"})
        if (const Property *p = instance->findOwn(m.key(name)))
            made->putOwn(m.key(name), p->name, p->value, p->flags);
    return Value(made);
}

Value CallPlainly(Machine &, const Value &, const Args &) { return {}; }

template <class F> Value WithBitmap(const Value &self, F &&f)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    return bitmap ? f(bitmap->surface()) : NotABitmap();
}

Value WidthGetter(Machine &, const Value &self, const Args &)
{
    return WithBitmap(self, [](BitmapSurface &s) { return Value(double(s.width())); });
}

Value HeightGetter(Machine &, const Value &self, const Args &)
{
    return WithBitmap(self, [](BitmapSurface &s) { return Value(double(s.height())); });
}

Value TransparentGetter(Machine &, const Value &self, const Args &)
{
    return WithBitmap(self, [](BitmapSurface &s) { return Value(s.transparent); });
}

Value RectangleGetter(Machine &m, const Value &self, const Args &)
{
    return WithBitmap(self, [&](BitmapSurface &s) { return MakeRectangle(m, SurfaceRect(s)); });
}

Value Dispose(Machine &m, const Value &self, const Args &)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap)
        return NotABitmap();
    bitmap->dispose(m);
    return {};
}

Value Clone(Machine &m, const Value &self, const Args &)
{
    BitmapDataObject *bitmap = LiveBitmapData(self);
    if (!bitmap)
        return NotABitmap();
    BitmapSurface copy;
    copy.transparent = bitmap->surface().transparent;
    copy.pixels = bitmap->surface().pixels.copy();
    return Value(WrapBitmapData(m, bitmap->proto(), std::move(copy)));
}

Object *Package(Machine &m, Object *parent, const char *name)
{
    if (Object *existing = m.get(parent, name).object())
        return existing;
    Object *made = m.newObject();
    m.set(parent, name, Value(made));
    return made;
}

void DefineGetter(Machine &m, Object *target, const char *name, NativeFunction getter)
{
    Property &property = target->putOwn(m.key(name), name, Value());
    property.getter = m.newNative(getter);
}

}  // namespace

void InstallBitmapDataClass(Machine &m)
{
    if (m.version() < 8)
        return;
    Object *display = Package(m, Package(m, m.global, "flash"), "display");
    Object *proto = m.newObject();
    FunctionObject *constructor = m.newNative(CallPlainly, Construct);
    m.defineValue(constructor, "prototype", Value(proto), kDontEnum | kDontDelete);
    m.defineValue(proto, "constructor", Value(constructor));
    m.set(display, "BitmapData", Value(constructor));
    DefineGetter(m, proto, "width", WidthGetter);
    DefineGetter(m, proto, "height", HeightGetter);
    DefineGetter(m, proto, "transparent", TransparentGetter);
    DefineGetter(m, proto, "rectangle", RectangleGetter);
    m.defineMethod(proto, "dispose", Dispose);
    m.defineMethod(proto, "clone", Clone);
    const char *const channels[] = {"RED_CHANNEL", "GREEN_CHANNEL", "BLUE_CHANNEL", "ALPHA_CHANNEL"};
    for (int i = 0; i < 4; ++i)
        m.defineValue(constructor, channels[i], Value(double(1 << i)), 0);
    InstallPixelMethods(m, proto);
    InstallCopyMethods(m, proto);
    InstallNoiseMethods(m, proto);
    InstallDrawMethods(m, proto, constructor);
    InstallFilterMethods(m, proto);
    InstallPerlinNoise(m, proto);
}

}  // namespace swf::avm1
