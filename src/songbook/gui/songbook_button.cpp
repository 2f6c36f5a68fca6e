#include "songbook/gui/songbook_button.h"

#include <QApplication>
#include <QPushButton>

#include "shell/lister_panel.h"
#include "shell/main_window.h"
#include "songbook/songbook_run.h"

namespace dadaz {

namespace {

constexpr const char* kBookFileName = "SongBook.pdf";

void makeBook(MainWindow& window) {
    RunContext ctx = window.makeRunContext("SongBook");
    ctx.enterBusy("SongBook");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string path = ctx.programFolder + "/" + kBookFileName;
    const SongBookOutcome outcome = makeSongBook(
        ctx.fs, ctx.programFolder, {}, path, [&](std::size_t, std::size_t) { ctx.pumpEvents(); });
    QApplication::restoreOverrideCursor();
    ctx.leaveBusy();
    if (!outcome.written) {
        ctx.prompt.ask(MessageIcon::Critical, MessageButtons::Ok, outcome.message);
        return;
    }
    ctx.prompt.inform(outcome.message);
    ctx.launcher.openDocument(path);
}

}  // namespace

void attachSongBook(MainWindow& window) {
    QPushButton* button = window.listerPanel()->btnSongBook;
    QObject::connect(button, &QPushButton::clicked, &window, [&window] { makeBook(window); });
    window.attach({button});
}

}  // namespace dadaz
