// Karvel_Prefs.exe: the settings dialog, shown once; the program ends when it
// closes, whichever button closed it. The application object is the
// platform's default one, so the dialog reads and writes the host's registry
// profile (HKEY_CURRENT_USER\Software\Orvane\Quarrion), where the plug-ins
// read their settings at their next run.
#include "platform/application.h"
#include "prefs/win32/prefs_dlg.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    CPrefsDlg dlg(*AfxGetApp());
    dlg.DoModal();
    return 0;
}
