#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/folder_text.h"
#include "duplicates/duplicate_review.h"
#include "duplicates/duplicate_texts.h"
#include "library/folder_detection.h"
#include "library/song_paths.h"
#include "operations/song_removal.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "platform/launcher.h"
#include "platform/progress.h"
#include "songlist/songlist_run.h"

namespace {

using dadaz::Answer;
using dadaz::DuplicateCriterion;
using dadaz::RemovalKind;
namespace text = dadaz::duplicate_text;

int usageError(const std::string& message) {
    std::fprintf(stderr,
                 "duplicates: %s\nusage: dadaz duplicates [--program-folder DIR] [--midi DIR "
                 "--lyric DIR --cursor DIR] --by title|artist|midi|all [--selection FILE] "
                 "[--delete | --move] [--yes] [--rebuild]\n",
                 message.c_str());
    return 2;
}

bool criterionOf(const std::string& by, DuplicateCriterion& criterion) {
    if (by == "title")
        criterion = DuplicateCriterion::Title;
    else if (by == "artist")
        criterion = DuplicateCriterion::TitleArtist;
    else if (by == "midi")
        criterion = DuplicateCriterion::TitleMidi;
    else if (by == "all")
        criterion = DuplicateCriterion::Everything;
    else
        return false;
    return true;
}

// Never waits: the build-first questions take --rebuild, the removal questions --yes, and
// every message goes to standard error (standard output holds only the list).
class CommandLinePrompt : public dadaz::Prompt {
  public:
    CommandLinePrompt(bool rebuild, bool yes) : rebuild_(rebuild), yes_(yes) {}
    Answer ask(dadaz::MessageIcon, dadaz::MessageButtons buttons, const std::string& question,
               const std::string&) override {
        if (buttons == dadaz::MessageButtons::Ok) {
            std::fprintf(stderr, "%s\n", question.c_str());
            return Answer::Ok;
        }
        if (removalAsked) {
            if (!yes_) refused = question;
            return yes_ ? Answer::Yes : Answer::No;
        }
        return rebuild_ ? Answer::Yes : Answer::No;
    }
    std::string pickFolder(const std::string&, const std::string&) override { return {}; }
    std::string pickFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

    bool removalAsked = false;
    std::string refused;  // the removal question answered No for want of --yes

  private:
    bool rebuild_;
    bool yes_;
};

}  // namespace

int cmdDuplicates(int argc, char** argv) {
    dadaz::cli::DuplicatesArguments args;
    std::string error;
    if (!dadaz::cli::parseDuplicatesArguments(argc, argv, args, error)) return usageError(error);
    const RemovalKind kind = args.move ? RemovalKind::Move : RemovalKind::Delete;
    DuplicateCriterion criterion;
    if (!criterionOf(args.by, criterion))
        return usageError("--by takes title, artist, midi or all");

    static auto* const fileSystem = new dadaz::FileSystem;  // see cmd_remove.cpp
    dadaz::FileSystem& fs = *fileSystem;
    const std::string programFolder = folderText(args.folders.programFolder);
    const dadaz::Folders folders = libraryFolders(fs, programFolder, args.folders);

    CommandLinePrompt prompt(args.rebuild, args.yes);
    dadaz::NullProgress quiet;
    dadaz::SystemLauncher launcher;
    dadaz::SessionState state;
    dadaz::RunContext ctx{programFolder, folders, fs, prompt, quiet, launcher, state};
    dadaz::FinderHooks hooks;
    hooks.criterion = [criterion] { return criterion; };
    hooks.rebuild = [&] { dadaz::runSongList(ctx); };
    if (args.remove) {
        // A removal killed before may have left songs half hidden, whether or not anything
        // is marked now.
        const dadaz::SongPaths paths(fs, folders);
        dadaz::SongRemover(fs, paths).finishDeadDeletes();
        fs.forgetIndexes();
    }
    const dadaz::FinderResult found = dadaz::findDuplicates(ctx, hooks);
    if (!found.searched) {
        std::fprintf(stderr, "ไม่พบแฟ้มรายการเพลงใน %s (--rebuild สร้างรายการเพลงก่อน)\n",
                     programFolder.c_str());
        return 1;
    }
    std::vector<dadaz::ResultLine> lines = found.result.lines;
    if (!args.selection.empty()) {
        const auto fileLines = fs.readLines(args.selection);
        if (!fileLines) {
            std::fprintf(stderr, "อ่านแฟ้ม %s ไม่ได้\n", args.selection.c_str());
            return 1;
        }
        for (dadaz::ResultLine& line : lines) line.marked = false;
        dadaz::importSelection(lines, *fileLines);
    }

    int status = 0;
    if (args.remove && dadaz::markedCount(lines) > 0) {
        prompt.removalAsked = true;
        if (!dadaz::confirmDuplicateRemoval(fs, prompt, kind, folders, lines, criterion)) {
            return usageError(prompt.refused + "\n--yes answers Yes to this question");
        }
        const dadaz::DuplicateRemovalResult result = dadaz::removeMarkedSongs(
            fs, lines,
            {.kind = kind,
             .programFolder = programFolder,
             .folders = folders,
             .stamp = dadaz::logTimeStamp(std::chrono::system_clock::now())},
            quiet);
        lines = result.lines;
        dadaz::MessageIcon icon;
        const std::string message = dadaz::removalMessage(kind, result, icon);
        std::fprintf(stderr, "%s\n", message.c_str());
        if (icon != dadaz::MessageIcon::Information) status = 1;
    }
    for (const dadaz::ResultLine& line : lines) {
        std::printf("%s%s\n", line.marked ? "* " : "  ", dadaz::cp874ToUtf8(line.text).c_str());
    }
    std::printf("%s\n", text::songCount(lines.size()).c_str());
    return status;
}
