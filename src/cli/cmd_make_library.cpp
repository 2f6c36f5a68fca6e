#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "generator/library_generator.h"

namespace {

const char* const kUsage =
    "usage: dadaz make-library DIR [--songs N] [--layout separate|multi] [--seed S] "
    "[--new-songs K] [--sequential]\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "make-library: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// A whole decimal number in [0, max]; nothing else (no sign, no blanks, no suffix).
bool parseCount(const char* text, unsigned long long max, unsigned long long& value) {
    if (!text || !*text) return false;
    for (const char* p = text; *p; ++p)
        if (*p < '0' || *p > '9') return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return errno == 0 && *end == '\0' && value <= max;
}

}  // namespace

int cmdMakeLibrary(int argc, char** argv) {
    dadaz::GeneratorOptions options;
    options.songs = 2000;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long long n = 0;
        if (arg == "--songs") {
            if (!parseCount(value, 10'000'000ULL, n))
                return usageError("--songs takes a whole number from 0 to 10000000");
            options.songs = n;
            ++i;
        } else if (arg == "--new-songs") {
            if (!parseCount(value, 100'000ULL, n))
                return usageError("--new-songs takes a whole number from 0 to 100000");
            options.newSongs = n;
            ++i;
        } else if (arg == "--seed") {
            if (!parseCount(value, ~0ULL, n))
                return usageError("--seed takes a whole number from 0 to 18446744073709551615");
            options.seed = n;
            ++i;
        } else if (arg == "--sequential") {
            options.sequential = true;
        } else if (arg == "--layout") {
            const std::string layout = value ? value : "";
            if (layout == "separate")
                options.layout = dadaz::GeneratorLayout::Separate;
            else if (layout == "multi")
                options.layout = dadaz::GeneratorLayout::Multi;
            else
                return usageError("--layout takes separate or multi");
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (dir.empty()) {
            dir = arg;
        } else {
            return usageError("only one folder may be given");
        }
    }
    if (dir.empty()) return usageError("the folder DIR is missing");

    const dadaz::GeneratedLibrary library = dadaz::generateLibrary(dir, options);
    if (!library.ok) {
        std::fprintf(stderr, "make-library: %s\n", library.error.c_str());
        return 1;
    }
    std::printf("%s: %s\n", dir.c_str(), library.describe().c_str());
    return 0;
}
