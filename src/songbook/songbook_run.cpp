#include "songbook/songbook_run.h"

#include <filesystem>
#include <system_error>

#include "platform/filesystem.h"
#include "platform/progress.h"
#include "songbook/songbook_texts.h"
#include "songlist/songlist_file.h"

namespace dadaz {

SongBookOutcome makeSongBook(const FileSystem& fs, const std::string& programFolder,
                             const SongBookOptions& options, const std::string& pdfPath,
                             const std::function<void(std::size_t, std::size_t)>& afterPage) {
    SongBookOutcome outcome;
    const auto text = fs.readFile(programFolder + "/" + kSongListFileName);
    if (!text) {
        outcome.message = songbook_text::kNoSongList;
        return outcome;
    }
    std::vector<SongBookEntry> entries = songBookEntries(*text);
    orderSongBook(entries, options.order);
    outcome.songs = entries.size();
    const std::size_t total = entries.size();
    const SongBookResult result = writeSongBook(entries, options, pdfPath, [&](std::size_t done) {
        if (afterPage) afterPage(done, total);
    });
    outcome.written = result.written;
    outcome.pages = result.pages;
    if (result.written) {
        outcome.message = songbook_text::kDone + pdfPath + "\n" +
                          formatCount(static_cast<long long>(outcome.songs)) +
                          songbook_text::kSongs + formatCount(outcome.pages) +
                          songbook_text::kPages;
    } else {
        outcome.message = songbook_text::kWriteFailed + pdfPath;
        std::error_code ec;
        if (std::filesystem::is_regular_file(pdfPath, ec))
            outcome.message += songbook_text::kOldBookKept;
    }
    return outcome;
}

}  // namespace dadaz
