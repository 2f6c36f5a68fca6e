#pragma once

#include <functional>
#include <string>
#include <vector>

#include "songbook/songbook_entries.h"

namespace dadaz {

inline constexpr int kMaxSongBookColumns = 3;

struct SongBookOptions {
    SongBookOrder order = SongBookOrder::Title;
    int columns = 1;  // blocks of code, title, artist and key side by side on a page
};

struct SongBookResult {
    bool written = false;
    int pages = 0;  // with the title page
};

// Writes the book as an A4 PDF: a title page, then the songs in the given order (already
// sorted) under a heading per first letter, each page with a running header naming its first
// and last title and a page number. Text is shaped by Pango with the Thai TLWG fonts. The
// file appears whole or not at all: it is written beside `pdfPath` and renamed over it.
// `afterPage` is called with the songs done after each page.
SongBookResult writeSongBook(const std::vector<SongBookEntry>& entries,
                             const SongBookOptions& options, const std::string& pdfPath,
                             const std::function<void(std::size_t)>& afterPage = {});

}  // namespace dadaz
