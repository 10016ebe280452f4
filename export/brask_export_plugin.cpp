// Brask_Export.so: the export plug-in module. The host loads it and calls
// ExecutePlugin, which always answers 2.
#include "export/export_command.h"

#include "platform/application.h"
#include "platform/plugin_guard.h"
#include "platform/plugin_version.h"

QR_PLUGIN_VERSION_INFO("Brask Design", "1.0", "Object export plugin for Quarrion")

QR_PLUGIN_EXPORT int ExecutePlugin(void) {
    return RunGuarded(*AfxGetApp(), 2, RunExportCommand);
}
