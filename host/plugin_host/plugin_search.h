// Where a plug-in module is looked for, the same way by the Linux and the Windows qrhost.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// The module file PLUGIN names. A PLUGIN holding one of separators is a path and is taken as
// it is. A bare name ("Karvel") is looked for as NAME + suffix (or NAME when it already ends
// in suffix) in folders, in order; empty folders are passed over. "" when no file is found;
// searched then lists the places looked at.
std::string FindPluginFile(const std::string& plugin, const std::string& separators,
                           const std::string& suffix, std::initializer_list<std::string> folders,
                           std::vector<std::string>& searched);
