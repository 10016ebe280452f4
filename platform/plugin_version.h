// The version texts a plug-in module carries, readable on Linux: every module
// exports
//   extern "C" const char* PluginVersionInfo(void);
// returning "Name=value" lines, each ending in "\n":
//   CompanyName=Brask Design
//   FileVersion=2.0
//   ProductVersion=2.0
//   FileDescription=Object import plugin for Quarrion
// `qrhost version MODULE` prints them. A module declares them once, at file
// scope of one source file:
//   QR_PLUGIN_VERSION_INFO("Brask Design", "2.0", "Object import plugin for Quarrion")
// The arguments must be string literals; the text is built at compile time.
#pragma once

#ifdef _WIN32
// A DLL carries these texts in its version resource, made at build time from
// this very line of the module's source (platform/win32/plugin_version.rc.in),
// and exports nothing but ExecutePlugin.
#define QR_PLUGIN_VERSION_INFO(company, version, description)
#else
#define QR_PLUGIN_VERSION_INFO(company, version, description)                                      \
    extern "C" __attribute__((visibility("default"))) const char* PluginVersionInfo(void) {        \
        return "CompanyName=" company "\n"                                                         \
               "FileVersion=" version "\n"                                                         \
               "ProductVersion=" version "\n"                                                      \
               "FileDescription=" description "\n";                                                \
    }
#endif
