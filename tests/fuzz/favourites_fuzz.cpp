// SelectSong.txt of any bytes, then a song line added: the list keeps every line it had, gains
// the song once, and a list written anew reads back the same.
#include <algorithm>
#include <cstdint>

#include "fuzz_support.h"
#include "operations/favourites.h"
#include "platform/filesystem.h"

using namespace dadaz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The song line to add comes first, up to a NUL; a result line never holds a line end.
    const std::size_t nul = std::min(input.find('\0'), input.size());
    const std::string song(input.substr(0, nul));
    if (song.find_first_of("\r\n") != std::string::npos) return 0;
    const std::string_view stored = nul < input.size() ? input.substr(nul + 1) : std::string_view();

    static FileSystem fs;
    FavouritesFile list(fs, fuzz::scratchFolder());
    fuzz::writeBytes(list.path(), stored);
    fs.forgetIndexes();

    const auto before = list.read();
    FUZZ_CHECK(before && *before == splitLines(stored));
    const bool chosen = std::any_of(before->begin(), before->end(), [&](const std::string& l) {
        return upperAscii(l) == upperAscii(song);
    });
    const FavouriteAdd added = list.add(song);
    const auto after = list.read();
    FUZZ_CHECK(after);
    if (chosen) {
        FUZZ_CHECK(added == FavouriteAdd::AlreadyChosen && *after == *before);
    } else {
        FUZZ_CHECK(added == FavouriteAdd::Added);
        std::vector<std::string> want = *before;
        want.push_back(song);
        FUZZ_CHECK(*after == want);
    }

    FUZZ_CHECK(list.write(*before));
    FUZZ_CHECK(list.read() == before);
    return 0;
}
