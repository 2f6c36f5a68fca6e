#include "catalogue/search_query.h"

namespace dadaz {

ParsedQuery parseQuery(std::string_view query, const SearchOptions& options) {
    if (query.empty()) return {QueryKind::Browse, {}};
    if (options.searchLyric) return {QueryKind::Lyric, std::string(query)};
    if (query.starts_with("%A")) return {QueryKind::ArtistList, {}};
    if (query.starts_with("+++")) return {QueryKind::ArtistPrefix, std::string(query.substr(3))};
    if (query.starts_with("++")) return {QueryKind::TitlePrefix, std::string(query.substr(2))};
    if (query.starts_with("+")) return {QueryKind::CodePrefix, std::string(query.substr(1))};
    return {QueryKind::Plain, std::string(query)};
}

OptionStates optionStatesByTicks(const SearchOptions& ticks) {
    if (ticks.searchAll) return {true, false};
    if (ticks.searchLyric) return {false, true};
    return {true, true};
}

OptionStates optionStatesOnKeyUp(std::string_view searchText, const SearchOptions& ticks) {
    if (searchText.starts_with("+")) return {false, false};
    return optionStatesByTicks(ticks);
}

std::string artistPickQuery(std::string_view artistName) {
    return "+++" + std::string(artistName);
}

}  // namespace dadaz
