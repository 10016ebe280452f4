// The process's current application object: the one the host installed, or a default one
// (the profile file, dialogs on the terminal) for a plug-in loaded by a host that installs
// none.
#include "platform/application.h"
#include "platform/console_dialogs.h"
#include "platform/host_folder.h"
#include "platform/ini_profile.h"

#include <iostream>
#include <memory>

namespace {

CApplication* g_pCurrentApp = nullptr;

CApplication& DefaultApp() {
    static CApplication app(std::make_unique<CIniProfile>(DefaultProfilePath()),
                            MakeConsoleDialogs(), &std::cout);
    return app;
}

} // namespace

CApplication* AfxGetApp() {
    if (g_pCurrentApp != nullptr)
        return g_pCurrentApp;
    return &DefaultApp();
}

void AfxSetApp(CApplication* app) {
    g_pCurrentApp = app;
}
