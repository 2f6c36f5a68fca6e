#include <cstdio>

#include "cli/commands.h"

int cmdMidiLength(int, char**) {
    std::fprintf(stderr, "not available yet\n");
    return 1;
}
