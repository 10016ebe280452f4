// CPrefsApp: the program object. One run is one showing of the settings
// dialog over the host's profile; the program ends when the dialog closes,
// whichever button closed it.
#pragma once

#include <wx/app.h>

#include <memory>

class CApplication;

class CPrefsApp : public wxApp {
  public:
    CPrefsApp();
    ~CPrefsApp() override;
    bool OnInit() override;
    int OnRun() override;

  private:
    std::unique_ptr<CApplication> m_pApp;
};

wxDECLARE_APP(CPrefsApp);
