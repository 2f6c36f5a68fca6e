#include <cstdio>

#include "cli/commands.h"

int cmdSearch(int, char**) {
    std::fprintf(stderr, "not available yet\n");
    return 1;
}
