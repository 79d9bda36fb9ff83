#pragma once
// Toolbar images drawn from text glyphs: one 16 x 16 cell per glyph, magenta background.
#include <windows.h>

#include <initializer_list>

#include "ui/Handles.h"

namespace viewers {

ui::UniqueBitmap MakeGlyphStrip(std::initializer_list<const char*> glyphs);

}  // namespace viewers
