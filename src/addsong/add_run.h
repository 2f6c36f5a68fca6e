#pragma once

#include <functional>
#include <string>
#include <vector>

#include "addsong/add_options.h"
#include "addsong/add_records.h"
#include "library/run_context.h"

namespace dadaz {

// The add panel's settings as the run reads them at its start.
struct AddSongOptions {
    AddTarget target = AddTarget::Automatic;
    std::string sourceFolder{};  // txtAddSong
    std::string prefix{};        // txtFirstFileName: prefix of new codes and their folder
    std::string patternBox{};    // txtLastFileName
    bool customPattern = false;  // chkManualConfig
    // "DDMMYYYYHHNN" of the start, for the log's name; empty: now.
    std::string timeStamp{};
    // The song list run the end of the run offers; without it the offer is not made.
    std::function<void()> buildSongList{};
};

struct AddSongResult {
    enum class Status {
        Declined,  // the user answered No to a question before the copies
        Refused,   // a check failed: the message says why
        Finished,  // the copies ran (maybe adding nothing)
    };
    Status status = Status::Declined;
    std::string message;  // the refusal, or the closing message without its question
    long long added = 0;
    std::vector<LeftOutSong> leftOut;
    std::string createdMoveTo;  // the move-to folder the run created
    std::string listPath, logPath;
    bool recordsWritten = false;  // NewSong.txt and the log are complete
};

// Copies every complete song of the source folder into the library (separate-folder layout
// only) under new codes continuing one first-character folder's numbering, or under their own
// names, never replacing a file. Writes NewSong.txt and Log/ADD{time stamp}.txt in the
// program folder, sets `songsAdded`, clears `songListCurrent`, and offers to open the list
// and to build the song list.
AddSongResult runAddSong(RunContext& ctx, const AddSongOptions& options);

}  // namespace dadaz
