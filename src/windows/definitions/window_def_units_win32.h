// The unit scale of a window font on this screen.
#pragma once

#include <windows.h>

#include "windows/definitions/window_def_units.h"

namespace dove::wdef {

// Base units of `font` (bx from the 52 letters, by the text-metric height)
// and the screen's logical pixels per inch.
UnitScale MeasureUnitScale(HFONT font);

// The font a definition asks for, sized for the screen; null for an absent
// font block (the caller uses its default). Faces and sizes that the block
// leaves at 0 come from `parent`. The caller deletes the font.
HFONT CreateDefinitionFont(const Font& font, const Font& parent);

}  // namespace dove::wdef
