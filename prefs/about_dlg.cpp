#include "prefs/about_dlg.h"

#include "prefs/artwork.h"
#include "prefs/dialog_units.h"
#include "prefs/resource_ids.h"
#include "prefs/version_info.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <cmath>

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, IDD_ABOUTBOX, "About Brask Import", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
    using Fit = CTemplateLayout::Fit;
    SetFont(GetDialogFont());
    CTemplateLayout layout(this, 278, 66);

    // The logo keeps its pixel size, so the texts begin a margin to the right
    // of wherever it ends in this font's dialog units.
    layout.Add(new wxStaticBitmap(this, wxID_ANY, MakeLogoBitmap()), {7, 7, 0, 0}, Fit::Natural);
    const double pixelsPerDlu = ConvertDialogToPixels(wxSize(100, 0)).x / 100.0;
    const int textX = 7 + static_cast<int>(std::ceil(kLogoWidth / pixelsPerDlu)) + 8;

    const wxString lines[] = {
        wxString(kProductName) + ", Version " + kFileVersion,
        kFileDescription,
        wxString(kInternalName) + " (" + kOriginalFileName + ")",
    };
    int y = 10;
    for (const wxString& line : lines) {
        layout.Add(new wxStaticText(this, wxID_ANY, line), {textX, y, 214 - textX, 8}, Fit::Text);
        y += 14;
    }

    auto* ok = layout.Add(new wxButton(this, wxID_OK, "OK"), {221, 7, 50, 14}, Fit::Button);
    ok->SetDefault();
    layout.Finish();
    ok->SetFocus();
}
