// Where the host lives, and where its plug-ins and the exchange file lie.
#pragma once

#include <string>

class CApplication;

// The host's folder: profile value "ApplicationPath" of section "Paths",
// without a trailing "/"; "" when missing.
std::string GetApplicationPath(CApplication& app);

// The plug-in folder of a host folder, with a trailing "/": hostFolder + "/PlugIns/".
// File names on Linux are case-sensitive, so when hostFolder already has a
// sub-folder whose name equals "plugins" without regard to case ("Plugins",
// "PLUGINS"), that one is used, and the plug-ins and the preferences program
// meet in one folder. An empty hostFolder gives the relative "PlugIns/".
std::string GetPluginFolder(const std::string& hostFolder);
// The plug-in folder of the host folder app's profile names:
// GetPluginFolder(GetApplicationPath(app)).
std::string GetHostPluginFolder(CApplication& app);

// The profile file: $QUARRION_PROFILE when set, else
// ${XDG_CONFIG_HOME:-$HOME/.config}/Orvane/Quarrion.ini.
std::string DefaultProfilePath();
