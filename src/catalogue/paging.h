#pragma once

#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/search_view.h"

namespace dadaz {

// btnPreviousPage, btnNextPage and lblPage.
struct PageControls {
    bool visible = false;  // hidden while the catalogue has one page, and after a search
    bool previousEnabled = false;
    bool nextEnabled = false;
    std::string label;  // "0/2": current and last page, counted from 0
    bool operator==(const PageControls&) const = default;
};

PageControls pageControls(int currentPage, int lastPage);

// The song lines of the current page, as the catalogue holds them (not copied), and how many
// of them are songs rather than separator-like lines.
SongLines currentPageLines(const Catalogue& catalogue);
long currentPageSongs(const Catalogue& catalogue);

// A page of the catalogue as the result list shows it when browsing or turning pages.
struct PageView {
    SongLines lines;         // the page's song lines
    std::string resultLine;  // "ค้นหาพบ N จาก T เพลง" (UTF-8)
    PageControls controls;
};
PageView browsePage(const Catalogue& catalogue);

// Turns the page (the buttons' enabled states keep it within 0 to lastPage) and shows it.
PageView nextPage(Catalogue& catalogue);
PageView previousPage(Catalogue& catalogue);

}  // namespace dadaz
