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

PageView browsePage(const Catalogue& catalogue) {
    PageView view;
    const auto& page = catalogue.page(catalogue.currentPage());
    view.lines = &page.songs;
    view.resultLine =
        catalogue_text::resultLine(static_cast<long>(page.songs.size()), catalogue.totalSongs());
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
