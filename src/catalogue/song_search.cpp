#include "catalogue/song_search.h"

#include <set>

#include "catalogue/artist_list.h"
#include "catalogue/catalogue_texts.h"
#include "catalogue/lyric_search.h"
#include "catalogue/run_pacer.h"
#include "catalogue/song_line.h"

namespace dadaz {

long countSongs(const std::vector<std::string>& lines) {
    long count = 0;
    for (const auto& line : lines) {
        if (!isSeparatorLine(line)) ++count;
    }
    return count;
}

std::string SearchResult::resultLineText() const {
    return catalogue_text::resultLine(found, total);
}

namespace {

// Collects result lines and remembers them, case folded, for the every-part pass, which
// leaves out a line when the list already holds a line that begins with it.
class ResultList {
  public:
    explicit ResultList(std::vector<std::string>& lines, bool remember)
        : lines_(lines), remember_(remember) {}
    void add(const std::string& line) {
        lines_.push_back(line);
        if (remember_) folded_.insert(foldCase(line));
    }
    bool holdsLineBeginningWith(std::string_view line) const {
        const std::string folded = foldCase(line);
        const auto it = folded_.lower_bound(folded);
        return it != folded_.end() && it->starts_with(folded);
    }

  private:
    std::vector<std::string>& lines_;
    bool remember_;
    std::set<std::string, std::less<>> folded_;
};

// Appends the song of every index entry that begins with `key`, in the index's order; false
// when the user stopped the search.
bool addPrefixMatches(const CataloguePage& page, const PrefixIndex& index, std::string_view key,
                      ResultList& results, RunPacer& pacer) {
    for (const auto position : index.findPrefix(key)) {
        if (pacer.stopNow()) return false;
        if (const auto* song = page.song(index.record(position))) results.add(*song);
    }
    return true;
}

// Every line that holds the query in exactly its case and is not listed yet.
bool addEveryPartMatches(const CataloguePage& page, std::string_view query, ResultList& results,
                         RunPacer& pacer) {
    results.add(separatorLine());
    for (const auto& song : page.songs) {
        if (pacer.stopNow()) return false;
        if (song.find(query) != std::string::npos && !results.holdsLineBeginningWith(song)) {
            results.add(song);
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

SearchResult runSongSearch(const Catalogue& catalogue, std::string_view query,
                           const SearchOptions& options, RunContext& ctx, SearchView& view) {
    SearchResult result;
    result.ran = true;
    const ParsedQuery parsed = parseQuery(query, options);
    result.kind = parsed.kind;
    result.total = catalogue.totalSongs();
    ctx.state.stopRequested = false;
    view.searchStarted(parsed.kind == QueryKind::Browse);

    RunPacer pacer(ctx);
    switch (parsed.kind) {
        case QueryKind::Browse:
            result.lines = catalogue.page(catalogue.currentPage()).songs;
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
            result.lines = std::move(lyric.lines);
            result.stopped = lyric.stopped;
            break;
        }
        default: {
            ResultList results(result.lines, options.searchAll && parsed.kind == QueryKind::Plain);
            result.stopped = !searchIndexes(catalogue, parsed, options, results, pacer);
            break;
        }
    }
    result.found = countSongs(result.lines);
    ctx.state.stopRequested = false;
    return result;
}

}  // namespace dadaz
