#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/folder_text.h"
#include "cli/terminal_progress.h"
#include "library/folder_detection.h"
#include "library/run_context.h"
#include "library/song_code.h"
#include "platform/filesystem.h"
#include "platform/launcher.h"
#include "platform/progress.h"
#include "platform/prompt.h"
#include "renumber/renumber_run.h"

namespace {

const char* const kUsage =
    "usage: dadaz renumber [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR "
    "[--move-to DIR]]\n"
    "                      [--digits N] [--pattern TEXT [--folder-after]] [--leave X] [--yes]\n"
    "                      [--dry-run]\n"
    "--dry-run prints every rename and move, in order, as FROM TAB TO, and changes nothing.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "renumber: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Messages are printed; every question is answered by --yes (Yes) or without it No.
class AnsweringPrompt : public dadaz::Prompt {
  public:
    // A dry run keeps standard output for the plan.
    AnsweringPrompt(bool yes, std::FILE* out) : yes_(yes), out_(out) {}
    dadaz::Answer ask(dadaz::MessageIcon icon, dadaz::MessageButtons buttons,
                      const std::string& text, const std::string&) override {
        const bool critical = icon == dadaz::MessageIcon::Critical;
        std::fprintf(critical ? stderr : out_, "%s\n", text.c_str());
        if (buttons == dadaz::MessageButtons::Ok) return dadaz::Answer::Ok;
        std::fprintf(out_, "%s\n", yes_ ? "Yes" : "No");
        return yes_ ? dadaz::Answer::Yes : dadaz::Answer::No;
    }
    std::string pickFolder(const std::string&, const std::string&) override { return {}; }
    std::string pickFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

  private:
    bool yes_;
    std::FILE* out_;
};

}  // namespace

int cmdRenumber(int argc, char** argv) {
    dadaz::cli::RenumberArguments args;
    std::string error;
    if (!dadaz::cli::parseRenumberArguments(argc, argv, args, error)) return usageError(error);
    dadaz::RenumberSettings settings;
    if (args.digitsGiven) settings.digitText = args.digits;
    if (args.patternGiven) settings.patternText = args.pattern;
    if (args.leaveGiven) settings.leaveText = args.leave;
    settings.customPattern = args.patternGiven;
    settings.leaveDigit = args.leaveGiven;
    settings.folderNameFirst = !args.folderAfter;
    const bool yes = args.yes;
    const bool dryRun = args.dryRun;
    if (settings.customPattern) {
        // As in the window: the pattern sets the digit count to its length.
        settings.digitText = std::to_string(dadaz::characterCount(settings.patternText));
    } else {
        // The window's pattern box follows the digit count.
        const auto digits = dadaz::parseDigitCount(settings.digitText);
        if (digits) settings.patternText = std::string(static_cast<std::size_t>(*digits), '0');
    }

    dadaz::FileSystem fs;
    const std::string programFolder = folderText(args.folders.programFolder);
    const dadaz::Folders folders = libraryFolders(fs, programFolder, args.folders);

    AnsweringPrompt prompt(yes, dryRun ? stderr : stdout);
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
    dadaz::PlanViewer printPlan;
    if (dryRun) {
        printPlan = [](const dadaz::RenumberPlan& plan) {
            for (const dadaz::RenumberStep& step : plan.steps) {
                for (const dadaz::FileMove& move : step.moves) {
                    std::printf("%s/%s\t%s/%s\n", plan.folders[move.from].c_str(),
                                move.fromName.c_str(), plan.folders[move.to].c_str(),
                                move.toName.c_str());
                }
            }
        };
    }
    const dadaz::RenumberResult result = dadaz::runRenumber(ctx, settings, printPlan);
    using Status = dadaz::RenumberResult::Status;
    if (result.status == Status::Completed) return result.summary.whole() ? 0 : 1;
    return result.status == Status::Planned ? 0 : 1;
}
