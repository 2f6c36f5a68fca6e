#include "songlist/songlist_buttons.h"

#include "songlist/kar_converter.h"
#include "songlist/kar_texts.h"
#include "songlist/songlist_messages.h"

namespace dadaz {

std::optional<SongListResult> startSongListFromButton(RunContext& ctx, SongListOptions options) {
    // The karaoke-file form only while the converter can be started (a Windows converter
    // needs wine).
    if (ctx.state.makeKarAvailable && findKarConverter(ctx.fs, ctx.programFolder).ready()) {
        const Answer kar = ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNoCancel,
                                          kar_text::kChoiceKar);
        if (kar == Answer::Cancel) return std::nullopt;
        if (kar == Answer::Yes) {
            ctx.state.catalogueRequested = true;
            options.checkFiles = true;
            options.karMode = true;
            SongListResult result = runSongList(ctx, options);
            ctx.state.catalogueRequested = false;
            return result;
        }
    }
    const Answer ownList = ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNoCancel,
                                          songlist_text::kChoiceOwnList);
    if (ownList == Answer::Cancel) return std::nullopt;
    if (ownList == Answer::Yes) {
        ctx.state.catalogueRequested = true;
        options.checkFiles = false;
        SongListResult result = runSongList(ctx, options);
        ctx.state.catalogueRequested = false;
        return result;
    }
    const Answer form = ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNoCancel,
                                       songlist_text::kChoiceChecking);
    if (form == Answer::Cancel) return std::nullopt;
    options.checkFiles = form == Answer::No;
    return runSongList(ctx, options);
}

void askStopSongList(Prompt& prompt, SessionState& state) {
    if (prompt.ask(MessageIcon::Question, MessageButtons::YesNo, songlist_text::kStopQuestion) ==
        Answer::Yes) {
        state.stopRequested = true;
        state.duplicateSearchActive = false;
    } else {
        state.stopRequested = false;
    }
}

}  // namespace dadaz
