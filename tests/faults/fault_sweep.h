#pragma once

// Runs one library-changing run again and again on fresh copies of a library, failing each of
// its file operations in turn (every kind, every call, errors taken in turn from EIO, ENOSPC,
// EACCES and EROFS), and checks after each run what must hold whatever failed.

#include <functional>
#include <string>
#include <vector>

#include "library_state.h"
#include "platform/fault_injection.h"

namespace dadaz::testing {

struct RunOutcome {
    bool success = false;  // the run said it did everything
    std::string message;   // what it showed or printed
};

struct FaultCase {
    // Makes the starting library in `programFolder` (a folder that does not exist yet);
    // called once, then copied for every run.
    std::function<void(const std::string& programFolder)> makeLibrary;
    // The run itself, on a copy of the library. Called from a fresh copy each time.
    std::function<RunOutcome(const std::string& programFolder)> run;
    // Songs the run may take away whole (delete, a move out of the program folder).
    PathFilter mayGo;
    // Files left out of the lost-file check (those the run writes anew).
    PathFilter rewritten;
    // Song files the run may change in place (a replace, a lyric save): left out of the song
    // checks, so the test checks them itself (in `extraChecks`).
    PathFilter songsRewritten;
    // Files (relative to the program folder) that must be either old or new, never mixed.
    std::vector<std::string> oldOrNew;
    // A second fault-free run must leave no temporary file; some runs cannot be repeated
    // (an add would add the songs again): then only the faulted run is checked.
    bool runTwice = true;
    // With runTwice: the second run must bring the library to what two whole runs leave: the
    // same file names (`rewritten` files left out) and the same whole songs, though a song may
    // stand under another of those names (a run that numbers anew).
    bool settles = false;
    // Kinds of operations to fail; all by default.
    std::vector<faults::FileOp> kinds;
    // At most this many calls of each kind are failed, spread over all of them.
    std::size_t callsPerKind = 12;
    // More checks on the program folder after a faulted run; problems as texts.
    std::function<std::vector<std::string>(const std::string& programFolder,
                                           const RunOutcome& outcome)>
        extraChecks;
};

// Records gtest failures naming the operation failed and each problem found. Returns the
// number of faulted runs made.
std::size_t sweepFaults(const FaultCase& faultCase);

}  // namespace dadaz::testing
