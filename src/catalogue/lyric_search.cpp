#include "catalogue/lyric_search.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "catalogue/catalogue_texts.h"
#include "catalogue/lyric_reader.h"
#include "catalogue/song_files.h"
#include "catalogue/song_line.h"

namespace dadaz {

LyricQuery::LyricQuery(std::string_view query)
    : folded_(foldCase(query)), foldedWithoutBlanks_(removeBlanks(folded_)) {}

bool LyricQuery::matchesFolding(std::string& lyric) const {
    foldCaseInPlace(lyric);
    return findBytes(lyric, folded_) != std::string_view::npos ||
           findBytes(lyric, foldedWithoutBlanks_) != std::string_view::npos;
}

std::pair<std::size_t, std::size_t> LyricQuery::find(std::string_view lyric) const {
    const std::string folded = foldCase(lyric);
    if (auto at = findBytes(folded, folded_); at != std::string_view::npos) {
        return {at, folded_.size()};
    }
    if (auto at = findBytes(folded, foldedWithoutBlanks_); at != std::string_view::npos) {
        return {at, foldedWithoutBlanks_.size()};
    }
    return {0, 0};
}

namespace {

enum Verdict : std::uint8_t { kUnread = 0, kKeep = 1, kDrop = 2 };

unsigned readerCount() {
    return std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
}

}  // namespace

LyricSearchResult searchLyrics(const Catalogue& catalogue, std::string_view query, RunContext& ctx,
                               SearchView& view) {
    LyricSearchResult result;
    const LyricQuery lyricQuery(query);
    const SongPaths paths(ctx.fs, ctx.folders);
    LyricFileReader reader(ctx.fs);
    for (int p = 0; p <= catalogue.lastPage() && !result.stopped; ++p) {
        view.showResultLine(catalogue_text::kPleaseWait);
        const auto& songs = catalogue.page(p).songs;
        std::vector<Verdict> verdicts(songs.size(), kUnread);
        std::atomic<std::size_t> next{0};
        std::atomic<long> read{0}, kept{0};
        constexpr std::size_t kChunk = 32;

        auto work = [&] {
            std::string lyric;
            for (;;) {
                const std::size_t start = next.fetch_add(kChunk);
                if (start >= songs.size()) return;
                const std::size_t end = std::min(songs.size(), start + kChunk);
                for (std::size_t i = start; i < end; ++i) {
                    if (ctx.state.stopRequested) return;
                    const std::string path = songFileOfLine(paths, SongFileKind::Lyric, songs[i]);
                    const bool match = !path.empty() && reader.read(path, lyric) &&
                                       lyricQuery.matchesFolding(lyric);
                    verdicts[i] = match ? kKeep : kDrop;
                    if (match) kept.fetch_add(1, std::memory_order_relaxed);
                    read.fetch_add(1, std::memory_order_relaxed);
                }
            }
        };
        std::vector<std::future<void>> tasks;
        for (unsigned i = 0; i < readerCount(); ++i) {
            tasks.push_back(std::async(std::launch::async, work));
        }
        for (auto& task : tasks) {
            while (task.wait_for(std::chrono::milliseconds(16)) != std::future_status::ready) {
                // The list still holds the matches and the lines not read yet.
                const long remaining = kept + static_cast<long>(songs.size()) - read;
                view.showResultLine(catalogue_text::resultLine(remaining, catalogue.totalSongs()));
                ctx.pumpEvents();
            }
            task.get();
        }
        if (ctx.state.stopRequested) result.stopped = true;
        for (std::size_t i = 0; i < songs.size(); ++i) {
            if (verdicts[i] == kKeep) result.lines.push_back(songs[i]);
        }
        for (std::size_t i = songs.size(); i-- > 0;) {
            if (verdicts[i] != kUnread) {
                ctx.state.currentSong = currentSongOfLine(songs[i], paths.multiFolder());
                break;
            }
        }
    }
    return result;
}

}  // namespace dadaz
