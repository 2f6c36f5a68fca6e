#include "app/features.h"

#include "addsong/gui/add_song_controller.h"
#include "catalogue/gui/search_controller.h"
#include "duplicates/gui/duplicate_controller.h"
#include "operations/gui/song_operations.h"
#include "playback/gui/playback_panel.h"
#include "renumber/gui/renumber_controller.h"
#include "shell/main_window.h"
#include "songbook/gui/songbook_button.h"
#include "songlist/gui/lister_controller.h"
#include "update/gui/update_dialog.h"

namespace dadaz {

void attachFeatures(MainWindow& window) {
    attachSongList(window);
    attachSongBook(window);
    attachCatalogue(window);
    // The catalogue's rebuild offers run the song list as its own panel does.
    if (SearchController* search = searchControllerOf(window))
        search->setRebuild([&window] { return rebuildSongList(window); });
    attachPlayback(window);
    attachSongOperations(window);
    attachAddSong(window);
    attachRenumber(window);
    attachDuplicates(window);
    attachUpdate(window);
}

}  // namespace dadaz
