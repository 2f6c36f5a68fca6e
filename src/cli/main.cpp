#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "update/version.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

const Command commands[] = {
    {"make-library", cmdMakeLibrary,
     "make-library DIR [--songs N] [--layout separate|multi] [--seed S] [--new-songs K] "
     "[--sequential]"},
    {"songlist", cmdSonglist,
     "songlist [--program-folder DIR] [--check | --kar DIR] [--own-list] [--db-folder DIR] "
     "[--dos-drive C=DIR] [--midi DIR --lyric DIR --cursor DIR --move-to DIR]"},
    {"search", cmdSearch,
     "search [--program-folder DIR] [--all | --lyric] [--repeat N] [--] QUERY"},
    {"midi-length", cmdMidiLength, "midi-length FILE..."},
    {"add", cmdAdd,
     "add [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR --move-to DIR] "
     "[--source DIR] [--target auto|keep-names|FOLDER] [--prefix TEXT --pattern ZEROS] "
     "[--yes] [--songlist]"},
    {"delete", cmdDelete,
     "delete [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR --move-to DIR] "
     "[--yes] CODE[@VOLUME]..."},
    {"move", cmdMove,
     "move [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR --move-to DIR] "
     "[--yes] CODE[@VOLUME]..."},
    {"renumber", cmdRenumber,
     "renumber [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR --move-to DIR] "
     "[--digits N] [--pattern TEXT [--folder-after]] [--leave X] [--yes] [--dry-run]"},
    {"duplicates", cmdDuplicates,
     "duplicates [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR] "
     "--by title|artist|midi|all [--selection FILE] [--delete | --move] [--yes] [--rebuild]"},
    {"check-update", cmdCheckUpdate, "check-update --server URL"},
    {"export", cmdExport,
     "export [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR] --to DIR "
     "(--midi-only | --all [--structure] | --kar) CODE[@VOLUME]..."},
    {"songbook", cmdSongbook,
     "songbook [--program-folder DIR] [--by title|artist|code] [--columns N] OUT.pdf"},
};

void printUsage() {
    std::fprintf(stderr, "usage: dadaz COMMAND [OPTIONS]\n  dadaz --version\n");
    for (const auto& c : commands) std::fprintf(stderr, "  dadaz %s\n", c.usage);
}

}  // namespace

int main(int argc, char** argv) {
    dadaz::cli::guardTerminalOutput();
    if (argc < 2) {
        printUsage();
        return 2;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("dadaz %s\n", dadaz::versionText(dadaz::kProgramVersion).c_str());
        return 0;
    }
    for (const auto& c : commands) {
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
    }
    printUsage();
    return 2;
}
