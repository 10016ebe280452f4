// <windows.h> for the platform code. Windows names some of its macros as the
// framework names the application object's members and constants
// (MessageBox, GetProfileString, MB_OK, IDYES, ...): those macros are taken
// back here, and the application's own constants, which have the same values,
// stand in for them. Include this instead of <windows.h>.
#pragma once

#include <windows.h>

#undef MessageBox
#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString
#undef MB_OK
#undef MB_YESNO
#undef MB_ICONSTOP
#undef MB_ICONQUESTION
#undef MB_ICONWARNING
#undef MB_ICONINFORMATION
#undef IDOK
#undef IDYES
#undef IDNO

#include "platform/application.h"
