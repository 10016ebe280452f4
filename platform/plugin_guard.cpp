#include "platform/plugin_guard.h"

#include <cstdio>
#include <exception>
#include <new>

void ShowErrorNoThrow(CApplication& app, const std::string& text) noexcept {
    try {
        app.MessageBox(text, MB_OK | MB_ICONSTOP);
        return;
    } catch (...) {
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

int RunGuarded(CApplication& app, int failureResult,
               const std::function<int(CApplication&)>& body) noexcept {
    try {
        return body(app);
    } catch (const std::bad_alloc&) {
        ShowErrorNoThrow(app, "There was not enough memory to finish.\nNothing was changed.");
    } catch (const std::exception& error) {
        ShowErrorNoThrow(app, error.what());
    } catch (...) {
        ShowErrorNoThrow(app, "An unexpected error stopped the plug-in.\nNothing was changed.");
    }
    return failureResult;
}
