#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/search_session.h"
#include "catalogue/song_line.h"
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

// "--" and a letter: an option's name. Anything else is text to search for.
bool isOptionLike(const std::string& arg) {
    return arg.size() > 2 && arg.starts_with("--") &&
           std::isalpha(static_cast<unsigned char>(arg[2]));
}

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
    std::string programFolder = ".";
    dadaz::SearchOptions options;
    long repeat = 0;
    std::string query;
    // Options come first; the first other argument is the query, whatever it holds ("-----"
    // and "+++" are queries too). "--" ends the options before a query that looks like one.
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (!isOptionLike(arg)) break;
        if (arg == "--program-folder") {
            if (i + 1 >= argc || !*argv[i + 1]) return usageError(arg + " needs a value");
            programFolder = argv[++i];
        } else if (arg == "--repeat") {
            if (i + 1 >= argc) return usageError(arg + " needs a value");
            repeat = std::strtol(argv[++i], nullptr, 10);
            if (repeat < 1) return usageError("--repeat takes a count of at least 1");
        } else if (arg == "--all") {
            options.searchAll = true;
        } else if (arg == "--lyric") {
            options.searchLyric = true;
        } else {
            return usageError("unknown option " + arg + " (a query that looks like an option " +
                              "follows --)");
        }
    }
    if (i == argc) return usageError("QUERY is missing (\"\" lists the first page)");
    query = argv[i++];
    if (i < argc) return usageError(std::string("one QUERY only; ") + argv[i] + " follows it");
    if (options.searchAll && options.searchLyric) {
        return usageError("--all and --lyric exclude each other");
    }

    dadaz::FileSystem fs;
    programFolder = folderText(programFolder);
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
