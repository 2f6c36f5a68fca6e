// SongList.txt of any bytes, loaded into the catalogue as the search mode loads it: every line
// after the two header lines becomes one record, in file order, whatever its line ends.
#include <cstdint>

#include "catalogue/catalogue_loader.h"
#include "catalogue/song_line.h"
#include "fuzz_support.h"
#include "platform/filesystem.h"

using namespace dadaz;

namespace {

void loadAndCheck(std::string_view bytes) {
    static fuzz::QuietRun run;
    fuzz::writeBytes(songListPath(run.ctx.programFolder), bytes);
    run.fs.forgetIndexes();

    Catalogue catalogue;
    SearchView view;
    FUZZ_CHECK(loadCatalogue(catalogue, run.ctx, view) == LoadOutcome::Loaded);
    FUZZ_CHECK(run.state.catalogueLoaded);

    const std::vector<std::string> lines = splitLines(bytes);
    const std::size_t records = lines.size() > 2 ? lines.size() - 2 : 0;
    FUZZ_CHECK(catalogue.totalSongs() == static_cast<long>(records));
    std::size_t next = 2;
    for (int p = 0; p <= catalogue.lastPage(); ++p) {
        const CataloguePage& page = catalogue.page(p);
        FUZZ_CHECK(page.songs.size() <= kPageCapacity);
        FUZZ_CHECK(page.codes.size() == page.songs.size());
        FUZZ_CHECK(page.names.size() == page.songs.size());
        FUZZ_CHECK(page.artists.size() == page.songs.size());
        for (std::uint32_t r = 0; r < page.songs.size(); ++r) {
            FUZZ_CHECK(next < lines.size() && page.songs[r] == lines[next++]);
        }
        // Each index names every record once, by the fields of its own line.
        for (const PrefixIndex* index : {&page.codes, &page.names, &page.artists}) {
            std::vector<bool> seen(page.songs.size());
            for (std::size_t i = 0; i < index->size(); ++i) {
                const std::uint32_t record = index->record(i);
                FUZZ_CHECK(record < seen.size() && !seen[record]);
                seen[record] = true;
                const SongLineFields fields = splitSongLine(page.songs[record]);
                const std::string_view want = index == &page.codes   ? fields.code
                                              : index == &page.names ? fields.title
                                                                     : fields.artist;
                FUZZ_CHECK(index->key(i) == want);
            }
        }
    }
    FUZZ_CHECK(next - 2 == records);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    loadAndCheck(bytes);
    // Some inputs again behind a first line that ends just before the loader's first 256 KB
    // block does, so their first line ends fall on the block's end. (That costs a page of
    // 256 KB, so only inputs whose size is a multiple of 8.)
    if (size % 8 != 0) return 0;
    static const std::string filler = std::string((std::size_t{1} << 18) - 3, 'n') + "\n";
    loadAndCheck(filler + std::string(bytes));
    return 0;
}
