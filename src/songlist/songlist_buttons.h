#pragma once

#include <optional>

#include "songlist/songlist_run.h"

namespace dadaz {

class Prompt;
struct SessionState;

// The start button of the list panel: asks first whether to make karaoke files (while the
// converter can be started), then whether the list is for this program only, then
// whether to check and tidy the library, and runs as chosen. Nothing when cancelled.
std::optional<SongListResult> startSongListFromButton(RunContext& ctx,
                                                      SongListOptions options = {});

// The stop button: asks whether to cancel building the list. Yes stops the scan (and ends the
// duplicate finder's wait for it); No takes back an earlier stop request.
void askStopSongList(Prompt& prompt, SessionState& state);

}  // namespace dadaz
