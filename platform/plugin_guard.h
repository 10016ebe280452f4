// The boundary of a plug-in's ExecutePlugin: no exception may leave it, since
// the host that calls it knows nothing of our exceptions.
//
//   QR_PLUGIN_EXPORT int ExecutePlugin(void) {
//       return RunGuarded(*AfxGetApp(), 1, [](CApplication& app) { return Run(app); });
//   }
//
// RunGuarded calls body(app) and returns what it returns. When body throws,
// everything it built has already been released by unwinding (bodies own
// their objects through RAII); the error is shown in one message box with the
// stop icon, and failureResult is returned. The text is the exception's
// what() for a std::exception, so exceptions meant to reach the user carry a
// complete sentence; std::bad_alloc and unknown exceptions get fixed texts.
// Bodies that want a more specific text for an expected failure (a damaged
// exchange file) catch it themselves; RunGuarded is the last resort.
#pragma once

#include "platform/application.h"

#include <functional>

// An exported symbol of a module built with hidden visibility.
#ifdef _WIN32
// A DLL exports what it marks; the C calling convention keeps the name
// undecorated ("ExecutePlugin"), as the host looks it up.
#define QR_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define QR_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

int RunGuarded(CApplication& app, int failureResult,
               const std::function<int(CApplication&)>& body) noexcept;

// Shows text in a stop message box; when even that fails, writes it to
// standard error. Never throws.
void ShowErrorNoThrow(CApplication& app, const std::string& text) noexcept;
