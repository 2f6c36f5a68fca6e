#include "duplicates/duplicate_search.h"

#include <optional>

#include "catalogue/song_files.h"
#include "catalogue/song_line.h"
#include "duplicates/duplicate_texts.h"
#include "library/song_paths.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

// MIDI sizes of the lines of one pair; each line's file is looked at once, as the pair
// moves on the current line's size becomes the previous one's.
class MidiSizes {
  public:
    MidiSizes(const FileSystem& fs, const SongPaths& paths) : fs_(fs), paths_(paths) {}

    std::optional<std::uint64_t> of(std::size_t index, const std::string& line) {
        for (Slot& slot : slots_) {
            if (slot.index == index) return slot.size;
        }
        Slot& slot = slots_[next_];
        next_ = 1 - next_;
        slot.index = index;
        const std::string path = songFileOfLine(paths_, SongFileKind::Midi, line);
        slot.size = path.empty() ? std::nullopt : fs_.fileSize(path);
        return slot.size;
    }

  private:
    struct Slot {
        std::size_t index = static_cast<std::size_t>(-1);
        std::optional<std::uint64_t> size;
    };
    const FileSystem& fs_;
    const SongPaths& paths_;
    Slot slots_[2];
    int next_ = 0;
};

class ResultBuilder {
  public:
    explicit ResultBuilder(std::vector<ResultLine>& lines) : lines_(lines) {}

    void appendPair(const std::string& previous, const std::string& current, bool mark) {
        if (lines_.empty() || lines_.back().text != previous) lines_.push_back({previous});
        lines_.push_back({current, mark});
    }
    void appendSeparator() {
        if (!lines_.empty() && isSeparatorLine(lines_.back().text)) return;
        lines_.push_back({duplicateSeparator()});
    }

  private:
    std::vector<ResultLine>& lines_;
};

}  // namespace

const std::string& duplicateSeparator() {
    static const std::string separator(120, '-');
    return separator;
}

NeighbourResult compareNeighbours(const std::vector<std::string>& songLines, const FileSystem& fs,
                                  const SongPaths& paths,
                                  const std::function<DuplicateCriterion()>& criterion,
                                  const std::function<void(std::size_t lines)>& pairDone) {
    NeighbourResult result;
    ResultBuilder out(result.lines);
    MidiSizes sizes(fs, paths);
    for (std::size_t i = 1; i < songLines.size(); ++i) {
        const std::string& previous = songLines[i - 1];
        const std::string& current = songLines[i];
        const DuplicateCriterion by = criterion();
        if (by == DuplicateCriterion::Everything) {
            if (keysEqual(wholeLineKey(previous), wholeLineKey(current)))
                out.appendPair(previous, current, true);
        } else if (!keysEqual(titleKey(previous), titleKey(current))) {
            out.appendSeparator();
        } else if (by == DuplicateCriterion::Title) {
            out.appendPair(previous, current, false);
        } else if (by == DuplicateCriterion::TitleMidi) {
            // A pair whose file cannot be measured is not listed: its sizes prove nothing.
            const auto a = sizes.of(i - 1, previous);
            const auto b = sizes.of(i, current);
            if (a && b && (*a > *b ? *a - *b : *b - *a) < 50)
                out.appendPair(previous, current, false);
        } else if (artistsRelated(artistKey(previous), artistKey(current))) {
            out.appendPair(previous, current, true);
        }
        if (result.lines.size() >= kMaxResultLines) {
            result.tooMany = true;
            break;
        }
        if (pairDone) pairDone(result.lines.size());
    }
    return result;
}

FinderResult findDuplicates(RunContext& ctx, const FinderHooks& hooks) {
    namespace text = duplicate_text;
    FinderResult finder;
    SessionState& state = ctx.state;
    if (isMultiFolderLayout(ctx.folders)) {
        ctx.prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text::kMultiFolder,
                       text::kMultiFolderTitle);
        finder.end = FinderResult::End::Refused;
        return finder;
    }
    state.duplicateSearchActive = true;
    auto finish = [&] {
        ctx.leaveBusy();
        state.duplicateSearchActive = false;
        return finder;
    };

    if (state.libraryChanged()) {
        const Answer answer = ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNoCancel,
                                             text::staleSongListQuestion());
        if (answer == Answer::Cancel) return finish();
        if (answer == Answer::Yes) hooks.rebuild();
    } else if (!state.songListCurrent) {
        if (ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                           text::noSongListQuestion()) == Answer::Yes)
            hooks.rebuild();
    }
    if (!state.duplicateSearchActive) {
        finder.end = FinderResult::End::Stopped;
        return finder;
    }

    const std::string songList = joinPath(ctx.programFolder, "SongList.txt");
    ctx.fs.forgetIndexes();  // the song list run may have just written it
    if (!ctx.fs.isFile(songList)) {
        if (ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                           text::missingSongListQuestion(ctx.programFolder)) != Answer::Yes)
            return finish();
        hooks.rebuild();
        ctx.fs.forgetIndexes();
    }

    ctx.enterBusy("FindDuplicate");
    hooks.prepare();
    finder.searched = true;
    ctx.progress.status(text::songCount(0));
    std::vector<std::string> lines =
        ctx.fs.readLines(songList).value_or(std::vector<std::string>{});
    lines.erase(lines.begin(),
                lines.begin() + static_cast<long>(std::min<std::size_t>(2, lines.size())));
    const SongPaths paths(ctx.fs, ctx.folders);
    // The counter follows the list, but a repaint per pair would cost more than the search.
    std::size_t shown = 0;
    auto lastShown = ctx.now();
    finder.result =
        compareNeighbours(lines, ctx.fs, paths, hooks.criterion, [&](std::size_t count) {
            ctx.pumpEvents();
            if (count == shown) return;
            const auto now = ctx.now();
            if (now - lastShown < std::chrono::milliseconds(40)) return;
            lastShown = now;
            shown = count;
            ctx.progress.status(text::songCount(count));
        });
    ctx.progress.status(text::songCount(finder.result.lines.size()));
    if (finder.result.tooMany)
        ctx.prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text::tooManyLines(),
                       text::kSearchTitle);
    return finish();
}

}  // namespace dadaz
