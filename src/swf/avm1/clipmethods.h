#pragma once
// MovieClip methods kept apart from the class's core: drawing into the
// clip, the clip's geometry (bounds, hit tests, coordinate spaces, masks
// and dragging) and how it is composed (background, blend mode). InstallMovieClipClass calls these after it made
// the prototype.

namespace swf::avm1 {

class Machine;

void InstallClipDrawingMethods(Machine &machine);
void InstallClipGeometryMethods(Machine &machine);
void InstallClipDisplayProperties(Machine &machine);

}  // namespace swf::avm1
