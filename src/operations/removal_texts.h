#pragma once

#include <string>

#include "operations/song_removal.h"

namespace dadaz::removal_text {

// The question before a delete or a move of one song (`several` false) or of the selection.
std::string deleteQuestion(bool several);
std::string moveQuestion(bool several, const std::string& moveTo);
// Asked when the move-to folder does not exist, also when no confirmation is wanted.
std::string missingMoveToQuestion();
std::string moveToNotCreated(const std::string& moveTo);

// "12345" or, in the multi-folder layout, "12345 (VOL1)".
std::string songName(const CurrentSong& song);
// One song that stayed, and why: "12345: ...".
std::string failureLine(RemovalKind kind, const SongRemovalOutcome& outcome);

// The songs not handled, with their reasons, and the songs none of whose files were there;
// empty when every song was removed. Lists at most `maxSongs` songs of each kind. `inList`:
// the songs not handled keep their selected lines in the result list.
std::string reportText(RemovalKind kind, const RemovalReport& report, bool inList,
                       std::size_t maxSongs = 20);

}  // namespace dadaz::removal_text
