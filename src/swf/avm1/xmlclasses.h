#pragma once
// XMLNode's prototype, which XML's inherits from.

namespace swf::avm1 {

class Machine;
class Object;

Object *InstallXmlNodePrototype(Machine &machine);

}  // namespace swf::avm1
