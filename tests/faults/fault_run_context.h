#pragma once

// A run context on a generated library for fault sweeps, its prompt keeping every text shown
// so that a test can check what a faulted run told the user.

#include <filesystem>
#include <string>
#include <vector>

#include "generator/library_generator.h"
#include "library/run_context.h"
#include "platform/progress.h"
#include "support/answering_prompt.h"
#include "support/recording_launcher.h"

namespace dadaz::testing {

// Everything a core run needs, on the library in `program` with the folders detection finds.
struct FaultRunContext {
    FileSystem fs;
    AnsweringPrompt prompt;
    NullProgress progress;
    RecordingLauncher launcher;
    SessionState state;
    RunContext ctx;

    FaultRunContext(const std::string& program, bool multi)
        : ctx{program,
              multi ? Folders{program, program, program, program + "/Invalid Files"}
                    : Folders{program + "/SONG", program + "/LYRICS", program + "/CURSOR",
                              program + "/Invalid Files"},
              fs,
              prompt,
              progress,
              launcher,
              state} {}
};

inline GeneratedLibrary makeTestLibrary(const std::string& program, std::size_t songs, bool multi,
                                        bool sequential = false) {
    GeneratorOptions options;
    options.songs = songs;
    options.layout = multi ? GeneratorLayout::Multi : GeneratorLayout::Separate;
    options.songsPerVolume = songs / 2;
    options.newSongs = 4;
    options.sequential = sequential;
    options.threads = 1;
    GeneratedLibrary library = generateLibrary(program, options);
    // The move-to folder as the user has it, so no run stops to ask for it.
    std::filesystem::create_directories(program + "/Invalid Files");
    return library;
}

}  // namespace dadaz::testing
