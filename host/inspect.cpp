// Placeholder until the import object lands.
#include "inspect.h"

#include <cstdio>

int RunInspect(int, char**) {
    std::fputs("qrhost inspect: not available in this build\n", stderr);
    return 2;
}
