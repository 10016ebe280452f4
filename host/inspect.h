// qrhost inspect [--summary] FILE: loads FILE into an import object and prints it.
#pragma once

int RunInspect(int argc, char** argv);
