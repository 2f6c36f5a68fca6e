#include "catalogue/song_search.h"

#include <algorithm>
#include <set>

#include "catalogue/artist_list.h"
#include "catalogue/catalogue_texts.h"
#include "catalogue/lyric_search.h"
#include "catalogue/run_pacer.h"
#include "catalogue/song_line.h"

namespace dadaz {

long countSongs(const SongLines& lines) {
    return static_cast<long>(std::count_if(lines.begin(), lines.end(),
                                           [](const auto& l) { return !isSeparatorLine(l); }));
}

std::string SearchResult::resultLineText() const {
    return catalogue_text::resultLine(found, total);
}

namespace {

// Collects result lines, by reference to the catalogue's own, and counts the songs among them;
// remembers them, case folded, for the every-part pass, which leaves out a line when the list
// already holds a line that begins with it.
class ResultList {
  public:
    ResultList(SearchResult& result, bool remember) : result_(result), remember_(remember) {}
    void addSong(const CataloguePage& page, const std::string& line) {
        result_.lines.addReference(line);
        // Only a page holding separator-like lines needs each line looked at.
        if (page.separatorLines == 0 || !isSeparatorLine(line)) ++result_.found;
        if (remember_) folded_.insert(foldCase(line));
    }
    void addSeparator() {
        result_.lines.addCopy(separatorLine());
        if (remember_) folded_.insert(separatorLine());
    }
    void reserveMore(std::size_t count) { result_.lines.reserve(result_.lines.size() + count); }
    bool holdsLineBeginningWith(std::string_view line) const {
        const std::string folded = foldCase(line);
        const auto it = folded_.lower_bound(folded);
        return it != folded_.end() && it->starts_with(folded);
    }

  private:
    SearchResult& result_;
    bool remember_;
    std::set<std::string, std::less<>> folded_;
};

// Appends the song of every index entry that begins with `key`, in the index's order; false
// when the user stopped the search.
bool addPrefixMatches(const CataloguePage& page, const PrefixIndex& index, std::string_view key,
                      ResultList& results, RunPacer& pacer) {
    const auto positions = index.findPrefix(key);
    results.reserveMore(positions.size());
    for (const auto position : positions) {
        if (pacer.stopNow()) return false;
        if (const auto* song = page.song(index.record(position))) results.addSong(page, *song);
    }
    return true;
}

// Every line that holds the query in exactly its case and is not listed yet.
bool addEveryPartMatches(const CataloguePage& page, std::string_view query, ResultList& results,
                         RunPacer& pacer) {
    results.addSeparator();
    for (const auto& song : page.songs) {
        if (pacer.stopNow()) return false;
        if (song.find(query) != std::string::npos && !results.holdsLineBeginningWith(song)) {
            results.addSong(page, song);
        }
    }
    return true;
}

// The prefix searches and the plain search, page by page; false when stopped.
bool searchIndexes(const Catalogue& catalogue, const ParsedQuery& parsed,
                   const SearchOptions& options, ResultList& results, RunPacer& pacer) {
    for (int p = 0; p <= catalogue.lastPage(); ++p) {
        const auto& page = catalogue.page(p);
        switch (parsed.kind) {
            case QueryKind::ArtistPrefix:
                if (!addPrefixMatches(page, page.artists, parsed.key, results, pacer)) return false;
                break;
            case QueryKind::TitlePrefix:
                if (!addPrefixMatches(page, page.names, parsed.key, results, pacer)) return false;
                break;
            case QueryKind::CodePrefix:
                if (!addPrefixMatches(page, page.codes, parsed.key, results, pacer)) return false;
                break;
            case QueryKind::Plain:
                if (!addPrefixMatches(page, page.names, parsed.key, results, pacer) ||
                    !addPrefixMatches(page, page.artists, parsed.key, results, pacer)) {
                    return false;
                }
                if (options.searchAll && !addEveryPartMatches(page, parsed.key, results, pacer)) {
                    return false;
                }
                break;
            default:
                return true;
        }
    }
    return true;
}

}  // namespace

SearchResult runSongSearch(const Catalogue& live, std::string_view query,
                           const SearchOptions& options, RunContext& ctx, SearchView& view) {
    SearchResult result;
    // The search lets events run: should the window close and clear the catalogue meanwhile,
    // the pages searched stay alive until it ends.
    const Catalogue catalogue = live.snapshot();
    result.ran = true;
    const ParsedQuery parsed = parseQuery(query, options);
    result.kind = parsed.kind;
    result.total = catalogue.totalSongs();
    ctx.state.stopRequested = false;
    view.searchStarted(parsed.kind == QueryKind::Browse);

    RunPacer pacer(ctx);
    switch (parsed.kind) {
        case QueryKind::Browse:
            result.lines = currentPageLines(catalogue);
            result.found = currentPageSongs(catalogue);
            result.page = pageControls(catalogue.currentPage(), catalogue.lastPage());
            break;
        case QueryKind::ArtistList: {
            view.artistListStarted();
            result.artistListShown = true;
            result.artists = listArtists(catalogue, pacer, result.stopped);
            break;
        }
        case QueryKind::Lyric: {
            auto lyric = searchLyrics(catalogue, parsed.key, ctx, view);
            result.lines = SongLines(std::move(lyric.lines));
            result.found = countSongs(result.lines);
            result.stopped = lyric.stopped;
            break;
        }
        default: {
            result.lines.keepAlive(catalogue.pages());
            ResultList results(result, options.searchAll && parsed.kind == QueryKind::Plain);
            result.stopped = !searchIndexes(catalogue, parsed, options, results, pacer);
            break;
        }
    }
    ctx.state.stopRequested = false;
    return result;
}

}  // namespace dadaz
