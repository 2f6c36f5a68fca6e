// A search query of any bytes over a catalogue of any song lines. The first byte chooses the
// options, the query runs to the first line end, the song lines follow. Prefix searches must
// find exactly the songs a plain scan finds.
#include <algorithm>
#include <cstdint>

#include "catalogue/song_line.h"
#include "catalogue/song_search.h"
#include "fuzz_support.h"
#include "platform/filesystem.h"

using namespace dadaz;

namespace {

// The lines whose index entry "field;record" begins with the key, case ignored, in file order.
std::vector<std::string> scan(const std::vector<std::string>& lines, QueryKind kind,
                              std::string_view key) {
    std::vector<std::string> found;
    const std::string folded = foldCase(key);
    for (std::size_t r = 0; r < lines.size(); ++r) {
        const SongLineFields fields = splitSongLine(lines[r]);
        const std::string_view field = kind == QueryKind::CodePrefix    ? fields.code
                                       : kind == QueryKind::TitlePrefix ? fields.title
                                                                        : fields.artist;
        if (startsWithFolded(std::string(field) + ";" + std::to_string(r), folded))
            found.push_back(lines[r]);
    }
    return found;
}

std::vector<std::string> sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    SearchOptions options;
    options.searchAll = data[0] & 1;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string query(rest.substr(0, end));
    const std::vector<std::string> lines =
        end < rest.size() ? splitLines(rest.substr(end + 1)) : std::vector<std::string>{};

    static fuzz::QuietRun run;
    Catalogue catalogue;
    {
        CatalogueBuilder builder(catalogue);
        for (const std::string& line : lines) builder.add(line);
        FUZZ_CHECK(builder.finish());
    }
    SearchView view;
    const SearchResult result = runSongSearch(catalogue, query, options, run.ctx, view);
    FUZZ_CHECK(result.ran && !result.stopped);
    FUZZ_CHECK(result.total == static_cast<long>(lines.size()));
    const ParsedQuery parsed = parseQuery(query, options);
    const std::vector<std::string> listed = result.lines.copies();
    switch (parsed.kind) {
        case QueryKind::TitlePrefix:
            // Titles keep the file's order.
            FUZZ_CHECK(listed == scan(lines, parsed.kind, parsed.key));
            break;
        case QueryKind::CodePrefix:
        case QueryKind::ArtistPrefix:
            FUZZ_CHECK(sorted(listed) == sorted(scan(lines, parsed.kind, parsed.key)));
            break;
        case QueryKind::Plain: {
            std::vector<std::string> want = scan(lines, QueryKind::TitlePrefix, parsed.key);
            FUZZ_CHECK(std::equal(want.begin(), want.end(), listed.begin(),
                                  listed.begin() + std::min(want.size(), listed.size())));
            const auto artists = scan(lines, QueryKind::ArtistPrefix, parsed.key);
            want.insert(want.end(), artists.begin(), artists.end());
            if (!options.searchAll) {
                FUZZ_CHECK(sorted(listed) == sorted(want));
                break;
            }
            // Then a separator and every other line holding the query as typed.
            FUZZ_CHECK(listed.size() > want.size() && listed[want.size()] == separatorLine());
            FUZZ_CHECK(sorted({listed.begin(), listed.begin() + static_cast<long>(want.size())}) ==
                       sorted(want));
            for (std::size_t i = want.size() + 1; i < listed.size(); ++i)
                FUZZ_CHECK(listed[i].find(parsed.key) != std::string::npos);
            break;
        }
        default:
            break;
    }
    if (!options.searchAll) FUZZ_CHECK(result.found == countSongs(result.lines));
    return 0;
}
