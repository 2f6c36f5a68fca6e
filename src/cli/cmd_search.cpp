#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/search_session.h"
#include "catalogue/song_line.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/folder_text.h"
#include "library/folder_detection.h"
#include "library/run_context.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "platform/launcher.h"
#include "platform/progress.h"
#include "platform/prompt.h"

namespace {

const char* const kUsage =
    "usage: dadaz search [--program-folder DIR] [--all | --lyric] [--repeat N] [--] QUERY\n"
    "  --repeat N  also runs the search N more times on the loaded catalogue and reports the\n"
    "              load time and the median search time on the error output\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "search: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Never waits for an answer: messages go to the error output, and every question is answered
// No, so a missing or outdated song list is reported rather than rebuilt.
class CommandLinePrompt : public dadaz::Prompt {
  public:
    dadaz::Answer ask(dadaz::MessageIcon, dadaz::MessageButtons buttons, const std::string& text,
                      const std::string&) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return buttons == dadaz::MessageButtons::Ok ? dadaz::Answer::Ok : dadaz::Answer::No;
    }
    std::string pickFolder(const std::string&, const std::string&) override { return {}; }
    std::string pickFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

void printLine(const std::string& cp874Line) {
    const std::string text = dadaz::cp874ToUtf8(cp874Line);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

// Times the search alone, the catalogue being loaded already.
void reportTimes(dadaz::SearchSession& session, const std::string& query,
                 const dadaz::SearchOptions& options, dadaz::RunContext& ctx,
                 dadaz::SearchView& view, std::chrono::steady_clock::duration firstEnter,
                 long repeat) {
    using namespace std::chrono;
    const auto loadStarted = steady_clock::now();
    session.load(ctx, view);
    const auto loaded = steady_clock::now();
    std::vector<double> micros;
    for (long i = 0; i < repeat; ++i) {
        const auto start = steady_clock::now();
        session.search(query, options, ctx, view);
        micros.push_back(duration<double, std::micro>(steady_clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    std::fprintf(stderr, "first enter: %.1f ms\nload: %.1f ms\nsearch median: %.1f us (%ld runs)\n",
                 duration<double, std::milli>(firstEnter).count(),
                 duration<double, std::milli>(loaded - loadStarted).count(),
                 micros[micros.size() / 2], repeat);
}

}  // namespace

int cmdSearch(int argc, char** argv) {
    dadaz::cli::SearchArguments args;
    std::string error;
    if (!dadaz::cli::parseSearchArguments(argc, argv, args, error)) return usageError(error);
    dadaz::SearchOptions options;
    options.searchAll = args.all;
    options.searchLyric = args.lyric;
    const long repeat = args.repeat;
    const std::string& query = args.query;

    dadaz::FileSystem fs;
    const std::string programFolder = folderText(args.programFolder);
    const dadaz::Folders folders = dadaz::detectFolders(fs, programFolder).folders;
    CommandLinePrompt prompt;
    dadaz::NullProgress progress;
    dadaz::SystemLauncher launcher;
    dadaz::SessionState state;
    dadaz::RunContext ctx{programFolder, folders, fs, prompt, progress, launcher, state};
    dadaz::SearchView view;
    dadaz::SearchSession session;

    // The search box is trimmed when Enter is pressed.
    const std::string cp874Query(dadaz::trimBlanks(dadaz::utf8ToCp874(query)));
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const dadaz::SearchResult result = session.enter(cp874Query, options, ctx, view, {});
    const auto entered = Clock::now();
    if (!result.ran) return 1;
    if (repeat > 0) reportTimes(session, cp874Query, options, ctx, view, entered - started, repeat);
    for (const auto& line : result.lines) printLine(line);
    for (const auto& artist : result.artists) printLine(artist);
    std::printf("%s\n", result.resultLineText().c_str());
    return 0;
}
