#pragma once
// What other built-ins read of a Date object.

namespace swf::avm1 {

class Object;

// The time a Date object holds (milliseconds since 1970, UTC); false when
// `object` is no Date.
bool DateTimeOf(const Object *object, double &time);

}  // namespace swf::avm1
