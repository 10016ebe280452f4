// CAboutDlg: dialog 100, "About Brask Import": the logo and the version texts.
#pragma once

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
  public:
    explicit CAboutDlg(wxWindow* parent);
};
