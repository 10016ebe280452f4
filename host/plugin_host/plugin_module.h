// Finding and loading plug-in modules for `run` and `version`.
#pragma once

#include "platform/status.h"

#include <string>
#include <vector>

// The folder qrhost itself lies in (from /proc/self/exe), with a trailing "/";
// "" when it cannot be found.
std::string GetExecutableFolder();

// The module file PLUGIN names. A PLUGIN containing "/" is a path and is taken
// as it is. A bare name ("Karvel") is looked for as NAME.so (or NAME when it
// already ends in ".so") in pluginFolder, then beside qrhost, then in the
// plug-in folder of an installation (lib/quarrion/PlugIns beside qrhost's
// bin/). Returns "" when
// no file is found; searched then lists the places looked at.
std::string FindPluginModule(const std::string& plugin, const std::string& pluginFolder,
                             std::vector<std::string>& searched);

// Loads the module into module (never unloaded: leak reports keep their
// stacks, and the process ends soon after); a failure gives the loader's reason.
CStatus LoadPluginModule(const std::string& path, void*& module);

// FindPluginModule, then LoadPluginModule. On failure it says why on standard
// error, as "qrhost COMMAND: ...", and returns nullptr; modulePath receives the
// file found.
void* OpenPluginModule(const char* command, const std::string& plugin,
                       const std::string& pluginFolder, std::string& modulePath);

// The address of an exported symbol, or nullptr.
void* FindPluginSymbol(void* module, const char* name);

// Opens the module PLUGIN names (OpenPluginModule) and calls its
// ExecutePlugin with the current application object, leaving its answer in
// result. false, with the reason on standard error, when the module cannot be
// found or loaded or exports no ExecutePlugin.
bool CallExecutePlugin(const char* command, const std::string& plugin,
                       const std::string& pluginFolder, int& result);
