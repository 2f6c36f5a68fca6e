#pragma once

#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/search_view.h"
#include "library/run_context.h"

namespace dadaz {

enum class LoadOutcome {
    NotRequested,  // no Enter in the search box asked for it yet: nothing was done
    Loaded,        // read to the end; catalogueLoaded is set
    Stopped,       // cancelled; catalogueLoaded clear. Cancelled while reading: what was read
                   // stays and can be searched; once every line was read: nothing stays
    Unreadable,    // SongList.txt could not be read: the catalogue is empty
};

// SongList.txt in the program folder.
std::string songListPath(const std::string& programFolder);

// Loads SongList.txt from the program folder into `catalogue` (the run "LoadingSongDB"): the
// two header lines are skipped, every further line becomes one record. The run enters and
// leaves the busy state through the context, lets events run about every 16 ms, stops
// between two lines when stopRequested is set, and shows "กำลังอ่านข้อมูล N Records." on the
// result line. The indexes are built on worker threads while the file is read; a stop (or a
// clear of the catalogue) that comes while they are still being built after the last line
// stops and joins them first. Sets catalogueLoaded on a complete load; currentPage is 0
// afterwards.
LoadOutcome loadCatalogue(Catalogue& catalogue, RunContext& ctx, SearchView& view);

}  // namespace dadaz
