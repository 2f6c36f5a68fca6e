#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/search_view.h"
#include "library/run_context.h"

namespace dadaz {

// A query as the lyric search and the lyric highlight look for it: case ignored, and also
// with its blanks removed (a phrase typed with blanks finds a lyric written without them).
class LyricQuery {
  public:
    explicit LyricQuery(std::string_view query);
    // Whether the lyric holds the query; `lyric` is case-folded in place.
    bool matchesFolding(std::string& lyric) const;
    // Where the query (else the blank-free query) first stands in `lyric`, case ignored: its
    // position and length in characters (bytes of code page 874, which are also the UTF-16
    // positions of the converted text). Length 0 when neither is found.
    std::pair<std::size_t, std::size_t> find(std::string_view lyric) const;

  private:
    std::string folded_;
    std::string foldedWithoutBlanks_;
};

struct LyricSearchResult {
    std::vector<std::string> lines;  // kept song lines, catalogue order
    bool stopped = false;            // cancelled: only lines already read and matching are kept
};

// Reads the lyric file of every song of every page and keeps the lines whose lyric holds the
// query. The files are read on all cores while the calling thread lets the window's events
// run and shows "กรุณารอสักครู่..." and then the count still listed for the page. A lyric that
// cannot be read (or whose line gives no safe path) does not match. The last song looked at
// becomes the current song.
LyricSearchResult searchLyrics(const Catalogue& catalogue, std::string_view query, RunContext& ctx,
                               SearchView& view);

}  // namespace dadaz
