// Identifiers of the preferences program's dialogs, controls and artwork,
// the numbers of the program's Windows resources, kept so that a control can
// be named by the same id on every platform (tests, bug reports).
#pragma once

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_KARVEL_PREFS_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128; // the program icon
constexpr int IDB_LOGO = 129;      // the logo bitmap

constexpr int IDC_DEF_LWO = 1000;
constexpr int IDC_USE_DEF_LWO = 1001;
constexpr int IDC_VZDY_UPDATE = 1002;
constexpr int IDC_VIEW_INFO = 1003;
constexpr int IDC_ABOUT = 1004;
constexpr int IDC_CREATE_LSCRIPT = 1005;
constexpr int IDC_FLIP_POLY = 1006;
constexpr int IDC_EXPORT_RENAME = 1007;
constexpr int IDC_EXPORT_FLIP_POLY = 1008;
constexpr int IDC_EXPORT_DEF_DXF = 1009;
constexpr int IDC_EXPORT_USE_DEF_DXF = 1010;
constexpr int IDC_EXPORT_VIEW_INFO = 1011;
