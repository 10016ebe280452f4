// CPrefsDlg: dialog 102, "Brask Plugins Prefs": shows the ten plug-in
// settings as the plug-ins will use them, saves what the user changed on
// "Save" (the default button, also Enter in a path field) and ends; Cancel, Escape and the close
// box write nothing. It also writes the LScript ("Create LScript") and opens the About box. What it
// does lives in CPrefsModel and the LScript generator; this class only draws.
#pragma once

#include "prefs/prefs_model.h"

#include <wx/dialog.h>
#include <wx/iconbndl.h>

class CApplication;
class wxCommandEvent;
class wxTextCtrl;

class CPrefsDlg : public wxDialog {
  public:
    // app serves the profile (not owned; must outlive the dialog). The
    // settings are read here, before the dialog is shown.
    explicit CPrefsDlg(CApplication& app);

  private:
    void CreateControls();
    void OnOK(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnCreateLScript(wxCommandEvent& event);
    void OnCheck(wxCommandEvent& event);

    CPrefsModel m_model;
    wxIconBundle m_icons;
    wxTextCtrl* m_pDefLwo = nullptr;
    wxTextCtrl* m_pExportDefDxf = nullptr;
};
