// The application object of a plug-in DLL on Windows. Each module links the
// platform code statically, so it has its own default object, which serves
// the host's registry profile and the system's dialogs, or the scripted
// answers when QUARRION_ANSWERS names a file (platform/win32/answers_file.h).
#include "platform/application.h"
#include "platform/console_dialogs.h"
#include "platform/win32/answers_file.h"
#include "platform/win32/registry_profile.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/windows_api.h"

#include <iostream>
#include <memory>

namespace {

CApplication* g_pCurrentApp = nullptr;

std::string AnswersFilePath() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableA(kAnswersVariable, buffer, sizeof buffer);
    return length == 0 || length > MAX_PATH ? std::string() : std::string(buffer, length);
}

std::unique_ptr<CApplication> MakeDefaultApp() {
    auto profile = std::make_unique<CRegistryProfile>("Orvane", "Quarrion");
    const std::string answers = AnswersFilePath();
    if (answers.empty())
        return std::make_unique<CApplication>(std::move(profile), std::make_unique<CWin32Dialogs>(),
                                              nullptr);
    std::unique_ptr<CUserDialogs> dialogs;
    if (const CStatus loaded = LoadAnswersFile(answers, dialogs); !loaded) {
        // A test that cannot give its answers must not hang on a real dialog.
        std::cerr << kAnswersVariable << ": " << loaded.GetReason()
                  << "; every question is answered No\n";
        dialogs = std::make_unique<CNonInteractiveDialogs>(std::cerr);
    }
    return std::make_unique<CApplication>(std::move(profile), std::move(dialogs), &std::cout);
}

CApplication& DefaultApp() {
    static const std::unique_ptr<CApplication> app = MakeDefaultApp();
    return *app;
}

} // namespace

CApplication* AfxGetApp() {
    if (g_pCurrentApp != nullptr)
        return g_pCurrentApp;
    return &DefaultApp();
}

void AfxSetApp(CApplication* app) {
    g_pCurrentApp = app;
}
