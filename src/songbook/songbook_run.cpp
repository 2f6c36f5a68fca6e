#include "songbook/songbook_run.h"

#include "platform/filesystem.h"
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
    outcome.message =
        std::string(result.written ? songbook_text::kDone : songbook_text::kWriteFailed) + pdfPath;
    return outcome;
}

}  // namespace dadaz
