// CPrefsDlg on Windows: dialog 102 of the program's resources, "Brask Plugins
// Prefs". The same settings model and LScript generator as the Linux dialog
// (prefs/prefs_model.h, prefs/lscript_generator.h); this class only connects
// them to the template's controls. Save (also Enter in a path field) writes
// the settings the user changed and closes; Cancel, Escape and the close box write
// nothing. The system menu gets an About entry, and a minimised dialog paints
// its icon itself.
#pragma once

#include "platform/win32/windows_api.h"
#include "prefs/prefs_model.h"

#include <string>

class CPrefsDlg {
  public:
    // app serves the profile (not owned; must outlive the dialog). Loads the
    // program icon (128).
    explicit CPrefsDlg(CApplication& app);

    // Shows the dialog without a parent until it closes; IDOK after Save.
    INT_PTR DoModal();

  private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    void OnOK();
    void OnCommand(int id, int notification);
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    void OnAbout();
    void OnCreateLScript();
    std::string FieldText(int id) const;

    CPrefsModel m_model;
    HWND m_hWnd = nullptr;
    HICON m_hIcon = nullptr;
};
