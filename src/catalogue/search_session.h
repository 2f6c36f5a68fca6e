#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/paging.h"
#include "catalogue/song_detail.h"
#include "catalogue/song_search.h"

namespace dadaz {

// The song search mode's state, kept by the main window from start to close: the catalogue
// (with lastPage, currentPage, totalSongs) and the handlers of Enter, the page buttons and a
// selection. Questions go through the context's prompt; the current song is the session
// state's.
class SearchSession {
  public:
    // Runs the song list builder for this program's own list (catalogueRequested is set while
    // it runs); the window and the command-line tool supply it.
    using BuildSongList = std::function<void(RunContext&)>;

    Catalogue& catalogue() { return catalogue_; }
    const Catalogue& catalogue() const { return catalogue_; }

    // Enter in the search box, with the trimmed search text: loads the catalogue first where
    // needed (asking about an outdated or missing song list, and building it on Yes), then
    // searches. `ran` is false in the result when nothing was searched (the user cancelled,
    // or the song list is missing).
    SearchResult enter(std::string_view query, const SearchOptions& options, RunContext& ctx,
                       SearchView& view, const BuildSongList& build);
    // The search alone (an artist pick, or a repeat). Like loading, it does nothing before
    // the first Enter.
    SearchResult search(std::string_view query, const SearchOptions& options, RunContext& ctx,
                        SearchView& view);
    // Loads the catalogue (the run "LoadingSongDB"); NotRequested before the first Enter.
    LoadOutcome load(RunContext& ctx, SearchView& view);

    // Page buttons.
    PageView nextPage() { return dadaz::nextPage(catalogue_); }
    PageView previousPage() { return dadaz::previousPage(catalogue_); }

    // A click on a result line: the song detail, whose song becomes the current song; on Yes
    // to a rebuild offer the song list is built, the catalogue loaded and `query` searched
    // again (`research`). `query` is also highlighted in the lyric when the lyric option is
    // ticked.
    struct Selection {
        SongDetail detail;
        std::optional<SearchResult> research;
    };
    Selection select(std::string_view line, std::string_view query, const SearchOptions& options,
                     RunContext& ctx, SearchView& view, const BuildSongList& build);

  private:
    SearchResult loadAndSearch(std::string_view query, const SearchOptions& options,
                               RunContext& ctx, SearchView& view);
    SearchResult buildLoadAndSearch(std::string_view query, const SearchOptions& options,
                                    RunContext& ctx, SearchView& view, const BuildSongList& build);

    Catalogue catalogue_;
    // Enter in the search box asked for the catalogue; loading and searching wait for it.
    bool requested_ = false;
};

}  // namespace dadaz
