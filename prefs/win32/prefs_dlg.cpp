#include "prefs/win32/prefs_dlg.h"

#include "prefs/check_boxes.h"
#include "prefs/lscript_generator.h"
#include "prefs/resource_ids.h"
#include "prefs/version_info.h"
#include "prefs/win32/about_dlg.h"

#include <vector>

namespace {

// The system-menu command of the About entry; system commands use the low
// four bits themselves, so the id is compared with them masked off.
constexpr UINT IDM_ABOUTBOX = 0x0010;
constexpr UINT IDS_ABOUTBOX = 101;

} // namespace

CPrefsDlg::CPrefsDlg(CApplication& app)
    : m_model(app), m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {
}

INT_PTR CPrefsDlg::DoModal() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_KARVEL_PREFS_DIALOG),
                           nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CPrefsDlg::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dlg = reinterpret_cast<CPrefsDlg*>(lParam);
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        dlg->m_hWnd = hWnd;
        return dlg->OnInitDialog();
    }
    auto* dlg = reinterpret_cast<CPrefsDlg*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    // Messages that come before WM_INITDIALOG get the default handling.
    return dlg == nullptr ? FALSE : dlg->OnMessage(message, wParam, lParam);
}

INT_PTR CPrefsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        // One of the messages whose result a dialog procedure returns itself.
        return reinterpret_cast<INT_PTR>(m_hIcon);
    default:
        return FALSE;
    }
}

BOOL CPrefsDlg::OnInitDialog() {
    if (HMENU menu = GetSystemMenu(m_hWnd, FALSE); menu != nullptr) {
        char text[256] = {};
        if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text) > 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, text);
        }
    }
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_model.Load();
    SetDlgItemTextA(m_hWnd, IDC_DEF_LWO, m_model.GetDefLwo().c_str());
    SetDlgItemTextA(m_hWnd, IDC_EXPORT_DEF_DXF, m_model.GetExportDefDxf().c_str());
    for (const CCheckBox& box : kCheckBoxes)
        CheckDlgButton(m_hWnd, box.m_nId,
                       m_model.IsChecked(box.m_flag) ? BST_CHECKED : BST_UNCHECKED);
    // TRUE: the dialog manager gives the focus to the first tab stop, Save.
    return TRUE;
}

void CPrefsDlg::OnCommand(int id, int notification) {
    switch (id) {
    case IDOK: // Save, and Enter anywhere but on another button
        OnOK();
        return;
    case IDCANCEL: // Cancel, Escape and the close box: nothing is written
        EndDialog(m_hWnd, IDCANCEL);
        return;
    case IDC_ABOUT:
        OnAbout();
        return;
    case IDC_CREATE_LSCRIPT:
        OnCreateLScript();
        return;
    default:
        break;
    }
    // A check box the user clicked holds the user's choice from now on (an
    // untouched one keeps whatever number was read).
    for (const CCheckBox& box : kCheckBoxes)
        if (box.m_nId == id && notification == BN_CLICKED)
            m_model.SetChecked(box.m_flag, IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED);
}

void CPrefsDlg::OnOK() {
    m_model.SetDefLwo(FieldText(IDC_DEF_LWO));
    m_model.SetExportDefDxf(FieldText(IDC_EXPORT_DEF_DXF));
    m_model.Save();
    EndDialog(m_hWnd, IDOK);
}

bool CPrefsDlg::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    OnAbout();
    return true;
}

bool CPrefsDlg::OnPaint() {
    if (!IsIconic(m_hWnd))
        return false;
    // Minimised: the icon, centred in the client area.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return true;
}

void CPrefsDlg::OnAbout() {
    ShowAboutBox(m_hWnd);
}

void CPrefsDlg::OnCreateLScript() {
    // The path as typed now, saved or not; the settings stay as they are.
    const CStatus written = WriteLScript(m_model.GetPluginDir(), FieldText(IDC_DEF_LWO));
    if (written) {
        MessageBoxA(m_hWnd, kLScriptCreatedText, kLScriptCreatedCaption,
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Like the framework's own file-error box: the dialog stays open and usable.
    MessageBoxA(m_hWnd, DescribeLScriptFailure(m_model.GetPluginDir(), written).c_str(),
                kInternalName, MB_OK | MB_ICONSTOP);
}

std::string CPrefsDlg::FieldText(int id) const {
    HWND field = GetDlgItem(m_hWnd, id);
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    const int length = GetWindowTextA(field, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}
