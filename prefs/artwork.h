// The program's own artwork, drawn in code so that no image file has to be
// found at run time: the logo (bitmap 129, 123 x 72 pixels) shown in both
// dialogs, and the program icon (icon 128) at 32 x 32 and 16 x 16 pixels.
// Both keep to the 16 colours of the classic VGA palette. Call only once the
// GUI toolkit is initialised.
#pragma once

#include "prefs/block_shape.h"

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

wxBitmap MakeLogoBitmap();
wxIconBundle MakeProgramIcons();
