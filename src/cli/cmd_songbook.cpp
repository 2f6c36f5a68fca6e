#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/commands.h"
#include "cli/folder_text.h"
#include "platform/filesystem.h"
#include "songbook/songbook_run.h"

namespace {

const char* const kUsage =
    "usage: dadaz songbook [--program-folder DIR] [--by title|artist|code] [--columns N] "
    "OUT.pdf\n"
    "  --columns N  blocks of code, title, artist and key side by side on a page (1 to 3)\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "songbook: %s\n%s", message.c_str(), kUsage);
    return 2;
}

}  // namespace

int cmdSongbook(int argc, char** argv) {
    std::string programFolder = ".";
    std::string out;
    dadaz::SongBookOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc && *argv[i + 1];
        if (arg == "--program-folder" || arg == "--by" || arg == "--columns") {
            if (!hasValue) return usageError(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--program-folder") {
                programFolder = value;
            } else if (arg == "--columns") {
                char* end = nullptr;
                const long columns = std::strtol(value.c_str(), &end, 10);
                if (*end || columns < 1 || columns > dadaz::kMaxSongBookColumns) {
                    return usageError("--columns takes 1 to 3");
                }
                options.columns = static_cast<int>(columns);
            } else if (value == "title" || value == "artist" || value == "code") {
                options.order = value == "title"    ? dadaz::SongBookOrder::Title
                                : value == "artist" ? dadaz::SongBookOrder::Artist
                                                    : dadaz::SongBookOrder::Code;
            } else {
                return usageError("--by takes title, artist or code");
            }
        } else if (arg.starts_with("--")) {
            return usageError("unknown option " + arg);
        } else if (!out.empty()) {
            return usageError("one OUT.pdf only; " + arg + " follows it");
        } else {
            out = arg;
        }
    }
    if (out.empty()) return usageError("OUT.pdf is missing");

    dadaz::FileSystem fs;
    const dadaz::SongBookOutcome outcome =
        dadaz::makeSongBook(fs, folderText(programFolder), options, out);
    std::fprintf(outcome.written ? stdout : stderr, "%s\n", outcome.message.c_str());
    return outcome.written ? 0 : 1;
}
