#include "catalogue/catalogue_loader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalogue/catalogue_texts.h"
#include "platform/filesystem.h"
#include "platform/regular_file.h"

namespace dadaz {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(16);

// Reads a file a block at a time and hands out its lines: a line ends at CR LF, a lone CR or
// a lone LF; a last line without an end still counts. One block of memory serves the whole
// file (a 100,000-song list read whole would cost a page fault every 4 KB).
class FileLines {
  public:
    // Only a regular file is read: a pipe in the file's place cannot hang the load.
    explicit FileLines(const std::string& path) : file_(path) {}

    bool opened() const { return file_.isOpen(); }
    // A read failed: the lines handed out are not the whole file.
    bool failed() const { return failed_; }
    std::size_t fileSize() const { return static_cast<std::size_t>(file_.size()); }

    // The next line, valid until the next call.
    bool next(std::string_view& line) {
        for (;;) {
            const char* const begin = block_.data() + begin_;
            const char* const end = block_.data() + end_;
            if (skipLineFeed_ && begin != end) {
                // A CR ended the last block; a LF opening this one belongs to it.
                skipLineFeed_ = false;
                if (*begin == '\n') {
                    ++begin_;
                    continue;
                }
            }
            // A CR, if any, ends the line before its LF.
            const auto* lineFeed = static_cast<const char*>(std::memchr(begin, '\n', end - begin));
            const auto* carriageReturn = static_cast<const char*>(
                std::memchr(begin, '\r', (lineFeed ? lineFeed : end) - begin));
            const char* const stop = carriageReturn ? carriageReturn : lineFeed ? lineFeed : end;
            if (stop != end) {
                line = std::string_view(begin, static_cast<std::size_t>(stop - begin));
                begin_ = static_cast<std::size_t>(stop - block_.data()) + 1;
                if (*stop == '\r') {
                    if (begin_ == end_) {
                        skipLineFeed_ = true;
                    } else if (block_[begin_] == '\n') {
                        ++begin_;
                    }
                }
                return true;
            }
            if (atEnd_) {
                if (begin == end) return false;
                line = std::string_view(begin, static_cast<std::size_t>(end - begin));
                begin_ = end_;
                return true;
            }
            readMore();
        }
    }

  private:
    void readMore() {
        // The unread start of a line moves to the front; a line longer than the block
        // doubles it.
        std::memmove(block_.data(), block_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        if (end_ == block_.size()) block_.resize(block_.size() * 2);
        const ssize_t got = file_.read(block_.data() + end_, block_.size() - end_);
        if (got <= 0) {
            atEnd_ = true;
            failed_ = got < 0;
            return;
        }
        end_ += static_cast<std::size_t>(got);
    }

    RegularFile file_;
    std::vector<char> block_ = std::vector<char>(std::size_t{1} << 18);
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool skipLineFeed_ = false;
    bool atEnd_ = false;
    bool failed_ = false;
};

}  // namespace

std::string songListPath(const std::string& programFolder) {
    return joinPath(programFolder, "SongList.txt");
}

LoadOutcome loadCatalogue(Catalogue& catalogue, RunContext& ctx, SearchView& view) {
    ctx.enterBusy("LoadingSongDB");
    view.loadingStarted();

    const auto path = ctx.fs.resolve(songListPath(ctx.programFolder));
    FileLines lines(path ? *path : std::string());
    CatalogueBuilder builder(catalogue, lines.fileSize());
    view.showResultLine(catalogue_text::loadingLine(0));
    bool stopped = false;
    if (lines.opened()) {
        std::string_view line;
        // The note line and the column line.
        lines.next(line);
        lines.next(line);
        auto lastPump = ctx.now();
        while (lines.next(line)) {
            const auto now = ctx.now();
            if (now - lastPump >= kPumpInterval) {
                lastPump = now;
                view.showResultLine(catalogue_text::loadingLine(catalogue.totalSongs()));
                ctx.pumpEvents();
            }
            if (ctx.state.stopRequested) {
                // Reading ends here; what was read is indexed all the same, and a further
                // stop (the window closing) ends that too.
                stopped = true;
                ctx.state.stopRequested = false;
                break;
            }
            builder.add(line);
        }
        view.showResultLine(catalogue_text::loadingLine(catalogue.totalSongs()));
    }
    const bool unreadable = !lines.opened() || lines.failed();
    if (unreadable) {
        // Part of a file is not the song list: nothing stays.
        catalogue.clear();
    } else if (!builder.finish([&ctx] {
                   ctx.pumpEvents();
                   return !ctx.state.stopRequested;
               })) {
        // Cancel or closing while the indexes were built: they were stopped, nothing stays.
        stopped = true;
    }

    view.loadingEnded();
    view.hideResultLine();
    catalogue.setCurrentPage(0);
    ctx.state.catalogueLoaded = !unreadable && !stopped;
    ctx.leaveBusy();
    if (stopped) {
        ctx.state.stopRequested = false;
        return LoadOutcome::Stopped;
    }
    return unreadable ? LoadOutcome::Unreadable : LoadOutcome::Loaded;
}

}  // namespace dadaz
