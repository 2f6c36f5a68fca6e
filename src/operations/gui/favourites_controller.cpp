// btnAddSelectList and btnOpenSelectList: the favourites list in the program folder.
#include "operations/favourites.h"
#include "operations/gui/song_operations.h"
#include "shell/main_window.h"

namespace dadaz {

namespace {

bool isSeparator(std::string_view line) {
    return line.starts_with("-----");
}

void addSelectedSong(MainWindow& window) {
    SongLineList* list = window.songSearchPanel()->lstSongSearch;
    const std::string line = list->lineAt(list->currentRow());
    if (line.empty() || isSeparator(line)) return;
    window.fileSystem().forgetIndexes();  // the list may have been edited or removed meanwhile
    FavouritesFile favourites(window.fileSystem(), window.programFolder());
    const FavouriteMessage message = favouriteAddMessage(favourites.add(line), favourites.path());
    window.prompt().ask(message.icon, MessageButtons::Ok, message.text);
}

void openFavourites(MainWindow& window) {
    window.fileSystem().forgetIndexes();
    FavouritesFile favourites(window.fileSystem(), window.programFolder());
    if (!favourites.exists()) {
        window.prompt().ask(MessageIcon::Critical, MessageButtons::Ok, kFavouritesMissing);
    } else if (!window.launcher().openDocument(favourites.path())) {
        window.prompt().ask(MessageIcon::Critical, MessageButtons::Ok,
                            "ไม่สามารถเปิดแฟ้ม " + favourites.path() + " ได้...");
    }
}

}  // namespace

void attachFavourites(MainWindow& window) {
    SongSearchPanel* panel = window.songSearchPanel();
    window.attach({panel->btnAddSelectList, panel->btnOpenSelectList});
    QObject::connect(panel->btnAddSelectList, &QPushButton::clicked, panel,
                     [&window] { addSelectedSong(window); });
    QObject::connect(panel->btnOpenSelectList, &QPushButton::clicked, panel,
                     [&window] { openFavourites(window); });
}

}  // namespace dadaz
