#include "catalogue/search_session.h"

#include "catalogue/catalogue_texts.h"
#include "catalogue_fixture.h"

namespace dadaz::testing {
namespace {

using namespace dadaz::catalogue_text;

class SessionTest : public CatalogueTest {
  protected:
    SessionTest() {
        state.catalogueRequested = false;
        build = [this](RunContext& c) {
            ++builds;
            EXPECT_TRUE(c.state.catalogueRequested);
            writeSongList({songLine("1", "Built", "A"), songLine("2", "Other", "B")});
            c.state.songsAdded = false;
            c.state.songListCurrent = true;
        };
    }
    SearchResult enter(const std::string& query, SearchOptions options = {}) {
        return session.enter(cp(query), options, ctx, view, build);
    }
    std::string missingListQuestion() {
        return std::string(kSongListMissingHead) + dir.path() + kSongListMissingTail;
    }
    SearchSession session;
    SearchSession::BuildSongList build;
    int builds = 0;
};

TEST_F(SessionTest, FirstEnterLoadsThenLaterEntersOnlySearch) {
    writeSongList({songLine("1", "Alpha", "A")});
    auto result = enter("++al");
    EXPECT_TRUE(state.catalogueRequested);
    EXPECT_TRUE(state.catalogueLoaded);
    EXPECT_EQ(result.found, 1);
    EXPECT_EQ(view.loads, 1);
    result = enter("");
    EXPECT_EQ(result.lines.size(), 1u);
    EXPECT_EQ(view.loads, 1);
}

TEST_F(SessionTest, AStoppedLoadLoadsAgainOnTheNextEnter) {
    std::vector<std::string> lines(30, songLine("1", "T", "A"));
    writeSongList(lines);
    onPump = [this] {
        if (pumps == 3) state.stopRequested = true;
    };
    auto partial = enter("");
    EXPECT_FALSE(state.catalogueLoaded);
    EXPECT_EQ(partial.total, 2);
    onPump = nullptr;
    const auto full = enter("");
    EXPECT_EQ(view.loads, 2);
    EXPECT_EQ(full.total, 30);
}

TEST_F(SessionTest, ChangedLibraryYesBuildsThenLoadsAndSearches) {
    writeSongList({songLine("1", "Old", "A")});
    state.songsAdded = true;
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kLibraryChangedQuestion,
                     Answer::Yes);
    const auto result = enter("++built");
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(result.found, 1);
    EXPECT_EQ(result.total, 2);
}

TEST_F(SessionTest, ChangedLibraryNoLoadsTheOldListAndCancelDoesNothing) {
    writeSongList({songLine("1", "Old", "A")});
    state.songsRemoved = true;
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kLibraryChangedQuestion,
                     Answer::Cancel);
    EXPECT_FALSE(enter("").ran);
    EXPECT_EQ(view.loads, 0);
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kLibraryChangedQuestion,
                     Answer::No);
    const auto result = enter("");
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(result.total, 1);
}

TEST_F(SessionTest, ChangedLibraryWithoutASongListStopsWhateverTheAnswer) {
    state.songsRenamed = true;
    prompt
        .expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, kLibraryChangedQuestion,
                   Answer::Yes)
        .expectAsk(MessageIcon::Critical, MessageButtons::Ok, kSongListDeleted, Answer::Ok);
    EXPECT_FALSE(enter("x").ran);
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(view.loads, 0);
}

TEST_F(SessionTest, MissingSongListAsksWhetherToBuildIt) {
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, missingListQuestion(),
                     Answer::No);
    EXPECT_FALSE(enter("").ran);
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, missingListQuestion(),
                     Answer::Yes);
    const auto result = enter("");
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(result.lines.size(), 2u);
}

TEST_F(SessionTest, ASelectionSetsTheCurrentSongAndARebuildSearchesAgain) {
    writeSongList({songLine("1", "Old", "A"), songLine("9", "Gone", "B")});
    writeLyric("1", {"Old", "A"});
    enter("");
    auto selection = session.select(cp(songLine("1", "Old", "A")), "", {}, ctx, view, build);
    EXPECT_EQ(selection.detail.outcome, DetailOutcome::Shown);
    EXPECT_EQ(session.currentSongCode(), "1");
    EXPECT_FALSE(selection.research);

    prompt.expectAsk(MessageIcon::Critical, MessageButtons::YesNo, kSongMissing, Answer::Yes);
    selection = session.select(cp(songLine("9", "Gone", "B")), cp("++bu"), {}, ctx, view, build);
    EXPECT_EQ(session.currentSongCode(), "9");
    ASSERT_TRUE(selection.research);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(toUtf8(selection.research->lines),
              std::vector<std::string>{songLine("1", "Built", "A")});
}

}  // namespace
}  // namespace dadaz::testing
