#include "prefs/prefs_dlg.h"

#include "prefs/about_dlg.h"
#include "prefs/artwork.h"
#include "prefs/check_boxes.h"
#include "prefs/dialog_units.h"
#include "prefs/lscript_generator.h"
#include "prefs/resource_ids.h"
#include "prefs/version_info.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// Profile texts are bytes, normally UTF-8. One that is not (written by some
// other means) is shown byte for byte as Latin-1 rather than as nothing.
wxString ShownText(const std::string& bytes) {
    wxString text = wxString::FromUTF8(bytes);
    if (text.empty() && !bytes.empty()) {
        text = wxString::From8BitData(bytes.data(), bytes.size());
    }
    return text;
}

// A path field the user has not edited gives back the very bytes it was
// filled from, so a value that is not valid UTF-8 survives a Save unchanged.
std::string FieldBytes(const wxTextCtrl* field, const std::string& loaded) {
    return field->IsModified() ? field->GetValue().utf8_string() : loaded;
}

} // namespace

CPrefsDlg::CPrefsDlg(CApplication& app)
    : wxDialog(nullptr, IDD_KARVEL_PREFS_DIALOG, "Brask Plugins Prefs", wxDefaultPosition,
               wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_model(app) {
    SetFont(GetDialogFont());
    m_icons = MakeProgramIcons();
    SetIcons(m_icons);

    // A window manager shows the icon of a minimised window itself, so there
    // is no minimised-state painting of our own. GTK gives a program no way
    // to add entries to the window's system (title bar) menu, so the About
    // box opens from the "About" button only.

    m_model.Load();
    CreateControls();

    Bind(wxEVT_BUTTON, &CPrefsDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_TEXT_ENTER, &CPrefsDlg::OnOK, this, IDC_DEF_LWO);
    Bind(wxEVT_TEXT_ENTER, &CPrefsDlg::OnOK, this, IDC_EXPORT_DEF_DXF);
    Bind(wxEVT_BUTTON, &CPrefsDlg::OnAbout, this, IDC_ABOUT);
    Bind(wxEVT_BUTTON, &CPrefsDlg::OnCreateLScript, this, IDC_CREATE_LSCRIPT);
    Bind(wxEVT_CHECKBOX, &CPrefsDlg::OnCheck, this, IDC_USE_DEF_LWO, IDC_EXPORT_VIEW_INFO);
    // Cancel, Escape and the close box keep wxDialog's own handling: the
    // dialog ends with wxID_CANCEL and nothing is written.
}

void CPrefsDlg::CreateControls() {
    using Fit = CTemplateLayout::Fit;
    CTemplateLayout layout(this, 258, 258);
    // Created in the order of the dialog template, which is the tab order.
    auto button = [&](int id, const char* text, const DluRect& r) {
        return layout.Add(new wxButton(this, id, text), r, Fit::Button);
    };
    auto label = [&](const char* text, const DluRect& r) {
        layout.Add(new wxStaticText(this, wxID_ANY, text), r, Fit::Text);
    };
    auto edit = [&](int id, const std::string& value, const DluRect& r) {
        // Enter in a path field saves, as the default button would.
        return layout.Add(new wxTextCtrl(this, id, ShownText(value), wxDefaultPosition,
                                         wxDefaultSize, wxTE_PROCESS_ENTER),
                          r, Fit::Box);
    };
    auto check = [&](int id, const char* text, const DluRect& r) {
        auto* box = layout.Add(new wxCheckBox(this, id, text), r, Fit::Control);
        for (const CCheckBox& entry : kCheckBoxes) {
            if (entry.m_nId == id) {
                box->SetValue(m_model.IsChecked(entry.m_flag));
            }
        }
    };
    auto group = [&](const char* text, const DluRect& r) {
        layout.Add(new wxStaticBox(this, wxID_ANY, text), r, Fit::Box);
    };

    wxButton* save = button(wxID_OK, "Save", {7, 231, 100, 14});
    save->SetDefault();
    button(wxID_CANCEL, "Cancel", {113, 231, 50, 14});
    label("Path to LWO/DXF object", {12, 22, 63, 8});
    m_pDefLwo = edit(IDC_DEF_LWO, m_model.GetDefLwo(), {79, 19, 163, 13});
    check(IDC_USE_DEF_LWO, "Don't show file dialog (use LWO/DXF object mentioned above)",
          {14, 37, 224, 17});
    check(IDC_VZDY_UPDATE, "Do always part update (Don't ask update/add)", {14, 52, 200, 15});
    check(IDC_VIEW_INFO, "Show info after import", {14, 70, 104, 10});
    button(IDC_ABOUT, "About", {113, 213, 50, 14});
    button(IDC_CREATE_LSCRIPT, "Create LScript", {7, 212, 100, 14});
    check(IDC_FLIP_POLY, "Flip polygons", {14, 85, 104, 10});
    group("Import to Quarrion", {7, 7, 244, 96});
    group("Export from Quarrion", {7, 108, 244, 95});
    check(IDC_EXPORT_RENAME, "Change part names (usually necessary)", {14, 154, 226, 14});
    check(IDC_EXPORT_FLIP_POLY, "Flip polygons", {14, 186, 149, 10});
    // A bitmap picture control takes its bitmap's own size at its position.
    layout.Add(new wxStaticBitmap(this, wxID_ANY, MakeLogoBitmap()), {169, 207, 82, 44},
               Fit::Natural);
    label("Path to default DXF", {14, 123, 63, 8});
    m_pExportDefDxf = edit(IDC_EXPORT_DEF_DXF, m_model.GetExportDefDxf(), {82, 120, 163, 13});
    check(IDC_EXPORT_USE_DEF_DXF, "Don't show file dialog (use DXF object mentioned above)",
          {14, 137, 224, 17});
    check(IDC_EXPORT_VIEW_INFO, "Show info after export", {14, 171, 104, 10});
    layout.Finish();

    // The first tab stop has the focus when the dialog opens.
    save->SetFocus();
}

void CPrefsDlg::OnOK(wxCommandEvent& /*event*/) {
    m_model.SetDefLwo(FieldBytes(m_pDefLwo, m_model.GetDefLwo()));
    m_model.SetExportDefDxf(FieldBytes(m_pExportDefDxf, m_model.GetExportDefDxf()));
    m_model.Save();
    EndModal(wxID_OK);
}

void CPrefsDlg::OnCheck(wxCommandEvent& event) {
    for (const CCheckBox& entry : kCheckBoxes) {
        if (entry.m_nId == event.GetId()) {
            m_model.SetChecked(entry.m_flag, event.IsChecked());
        }
    }
}

void CPrefsDlg::OnAbout(wxCommandEvent& /*event*/) {
    CAboutDlg about(this);
    about.ShowModal();
}

void CPrefsDlg::OnCreateLScript(wxCommandEvent& /*event*/) {
    // The path as typed now, saved or not; the settings stay as they are.
    const CStatus written =
        WriteLScript(m_model.GetPluginDir(), FieldBytes(m_pDefLwo, m_model.GetDefLwo()));
    if (written) {
        wxMessageBox(kLScriptCreatedText, kLScriptCreatedCaption, wxOK | wxICON_INFORMATION, this);
        return;
    }
    // Like the framework's own file-error box: captioned with the program's
    // name, stop icon; the dialog stays open and usable.
    wxMessageBox(wxString::FromUTF8(DescribeLScriptFailure(m_model.GetPluginDir(), written)),
                 kInternalName, wxOK | wxICON_ERROR, this);
}
