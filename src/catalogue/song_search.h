#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/paging.h"
#include "catalogue/search_query.h"
#include "catalogue/search_view.h"
#include "library/run_context.h"

namespace dadaz {

// The outcome of one search: what the result list, the result line, the page controls and
// the artist box show at its end.
struct SearchResult {
    bool ran = false;  // false when nothing was searched: nothing changed
    QueryKind kind = QueryKind::Browse;
    SongLines lines;                   // lstSongSearch(0), code page 874
    long found = 0;                    // result lines that are not separators
    long total = 0;                    // totalSongs
    bool stopped = false;              // cancelled: what was found so far is listed
    PageControls page;                 // browsing: as a page turn sets them; otherwise hidden
    bool artistListShown = false;      // "%A": cboArtist shows `artists`
    std::vector<std::string> artists;  // code page 874, in the box's order

    // "ค้นหาพบ N จาก T เพลง" (UTF-8).
    std::string resultLineText() const;
};

// The search (SongSearch) over a loaded catalogue, by the query language:
//   ""        the current page (browsing)
//   "%A"      the artists, into the artist box
//   "+++key"  artist begins with key      "++key"  title begins with key
//   "+key"    code begins with key        other    title, then artist, begins with it;
//             with searchAll a separator and every other line containing it (exact case)
//   searchLyric: every song whose lyric file holds the query (or it without blanks), case
//             ignored.
// Prefix matches ignore case and come in the index's order, page by page; the result holds the
// catalogue's own lines, not copies. Events run about every 16 ms; stopRequested ends the
// search with what was found so far, and is clear again at the end.
SearchResult runSongSearch(const Catalogue& catalogue, std::string_view query,
                           const SearchOptions& options, RunContext& ctx, SearchView& view);

// Count of the lines that are not separators.
long countSongs(const SongLines& lines);

}  // namespace dadaz
