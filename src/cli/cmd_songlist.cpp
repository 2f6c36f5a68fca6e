#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/folder_text.h"
#include "cli/terminal_progress.h"
#include "library/folder_detection.h"
#include "library/run_context.h"
#include "platform/filesystem.h"
#include "platform/launcher.h"
#include "platform/progress.h"
#include "platform/prompt.h"
#include "platform/shortpath.h"
#include "songlist/songlist_messages.h"
#include "songlist/songlist_run.h"

namespace {

const char* const kUsage =
    "usage: dadaz songlist [--program-folder DIR] [--check | --kar DIR] [--own-list] [--db-folder "
    "DIR]\n"
    "                      [--dos-drive C=DIR]... [--midi DIR --lyric DIR --cursor DIR "
    "[--move-to DIR]]\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "songlist: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Never waits for an answer: messages are printed, the move-to folder is created when
// missing (the run cannot check without it), and the song list is not opened.
class CommandLinePrompt : public dadaz::Prompt {
  public:
    explicit CommandLinePrompt(std::string fallbackFolder)
        : fallbackFolder_(std::move(fallbackFolder)) {}
    dadaz::Answer ask(dadaz::MessageIcon icon, dadaz::MessageButtons buttons,
                      const std::string& text, const std::string&) override {
        using dadaz::Answer;
        using dadaz::MessageIcon;
        if (buttons == dadaz::MessageButtons::Ok) {
            std::fprintf(icon == MessageIcon::Critical ? stderr : stdout, "%s\n", text.c_str());
            return Answer::Ok;
        }
        return icon == MessageIcon::Exclamation ? Answer::Yes : Answer::No;
    }
    std::string pickFolder(const std::string&, const std::string&) override {
        return fallbackFolder_;
    }
    std::string pickFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

  private:
    std::string fallbackFolder_;
};

}  // namespace

int cmdSonglist(int argc, char** argv) {
    std::string programFolder = ".";
    std::string midi, lyric, cursor, moveTo, databaseFolder, karFolder;
    bool check = false;
    bool ownList = false;
    std::vector<std::string> driveSpecs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return !into.empty();
        };
        bool ok = true;
        if (arg == "--check") {
            check = true;
        } else if (arg == "--own-list") {
            ownList = true;
        } else if (arg == "--kar") {
            ok = value(karFolder);
        } else if (arg == "--program-folder") {
            ok = value(programFolder);
        } else if (arg == "--db-folder") {
            ok = value(databaseFolder);
        } else if (arg == "--midi") {
            ok = value(midi);
        } else if (arg == "--lyric") {
            ok = value(lyric);
        } else if (arg == "--cursor") {
            ok = value(cursor);
        } else if (arg == "--move-to") {
            ok = value(moveTo);
        } else if (arg == "--dos-drive") {
            std::string spec;
            ok = value(spec);
            driveSpecs.push_back(spec);
        } else {
            return usageError("unknown argument " + arg);
        }
        if (!ok) return usageError(arg + " needs a value");
    }
    const bool someFolders = !midi.empty() || !lyric.empty() || !cursor.empty();
    if (someFolders && (midi.empty() || lyric.empty() || cursor.empty())) {
        return usageError("--midi, --lyric and --cursor go together");
    }

    dadaz::FileSystem fs;
    programFolder = folderText(programFolder);
    const dadaz::Folders folders = libraryFolders(fs, programFolder, midi, lyric, cursor, moveTo);

    dadaz::SongListOptions options;
    options.checkFiles = check;
    if (!karFolder.empty()) {
        // The karaoke form: every valid song's KAR file under DIR/Kar, no list written.
        if (ownList || !databaseFolder.empty() || !driveSpecs.empty()) {
            return usageError(
                "--kar makes no list: --own-list, --db-folder and --dos-drive do "
                "not go with it");
        }
        options.checkFiles = true;
        options.karMode = true;
        options.karFolder = folderText(karFolder);
        ownList = true;  // as the window's KAR choice: no player database
    }
    options.databaseFolder = databaseFolder.empty() ? programFolder : folderText(databaseFolder);
    options.drives.emplace(programFolder);
    for (const std::string& spec : driveSpecs) {
        const auto equals = spec.find('=');
        if (equals != 1 ||
            !options.drives->mapFromSpec(spec.substr(0, 2) + folderText(spec.substr(2)))) {
            return usageError("--dos-drive takes LETTER=FOLDER, for example C=/srv/karaoke");
        }
    }

    if (options.karMode && !fs.isFolder(options.karFolder)) {
        std::fprintf(stderr, "ไม่พบโฟลเดอร์ %s\n", options.karFolder.c_str());
        return 1;
    }
    CommandLinePrompt prompt(options.databaseFolder);
    dadaz::NullProgress quiet;
    TerminalProgress terminal;
    dadaz::SystemLauncher launcher;
    dadaz::SessionState state;
    state.catalogueRequested = ownList;
    dadaz::RunContext ctx{programFolder,
                          folders,
                          fs,
                          prompt,
                          isatty(STDERR_FILENO) ? static_cast<dadaz::ProgressSink&>(terminal)
                                                : static_cast<dadaz::ProgressSink&>(quiet),
                          launcher,
                          state};
    const dadaz::SongListResult result = dadaz::runSongList(ctx, options);

    using Status = dadaz::SongListResult::Status;
    if (options.karMode) {
        // The closing message went to standard output; every file it reports is complete.
        return result.status == Status::KarFilesMade && result.karNotWritten == 0 ? 0 : 1;
    }
    if (!result.createdMoveTo.empty()) {
        std::printf("สร้างโฟลเดอร์ %s แล้ว\n", result.createdMoveTo.c_str());
    }
    if (result.status == Status::Written && ownList) {
        // The own-list run shows no message in the window; say where the list went.
        dadaz::songlist_text::ClosingFacts facts;
        facts.programFolder = programFolder;
        facts.semicolonsReplaced = result.semicolonsReplaced;
        facts.notListed = result.notListed;
        facts.filesNotMoved = result.filesNotMoved;
        facts.fourthLinesKept = result.fourthLinesKept;
        std::printf("บันทึกแฟ้ม SongList.txt ไว้ที่\n     %s\n", programFolder.c_str());
        if (const auto counts = dadaz::songlist_text::countsParagraph(facts); !counts.empty()) {
            std::printf("\n%s\n", counts.c_str());
        }
    }
    if (result.status == Status::Written) {
        std::printf("รายการเพลง %s เพลง\n", dadaz::formatCount(result.listedSongs).c_str());
        return 0;
    }
    return 1;
}
