// The About box on Windows: dialog 100 of the program's resources, "About
// Brask Import", with the logo and the version texts; OK, Escape and the
// close box close it.
#pragma once

#include "platform/win32/windows_api.h"

// Shows the box modally, owned by owner.
void ShowAboutBox(HWND owner);
