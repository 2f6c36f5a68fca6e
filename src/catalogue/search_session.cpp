#include "catalogue/search_session.h"

#include "catalogue/catalogue_texts.h"
#include "library/song_paths.h"

namespace dadaz {

LoadOutcome SearchSession::load(RunContext& ctx, SearchView& view) {
    return loadCatalogue(catalogue_, ctx, view);
}

SearchResult SearchSession::search(std::string_view query, const SearchOptions& options,
                                   RunContext& ctx, SearchView& view) {
    SearchResult result = runSongSearch(catalogue_, query, options, ctx, view);
    if (!result.currentSongCode.empty()) currentSongCode_ = result.currentSongCode;
    return result;
}

SearchResult SearchSession::loadAndSearch(std::string_view query, const SearchOptions& options,
                                          RunContext& ctx, SearchView& view) {
    load(ctx, view);
    return search(query, options, ctx, view);
}

SearchResult SearchSession::buildLoadAndSearch(std::string_view query, const SearchOptions& options,
                                               RunContext& ctx, SearchView& view,
                                               const BuildSongList& build) {
    if (build) build(ctx);
    return loadAndSearch(query, options, ctx, view);
}

SearchResult SearchSession::enter(std::string_view query, const SearchOptions& options,
                                  RunContext& ctx, SearchView& view, const BuildSongList& build) {
    ctx.state.catalogueRequested = true;
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
        currentSongCode_ = selection.detail.code;
        currentVolume_ = selection.detail.volume;
    }
    if (selection.detail.rebuildRequested) {
        selection.research = buildLoadAndSearch(query, options, ctx, view, build);
    }
    return selection;
}

}  // namespace dadaz
