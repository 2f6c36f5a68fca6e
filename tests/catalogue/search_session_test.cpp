#include "catalogue/search_session.h"

#include "catalogue/catalogue_texts.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

using namespace dadaz::catalogue_text;

class SessionTest : public CatalogueTest {
  protected:
    SessionTest() {
        build = [this](RunContext& c) {
            ++builds;
            // The catalogue's rebuild writes this program's own list only.
            EXPECT_TRUE(c.state.catalogueRequested);
            writeSongList({songLine("1", "Built", "A"), songLine("2", "Other", "B")});
        };
    }
    SearchResult enter(const std::string& query, SearchOptions options = {}) {
        return session.enter(cp(query), options, ctx, view, build);
    }
    void expectChangedLibraryQuestion(Answer answer) {
        prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel,
                         kLibraryChangedQuestion, answer);
    }
    SearchSession session;
    SearchSession::BuildSongList build;
    int builds = 0;
};

TEST_F(SessionTest, EnterLoadsOnceAndAgainAfterAStoppedLoad) {
    writeSongList(std::vector<std::string>(30, songLine("1", "Title", "A")));
    // Loading and searching wait for the first Enter.
    EXPECT_EQ(session.load(ctx, view), LoadOutcome::NotRequested);
    EXPECT_FALSE(session.search("", {}, ctx, view).ran);
    onPump = [this] {
        if (pumps == 3) state.stopRequested = true;
    };
    EXPECT_EQ(enter("").total, 2);
    EXPECT_FALSE(state.catalogueLoaded);
    onPump = nullptr;
    EXPECT_EQ(enter("++ti").found, 30);
    EXPECT_TRUE(state.catalogueLoaded);
    EXPECT_EQ(enter("").lines.size(), 30u);
    EXPECT_EQ(view.loads, 2);
    // A song list run from the list panel afterwards still writes the player database.
    EXPECT_FALSE(state.catalogueRequested);
}

TEST_F(SessionTest, AChangedLibraryIsAskedAboutFirst) {
    writeSongList({songLine("1", "Old", "A")});
    state.songsRemoved = true;
    expectChangedLibraryQuestion(Answer::Cancel);
    EXPECT_FALSE(enter("").ran);
    EXPECT_EQ(view.loads, 0);
    expectChangedLibraryQuestion(Answer::No);
    EXPECT_EQ(enter("").total, 1);
    EXPECT_EQ(builds, 0);
    SearchSession fresh;
    expectChangedLibraryQuestion(Answer::Yes);
    const auto built = fresh.enter(cp("++built"), {}, ctx, view, build);
    EXPECT_EQ(std::pair(built.found, built.total), std::pair(1L, 2L));
    EXPECT_EQ(builds, 1);
}

TEST_F(SessionTest, WithoutASongListAChangedLibraryStopsAndOtherwiseItIsOffered) {
    state.songsRenamed = true;
    expectChangedLibraryQuestion(Answer::Yes);
    prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok, kSongListDeleted, Answer::Ok);
    EXPECT_FALSE(enter("x").ran);
    EXPECT_EQ(builds, 0);

    state.songsRenamed = false;
    const std::string question =
        std::string(kSongListMissingHead) + dir.path() + kSongListMissingTail;
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, question, Answer::No);
    EXPECT_FALSE(enter("").ran);
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, question, Answer::Yes);
    EXPECT_EQ(enter("").lines.size(), 2u);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(view.loads, 1);
}

TEST_F(SessionTest, ASelectionSetsTheCurrentSongAndARebuildSearchesAgain) {
    writeSongList({songLine("1", "Old", "A"), songLine("9", "Gone", "B")});
    writeLyric("1", {"Old", "A"});
    enter("");
    auto selection = session.select(cp(songLine("1", "Old", "A")), "", {}, ctx, view, build);
    EXPECT_EQ(selection.detail.outcome, DetailOutcome::Shown);
    EXPECT_EQ(state.currentSong.code(), "1");
    EXPECT_FALSE(selection.research);

    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kSongMissing, Answer::Yes);
    selection = session.select(cp(songLine("9", "Gone", "B")), cp("++bu"), {}, ctx, view, build);
    EXPECT_EQ(state.currentSong.code(), "9");
    ASSERT_TRUE(selection.research);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(toUtf8(selection.research->lines),
              std::vector<std::string>{songLine("1", "Built", "A")});
    EXPECT_FALSE(state.catalogueRequested);
}

TEST_F(SessionTest, MultiFolderSongsUseTheirVolumeAndALyricSearchSetsItWithTheCode) {
    const std::string root = dir / "Lib";
    ctx.folders = Folders{root, root, root, dir / "Invalid"};
    const std::string first = songLine("1001", "Old", "A", "C  ;" + root + "/V1") + " [+]";
    writeBytes(root + "/V1/LYRICS/1/1001.LYR", cp("Edited\r\nA\r\n"));
    writeBytes(root + "/V1/SONG/1/1001.MID", "MThd");
    writeBytes(root + "/V2/LYRICS/2/2002.LYR", cp("New\r\nB\r\n"));
    writeSongList({first, songLine("2002", "New", "B", "C  ;" + root + "/V2")});
    enter("");
    const auto selected = session.select(cp(first), "", {}, ctx, view, build);
    EXPECT_EQ(selected.detail.midiPath, root + "/V1/SONG/1/1001.MID");
    EXPECT_EQ(state.currentSong.volume(), root + "/V1");
    // The last lyric read is the second song's.
    enter("b", {.searchLyric = true});
    EXPECT_EQ(state.currentSong.code(), "2002");
    EXPECT_EQ(state.currentSong.volume(), root + "/V2");
}

}  // namespace
}  // namespace dadaz::testing
