// Karvel, the object import plug-in: the module's entry point.
#include "import/import_command.h"

#include "platform/application.h"
#include "platform/plugin_guard.h"
#include "platform/plugin_version.h"

QR_PLUGIN_VERSION_INFO("Brask Design", "2.0", "Object import plugin for Quarrion")

QR_PLUGIN_EXPORT int ExecutePlugin(void) {
    return RunGuarded(*AfxGetApp(), 1, RunImportCommand);
}
