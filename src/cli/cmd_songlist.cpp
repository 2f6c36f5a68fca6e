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
    dadaz::cli::SonglistArguments args;
    std::string error;
    if (!dadaz::cli::parseSonglistArguments(argc, argv, args, error)) return usageError(error);
    bool ownList = args.ownList;

    dadaz::FileSystem fs;
    const std::string programFolder = folderText(args.folders.programFolder);
    const dadaz::Folders folders = libraryFolders(fs, programFolder, args.folders);

    dadaz::SongListOptions options;
    options.checkFiles = args.check;
    if (!args.karFolder.empty()) {
        // The karaoke form: every valid song's KAR file under DIR/Kar, no list written.
        options.checkFiles = true;
        options.karMode = true;
        options.karFolder = folderText(args.karFolder);
        ownList = true;  // as the window's KAR choice: no player database
    }
    options.databaseFolder =
        args.databaseFolder.empty() ? programFolder : folderText(args.databaseFolder);
    options.drives.emplace(programFolder);
    for (const std::string& spec : args.driveSpecs) {
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
    // Checks that could not move a file or fix a lyric leave the run short of whole.
    const bool checksWhole = result.filesNotMoved == 0 && result.fourthLinesNotEmptied == 0 &&
                             !result.otherDatabaseFilesLeft;
    if (options.karMode) {
        // The closing message went to standard output; every file it reports is complete.
        return result.status == Status::KarFilesMade && result.karNotWritten == 0 && checksWhole
                   ? 0
                   : 1;
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
        // What the checks could not do was printed by the run already.
        facts.otherDatabaseFilesLeft = result.otherDatabaseFilesLeft;
        std::printf("บันทึกแฟ้ม SongList.txt ไว้ที่\n     %s\n", programFolder.c_str());
        if (const auto counts = dadaz::songlist_text::countsParagraph(facts); !counts.empty()) {
            std::printf("\n%s\n", counts.c_str());
        }
    }
    if (result.status == Status::Written) {
        std::printf("รายการเพลง %s เพลง\n", dadaz::formatCount(result.listedSongs).c_str());
        return checksWhole ? 0 : 1;
    }
    return 1;
}
