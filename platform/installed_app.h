// CInstalledApp: makes an application object the process's current one (the
// one a plug-in's AfxGetApp returns) for a scope, however the scope ends.
#pragma once

#include "platform/application.h"

class CInstalledApp {
  public:
    explicit CInstalledApp(CApplication& app) { AfxSetApp(&app); }
    ~CInstalledApp() { AfxSetApp(nullptr); }
    CInstalledApp(const CInstalledApp&) = delete;
    CInstalledApp& operator=(const CInstalledApp&) = delete;
};
