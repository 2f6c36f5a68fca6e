#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue_loader.h"
#include "catalogue/search_view.h"
#include "catalogue/song_search.h"
#include "library/run_context.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "platform/progress.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace dadaz::testing {

// A song line as the song list run writes it (UTF-8 here, code page 874 on disk).
inline std::string songLine(const std::string& code, const std::string& title,
                            const std::string& artist, const std::string& key = "C") {
    return code + "  ;" + title + "  ;" + artist + "  ;" + key;
}

// `count` song lines with the codes first, first + 1, ... and the same title and artist.
inline std::vector<std::string> numberedSongs(int count, int first, const std::string& title,
                                              const std::string& artist) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(songLine(std::to_string(first + i), title, artist));
    return lines;
}

inline std::string cp(const std::string& utf8) {
    return utf8ToCp874(utf8);
}

inline std::vector<std::string> toUtf8(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(cp874ToUtf8(l));
    return out;
}

inline std::vector<std::string> toUtf8(const SongLines& lines) {
    return toUtf8(lines.copies());
}

// Records what the search panel was told.
class RecordingView : public SearchView {
  public:
    void showResultLine(const std::string& text) override {
        resultLines.push_back(text);
        if (onResultLine) onResultLine(text);
    }
    void hideResultLine() override { resultLineHidden = true; }
    void loadingStarted() override { ++loads; }
    void loadingEnded() override { ++loadsEnded; }
    void searchStarted(bool browsing) override { searches.push_back(browsing); }
    void artistListStarted() override { ++artistLists; }
    std::vector<std::string> resultLines;
    bool resultLineHidden = false;
    int loads = 0, loadsEnded = 0, artistLists = 0;
    std::vector<bool> searches;
    std::function<void(const std::string&)> onResultLine;
};

// A program folder with its SongList.txt, and a run context over it. The clock moves 20 ms
// on every look, so every loop step lets "events" run (tests hook pumpEvents).
class CatalogueTest : public ::testing::Test {
  protected:
    CatalogueTest()
        : ctx{dir.path(), Folders{dir / "SONG", dir / "LYRICS", dir / "CURSOR", dir / "Invalid"},
              fs,         prompt,
              progress,   launcher,
              state} {
        ctx.now = [this] {
            clock += std::chrono::milliseconds(20);
            return clock;
        };
        ctx.pumpEvents = [this] {
            ++pumps;
            if (onPump) onPump();
        };
    }
    ~CatalogueTest() override { EXPECT_TRUE(prompt.finished()) << "questions left unasked"; }

    // Writes SongList.txt: the two header lines, then `lines` (UTF-8), CR LF each.
    void writeSongList(const std::vector<std::string>& lines) {
        std::string bytes =
            "'แฟ้มรายการเพลงนี้ ท่านสามารถนำไปเปิดด้วยโปรแกรม Excel "
            "เพื่อจัดพิมพ์เป็นหนังสือรายชื่อเพลงได้\r\n"
            "รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง\r\n";
        for (const auto& l : lines) bytes += l + "\r\n";
        writeBytes(dir / "SongList.txt", utf8ToCp874(bytes));
        fs.forgetIndexes();
    }
    // A lyric file (UTF-8 lines, written CR LF in code page 874) in the separate layout.
    void writeLyric(const std::string& code, const std::vector<std::string>& lines,
                    const std::string& folder = "LYRICS") {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        writeBytes(dir / (folder + "/" + code.substr(0, 1) + "/" + code + ".LYR"),
                   utf8ToCp874(bytes));
        fs.forgetIndexes();
    }

    TempDir dir;
    FileSystem fs;
    ScriptedPrompt prompt;
    NullProgress progress;
    RecordingLauncher launcher;
    SessionState state;
    RunContext ctx;
    RecordingView view;
    std::chrono::steady_clock::time_point clock{};
    int pumps = 0;
    std::function<void()> onPump;
};

// A catalogue loaded from the SongList.txt the test writes, and searches on it.
class LoadedCatalogueTest : public CatalogueTest {
  protected:
    void load(const std::vector<std::string>& lines) {
        writeSongList(lines);
        ASSERT_EQ(loadCatalogue(catalogue, ctx, view), LoadOutcome::Loaded);
    }
    SearchResult search(const std::string& query, SearchOptions options = {}) {
        return runSongSearch(catalogue, cp(query), options, ctx, view);
    }
    std::vector<std::string> found(const std::string& query, SearchOptions options = {}) {
        return toUtf8(search(query, options).lines);
    }
    Catalogue catalogue;
};

}  // namespace dadaz::testing
