// `qrhost inspect` alone, linked with the readers only, so timing runs measure the readers
// (and build even while the scene library is in flux).
#include "inspect.h"

int main(int argc, char** argv) {
    return RunInspect(argc, argv);
}
