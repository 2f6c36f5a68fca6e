#include <unistd.h>

#include <cstdio>
#include <string>

#include "addsong/add_run.h"
#include "addsong/add_texts.h"
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
#include "songlist/songlist_run.h"

namespace {

const char* const kUsage =
    "usage: dadaz add [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR [--move-to "
    "DIR]]\n"
    "                 [--source DIR] [--target auto | --target keep-names | --target FOLDER]\n"
    "                 [--prefix TEXT --pattern ZEROS] [--yes] [--songlist]\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "add: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Never waits for an answer: the questions before the copies are answered by --yes, the
// offer to open the list is declined, the song list is built only with --songlist.
class CommandLinePrompt : public dadaz::Prompt {
  public:
    CommandLinePrompt(bool yes, bool songList) : yes_(yes), songList_(songList) {}
    dadaz::Answer ask(dadaz::MessageIcon icon, dadaz::MessageButtons buttons,
                      const std::string& text, const std::string&) override {
        using dadaz::Answer;
        if (buttons == dadaz::MessageButtons::Ok) {
            const bool problem =
                icon == dadaz::MessageIcon::Critical || icon == dadaz::MessageIcon::Exclamation;
            std::fprintf(problem ? stderr : stdout, "%s\n", text.c_str());
            return Answer::Ok;
        }
        if (text == dadaz::add_text::kBuildSongListQuestion) {
            return songList_ ? Answer::Yes : Answer::No;
        }
        if (text.ends_with(dadaz::add_text::kOpenListQuestion)) return Answer::No;
        return yes_ ? Answer::Yes : Answer::No;
    }
    std::string pickFolder(const std::string&, const std::string&) override { return {}; }
    std::string pickFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

  private:
    bool yes_;
    bool songList_;
};

}  // namespace

int cmdAdd(int argc, char** argv) {
    dadaz::cli::AddArguments args;
    std::string error;
    if (!dadaz::cli::parseAddArguments(argc, argv, args, error)) return usageError(error);
    const std::string& target = args.target;

    dadaz::FileSystem fs;
    const std::string programFolder = folderText(args.folders.programFolder);
    const dadaz::Folders folders = libraryFolders(fs, programFolder, args.folders);

    dadaz::AddSongOptions options;
    options.sourceFolder =
        args.source.empty() ? programFolder + "/New Song" : folderText(args.source);
    std::string manualFolder;
    if (target == "auto") {
        options.target = dadaz::AddTarget::Automatic;
    } else if (target == "keep-names") {
        options.target = dadaz::AddTarget::KeepNames;
    } else {
        options.target = dadaz::AddTarget::Manual;
        manualFolder = target;
    }
    // The window's suggestion, unless a custom prefix and pattern are given.
    if (args.custom) {
        options.prefix = args.prefix;
        options.patternBox = args.pattern;
        options.customPattern = true;
    } else {
        const dadaz::PatternSuggestion suggestion =
            dadaz::suggestPattern(fs, folders.midi, options.target, manualFolder);
        options.prefix = suggestion.prefix.value_or(manualFolder);
        options.patternBox = suggestion.pattern;
    }

    CommandLinePrompt prompt(args.yes, args.songList);
    dadaz::NullProgress quiet;
    TerminalProgress terminal;
    dadaz::SystemLauncher launcher;
    dadaz::SessionState state;
    dadaz::RunContext ctx{programFolder,
                          folders,
                          fs,
                          prompt,
                          isatty(STDERR_FILENO) ? static_cast<dadaz::ProgressSink&>(terminal)
                                                : static_cast<dadaz::ProgressSink&>(quiet),
                          launcher,
                          state};
    options.buildSongList = [&] {
        dadaz::SongListOptions listOptions;
        listOptions.databaseFolder = programFolder;
        listOptions.drives.emplace(programFolder);
        dadaz::RunContext listCtx = ctx;
        const dadaz::SongListResult list = dadaz::runSongList(listCtx, listOptions);
        if (list.status == dadaz::SongListResult::Status::Written) {
            std::printf("รายการเพลง %s เพลง\n", dadaz::formatCount(list.listedSongs).c_str());
        }
    };
    const dadaz::AddSongResult result = dadaz::runAddSong(ctx, options);
    if (!result.createdMoveTo.empty()) {
        std::printf("สร้างโฟลเดอร์ %s แล้ว\n", result.createdMoveTo.c_str());
    }
    if (result.status == dadaz::AddSongResult::Status::Declined) {
        std::fprintf(stderr, "add: a question was answered No; --yes answers Yes\n");
    }
    if (result.status != dadaz::AddSongResult::Status::Finished) return 1;
    // Songs left out, or records not written: the run did not do everything it was asked.
    const bool complete = result.leftOut.empty() && result.recordsWritten;
    std::fprintf(complete ? stdout : stderr, "%s\n", result.message.c_str());
    return complete && result.added > 0 ? 0 : 1;
}
