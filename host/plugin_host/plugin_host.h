// qrhost's host proper: running a plug-in module as the host does, and showing
// a module's version texts.
#pragma once

// qrhost run PLUGIN [options]
int RunRunCommand(int argc, char** argv);
// qrhost version PLUGIN
int RunVersionCommand(int argc, char** argv);
