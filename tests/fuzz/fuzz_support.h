#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "library/run_context.h"
#include "platform/prompt.h"

// Helpers of the fuzz targets. A broken property aborts, so libFuzzer keeps the input.

#define FUZZ_CHECK(condition) \
    ((condition) ? void() : ::dadaz::fuzz::fail(#condition, __FILE__, __LINE__))

namespace dadaz::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

// A folder of the process's own under the temporary folder, removed at exit.
inline const std::string& scratchFolder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/dadaz-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) fail("mkdtemp", __FILE__, __LINE__);
        static const std::string kept = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(kept, ignored);
        });
        return pattern;
    }();
    return folder;
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) fail(("cannot write " + path).c_str(), __FILE__, __LINE__);
}

// Answers every question No and picks nothing: no run waits on a fuzz target.
class QuietPrompt : public Prompt {
  public:
    Answer ask(MessageIcon, MessageButtons buttons, const std::string&,
               const std::string&) override {
        return buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
    }
    std::string pickFolder(const std::string&, const std::string&) override { return {}; }
    std::string pickFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

// Starts nothing: a fuzz target never opens a document or runs a program.
class NoLauncher : public Launcher {
  public:
    bool openDocument(const std::string&) override { return false; }
    bool startProgram(const std::string&, const std::vector<std::string>&, bool) override {
        return false;
    }
};

// A run context on the scratch folder as program folder.
struct QuietRun {
    FileSystem fs;
    QuietPrompt prompt;
    NullProgress progress;
    NoLauncher launcher;
    SessionState state;
    RunContext ctx{scratchFolder(), {}, fs, prompt, progress, launcher, state};
};

}  // namespace dadaz::fuzz
