// SetupBtn's face: a glyph above the caption, drawn for an owner-drawn push button.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Draws the button with the first image of glyphs centred above the caption. The
// default button gets the dark outer frame that marks it for the Enter key.
void DrawGlyphButton(const DRAWITEMSTRUCT& item, HIMAGELIST glyphs, int glyphSize, bool isDefault);
