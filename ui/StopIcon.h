// The stop icon of the error box, drawn in code: a red disc with a darker
// rim and a soft shadow, crossed by a white X.
#pragma once

#include "base/Types.h"

namespace automenu {

// The icon `size` pixels square (32 for a dialog at 96 pixels per inch),
// antialiased, with alpha (premultiplied, as PixelImage holds it).
PixelImage MakeStopIcon(int size);

}  // namespace automenu
