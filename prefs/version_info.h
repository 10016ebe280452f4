// The program's version texts, shown in the About box and by --version.
#pragma once

constexpr const char* kFileVersion = "1.0.0.1";
constexpr const char* kFileDescription = "Karvel_Prefs MFC Application";
constexpr const char* kProductName = "Karvel_Prefs Application";
constexpr const char* kInternalName = "Karvel_Prefs";
constexpr const char* kOriginalFileName = "Karvel_Prefs.EXE";
