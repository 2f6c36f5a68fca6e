#include <cstdio>

#include "cli/commands.h"

int cmdMakeLibrary(int, char**) {
    std::fprintf(stderr, "not available yet\n");
    return 1;
}
