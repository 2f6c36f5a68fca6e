#pragma once

#include <string>
#include <string_view>

namespace dadaz {

// The two options that widen a plain search.
struct SearchOptions {
    bool searchAll = false;    // chkSearchAll: every part of the line
    bool searchLyric = false;  // chkSearchLyric: words of the lyric
};

enum class QueryKind {
    Browse,        // empty query: the current catalogue page
    Lyric,         // lyric option: songs whose lyric holds the query
    ArtistList,    // "%A": fill the artist box
    ArtistPrefix,  // "+++key"
    TitlePrefix,   // "++key"
    CodePrefix,    // "+key"
    Plain,         // titles, then artists (then every part with the option) by the query
};

struct ParsedQuery {
    QueryKind kind = QueryKind::Browse;
    std::string key;  // the text searched for (code page 874)
};

// Tells the field from the first characters, compared exactly ("%a" is a plain query). The
// lyric option takes any query that is not empty.
ParsedQuery parseQuery(std::string_view query, const SearchOptions& options);

// Enabled states of chkSearchAll and chkSearchLyric.
struct OptionStates {
    bool searchAllEnabled = true;
    bool searchLyricEnabled = true;
    bool operator==(const OptionStates&) const = default;
};
// By the ticks: a ticked option disables the other one (after every search, and on key-up).
OptionStates optionStatesByTicks(const SearchOptions& ticks);
// On a key-up other than Enter: a search text beginning with "+" disables both.
OptionStates optionStatesOnKeyUp(std::string_view searchText, const SearchOptions& ticks);

// The search text a pick in the artist box runs: "+++" and the name.
std::string artistPickQuery(std::string_view artistName);

}  // namespace dadaz
