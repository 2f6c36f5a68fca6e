#include "catalogue/catalogue_loader.h"

#include <algorithm>

#include "catalogue/catalogue_texts.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(16);

// Walks the lines of a text: a line ends at CR LF, a lone CR or a lone LF; a last line
// without an end still counts.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const auto end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
            return true;
        }
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string songListPath(const std::string& programFolder) {
    return joinPath(programFolder, "SongList.txt");
}

LoadOutcome loadCatalogue(Catalogue& catalogue, RunContext& ctx, SearchView& view) {
    ctx.enterBusy("LoadingSongDB");
    view.loadingStarted();

    const auto path = ctx.fs.resolve(songListPath(ctx.programFolder));
    const auto bytes = path ? ctx.fs.readFile(*path) : std::nullopt;
    const std::size_t lineEnds = bytes ? std::count(bytes->begin(), bytes->end(), '\n') : 0;
    CatalogueBuilder builder(catalogue, lineEnds > 2 ? lineEnds - 2 : 0);
    view.showResultLine(catalogue_text::loadingLine(0));
    bool stopped = false;
    if (bytes) {
        LineReader reader(*bytes);
        std::string_view line;
        // The note line and the column line.
        reader.next(line);
        reader.next(line);
        auto lastPump = ctx.now();
        while (true) {
            const auto now = ctx.now();
            if (now - lastPump >= kPumpInterval) {
                lastPump = now;
                view.showResultLine(catalogue_text::loadingLine(catalogue.totalSongs()));
                ctx.pumpEvents();
            }
            if (ctx.state.stopRequested) {
                stopped = true;
                break;
            }
            if (!reader.next(line)) break;
            builder.add(std::string(line));
        }
        view.showResultLine(catalogue_text::loadingLine(catalogue.totalSongs()));
    }
    builder.finish(ctx.pumpEvents);

    view.loadingEnded();
    view.hideResultLine();
    catalogue.setCurrentPage(0);
    ctx.state.catalogueLoaded = bytes.has_value();
    ctx.leaveBusy();
    if (stopped) {
        ctx.state.stopRequested = false;
        ctx.state.catalogueLoaded = false;
        return LoadOutcome::Stopped;
    }
    return bytes ? LoadOutcome::Loaded : LoadOutcome::Unreadable;
}

}  // namespace dadaz
