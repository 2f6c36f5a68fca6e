#include "catalogue/artist_list.h"

#include "catalogue/song_line.h"

namespace dadaz {

namespace {

std::string_view uncutName(std::string_view entry) {
    for (char mark : {'(', '[', '@', ';'}) {
        const auto at = entry.find(mark);
        if (at != std::string_view::npos) return entry.substr(0, at);
    }
    return entry;
}

}  // namespace

std::string artistBoxName(std::string_view entry) {
    return std::string(trimBlanks(uncutName(entry)));
}

std::vector<std::string> listArtists(const Catalogue& catalogue, RunPacer& pacer, bool& stopped) {
    std::vector<std::string> names;
    stopped = false;
    for (int p = 0; p <= catalogue.lastPage(); ++p) {
        const auto& artists = catalogue.page(p).artists;
        for (std::size_t i = 0; i < artists.size(); ++i) {
            if (pacer.stopNow()) {
                stopped = true;
                return names;
            }
            const std::string_view key = artists.key(i);
            // Artists shorter than three characters (blank ones too) are left out.
            if (key.size() < 3) continue;
            std::string name = artistBoxName(key);
            if (removeBlanks(name).empty()) continue;
            if (i > 0 && removeBlanks(name) == removeBlanks(artistBoxName(artists.key(i - 1)))) {
                continue;
            }
            names.push_back(std::move(name));
        }
    }
    return names;
}

}  // namespace dadaz
