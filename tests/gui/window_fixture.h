#pragma once

#include <QApplication>
#include <QWidget>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <string>

#include "generator/library_generator.h"
#include "gui/gui_test_support.h"
#include "shell/main_window.h"
#include "shell/song_search_panel.h"
#include "songlist/songlist_run.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace dadaz::testing {

// A main window on a fresh program folder, with a scripted prompt, recorded settings and a
// recorded launcher. Window tests share it; a test that needs a prompt which acts during a
// run passes its own prompt class.
template <typename PromptType = ScriptedPrompt>
struct BasicWindowFixture {
    TempDir program;
    PromptType prompt;
    RecordingSettings settings;
    RecordingLauncher launcher;
    GeneratedLibrary library;
    std::unique_ptr<MainWindow> window;

    BasicWindowFixture() { makeWindow(); }

    // Replaces the window by a fresh one on the same program folder (after the test wrote
    // files the window should see at its start).
    void makeWindow() {
        window = std::make_unique<MainWindow>(program.path());
        window->setPrompt(prompt);
        window->setSettingsStore(settings);
        window->setLauncher(launcher);
    }

    // Generates a library in the program folder and puts its folders (and an existing
    // "Invalid Files" move-to folder) into the folder boxes.
    GeneratedLibrary& makeLibrary(GeneratorOptions options) {
        library = generateLibrary(program.path(), options);
        std::filesystem::create_directories(program / "Invalid Files");
        window->folderPanel()->setFolders({library.midiFolder, library.lyricFolder,
                                           library.cursorFolder, program / "Invalid Files"});
        return library;
    }

    // Builds the song list and the catalogue without the run's closing message, as the
    // search mode's first use does.
    void buildSongList() {
        window->state().catalogueRequested = true;
        RunContext ctx = window->makeRunContext("Lister");
        runSongList(ctx);
        window->state().catalogueRequested = false;
    }
    // The search mode with every song line of a fresh song list shown.
    void listAllSongs() {
        window->selectMode(Mode::SongSearch);
        buildSongList();
        window->songSearchPanel()->txtSongSearch->setText(QString());
        QTest::keyClick(window->songSearchPanel()->txtSongSearch, Qt::Key_Return);
    }

    // Shows the window and makes it the active one, so key presses reach it.
    void showActive() {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("the window is not active");
    }

    template <typename Control = QWidget>
    Control* get(const char* name) {
        return control<Control>(window.get(), name);
    }
    void key(Qt::Key key, QWidget* target = nullptr) {
        QTest::keyClick(target ? target : window.get(), key);
    }
};

using WindowFixture = BasicWindowFixture<>;

}  // namespace dadaz::testing
