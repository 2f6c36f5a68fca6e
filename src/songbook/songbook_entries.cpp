#include "songbook/songbook_entries.h"

#include <algorithm>
#include <numeric>

#include "catalogue/song_line.h"
#include "platform/collation.h"
#include "songlist/song_entry.h"

namespace dadaz {

std::vector<SongBookEntry> songBookEntries(std::string_view text) {
    std::vector<SongBookEntry> entries;
    entries.reserve(text.size() / 48);
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos) {
            text = {};
        } else {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            text.remove_prefix(end + (crlf ? 2 : 1));
        }
        // The note line and the column line.
        if (++lineNumber <= 2 || trimBlanks(line).empty() || isSeparatorLine(line)) continue;
        std::string_view fields[4];
        for (auto& field : fields) {
            const std::size_t semicolon = line.find(';');
            field = trimBlanks(line.substr(0, semicolon));
            line = semicolon == std::string_view::npos ? std::string_view{}
                                                       : line.substr(semicolon + 1);
        }
        entries.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                           std::string(fields[3])});
    }
    return entries;
}

const std::string& orderedField(const SongBookEntry& entry, SongBookOrder order) {
    switch (order) {
        case SongBookOrder::Artist:
            return entry.artist;
        case SongBookOrder::Code:
            return entry.code;
        case SongBookOrder::Title:
            break;
    }
    return entry.title;
}

void orderSongBook(std::vector<SongBookEntry>& entries, SongBookOrder order) {
    const ThaiCollator collator;
    struct Key {
        int group;
        std::string collation;
    };
    std::vector<Key> keys;
    keys.reserve(entries.size());
    for (const SongBookEntry& e : entries) {
        SongEntry song{e.title, e.artist, e.key, e.code, {}};
        if (order == SongBookOrder::Artist) std::swap(song.title, song.artist);
        if (order == SongBookOrder::Code) {
            keys.push_back({0, collator.sortKey(e.code + ';' + song.sortText())});
        } else {
            keys.push_back({titleGroup(song.title), collator.sortKey(song.sortText())});
        }
    }
    std::vector<std::size_t> index(entries.size());
    std::iota(index.begin(), index.end(), std::size_t{0});
    std::stable_sort(index.begin(), index.end(), [&](std::size_t a, std::size_t b) {
        if (keys[a].group != keys[b].group) return keys[a].group < keys[b].group;
        return keys[a].collation < keys[b].collation;
    });
    std::vector<SongBookEntry> sorted;
    sorted.reserve(entries.size());
    for (std::size_t i : index) sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

std::string headingOf(std::string_view text) {
    if (text.empty()) return "#";
    auto c = static_cast<unsigned char>(text[0]);
    // เ แ โ ใ ไ stand before the consonant they are read after.
    if (c >= 0xE0 && c <= 0xE4 && text.size() > 1) c = static_cast<unsigned char>(text[1]);
    if (c >= 0xA1 && c <= 0xCE) return std::string(1, static_cast<char>(c));
    if (c >= 'a' && c <= 'z') return std::string(1, static_cast<char>(c - 'a' + 'A'));
    if (c >= 'A' && c <= 'Z') return std::string(1, static_cast<char>(c));
    if ((c >= '0' && c <= '9') || (c >= 0xF0 && c <= 0xF9)) return "0-9";
    return "#";
}

}  // namespace dadaz
