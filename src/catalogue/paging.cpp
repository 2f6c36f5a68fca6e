#include "catalogue/paging.h"

#include "catalogue/catalogue_texts.h"

namespace dadaz {

PageControls pageControls(int currentPage, int lastPage) {
    PageControls controls;
    if (lastPage < 1) return controls;
    controls.visible = true;
    controls.label = std::to_string(currentPage) + "/" + std::to_string(lastPage);
    controls.previousEnabled = currentPage != 0;
    controls.nextEnabled = currentPage != lastPage;
    return controls;
}

SongLines currentPageLines(const Catalogue& catalogue) {
    SongLines lines;
    const auto pages = catalogue.pages();
    const auto& songs = pages->at(catalogue.currentPage()).songs;
    lines.keepAlive(pages);
    lines.reserve(songs.size());
    for (const auto& song : songs) lines.addReference(song);
    return lines;
}

long currentPageSongs(const Catalogue& catalogue) {
    const auto& page = catalogue.page(catalogue.currentPage());
    return static_cast<long>(page.songs.size() - page.separatorLines);
}

PageView browsePage(const Catalogue& catalogue) {
    PageView view;
    view.lines = currentPageLines(catalogue);
    // A page turn counts every line the list shows.
    view.resultLine =
        catalogue_text::resultLine(static_cast<long>(view.lines.size()), catalogue.totalSongs());
    view.controls = pageControls(catalogue.currentPage(), catalogue.lastPage());
    return view;
}

PageView nextPage(Catalogue& catalogue) {
    catalogue.setCurrentPage(catalogue.currentPage() + 1);
    return browsePage(catalogue);
}

PageView previousPage(Catalogue& catalogue) {
    catalogue.setCurrentPage(catalogue.currentPage() - 1);
    return browsePage(catalogue);
}

}  // namespace dadaz
