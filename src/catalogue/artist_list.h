#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/run_pacer.h"

namespace dadaz {

// The name the artist box shows for an artist of the index (or an entry "artist;record"): cut
// before the first "(", else "[", else "@", else ";", and trimmed (so that a pick, which
// searches for the name as a prefix, also finds the songs listed without the note).
std::string artistBoxName(std::string_view entry);

// The artist box's items: the artist index of every page in its order, leaving out artists
// shorter than three characters and names equal (blanks ignored) to the one of the entry just
// before in the index; the first entry of each page is never compared. `stopped` tells that
// the pacer ended the walk early.
std::vector<std::string> listArtists(const Catalogue& catalogue, RunPacer& pacer, bool& stopped);

}  // namespace dadaz
