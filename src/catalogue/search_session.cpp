#include "catalogue/search_session.h"

#include "catalogue/catalogue_texts.h"
#include "library/song_paths.h"

namespace dadaz {

LoadOutcome SearchSession::load(RunContext& ctx, SearchView& view) {
    if (!requested_) return LoadOutcome::NotRequested;
    return loadCatalogue(catalogue_, ctx, view);
}

SearchResult SearchSession::search(std::string_view query, const SearchOptions& options,
                                   RunContext& ctx, SearchView& view) {
    if (!requested_) return {};
    return runSongSearch(catalogue_, query, options, ctx, view);
}

SearchResult SearchSession::loadAndSearch(std::string_view query, const SearchOptions& options,
                                          RunContext& ctx, SearchView& view) {
    load(ctx, view);
    return search(query, options, ctx, view);
}

SearchResult SearchSession::buildLoadAndSearch(std::string_view query, const SearchOptions& options,
                                               RunContext& ctx, SearchView& view,
                                               const BuildSongList& build) {
    if (build) {
        // Only this run writes the catalogue's own list: a later run from the list panel
        // writes the player database again.
        ctx.state.catalogueRequested = true;
        build(ctx);
        ctx.state.catalogueRequested = false;
    }
    return loadAndSearch(query, options, ctx, view);
}

SearchResult SearchSession::enter(std::string_view query, const SearchOptions& options,
                                  RunContext& ctx, SearchView& view, const BuildSongList& build) {
    requested_ = true;
    if (!catalogue_.page(catalogue_.currentPage()).songs.empty()) {
        if (ctx.state.catalogueLoaded) return search(query, options, ctx, view);
        return loadAndSearch(query, options, ctx, view);
    }

    const bool listExists = ctx.fs.isFile(songListPath(ctx.programFolder));
    if (ctx.state.libraryChanged()) {
        const Answer answer = ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNoCancel,
                                             catalogue_text::kLibraryChangedQuestion);
        if (!listExists) {
            ctx.prompt.ask(MessageIcon::Critical, MessageButtons::Ok,
                           catalogue_text::kSongListDeleted);
            return {};
        }
        if (answer == Answer::Yes) return buildLoadAndSearch(query, options, ctx, view, build);
        if (answer == Answer::No) return loadAndSearch(query, options, ctx, view);
        return {};
    }
    if (ctx.state.songListCurrent) return loadAndSearch(query, options, ctx, view);
    if (!listExists) {
        const std::string text = std::string(catalogue_text::kSongListMissingHead) +
                                 ctx.programFolder + catalogue_text::kSongListMissingTail;
        if (ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNo, text) == Answer::Yes) {
            return buildLoadAndSearch(query, options, ctx, view, build);
        }
        return {};
    }
    return loadAndSearch(query, options, ctx, view);
}

SearchSession::Selection SearchSession::select(std::string_view line, std::string_view query,
                                               const SearchOptions& options, RunContext& ctx,
                                               SearchView& view, const BuildSongList& build) {
    Selection selection;
    const SongPaths paths(ctx.fs, ctx.folders);
    selection.detail = showSongDetail(line, paths, ctx.fs, ctx.prompt,
                                      options.searchLyric ? query : std::string_view{});
    if (selection.detail.outcome != DetailOutcome::Separator) {
        ctx.state.currentSong = selection.detail.song;
    }
    if (selection.detail.rebuildRequested) {
        selection.research = buildLoadAndSearch(query, options, ctx, view, build);
    }
    return selection;
}

}  // namespace dadaz
