#pragma once

#include <functional>
#include <string>

#include "songbook/songbook_pdf.h"

namespace dadaz {

class FileSystem;

struct SongBookOutcome {
    bool written = false;
    std::size_t songs = 0;
    int pages = 0;
    std::string message;  // Thai, UTF-8: the result or why there is no book
};

// Reads SongList.txt of the program folder, orders its songs and writes the book to
// `pdfPath`. `afterPage` gets the songs done and the total.
SongBookOutcome makeSongBook(const FileSystem& fs, const std::string& programFolder,
                             const SongBookOptions& options, const std::string& pdfPath,
                             const std::function<void(std::size_t, std::size_t)>& afterPage = {});

}  // namespace dadaz
