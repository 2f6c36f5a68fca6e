#include <gtest/gtest.h>

#include "songlist/songlist_buttons.h"
#include "songlist_fixture.h"

namespace dadaz::testing {
namespace {

const std::string kOwnListChoice =
    "ตัวเลือกการสร้างรายการเพลง 1\n\n"
    "Yes :  สร้างรายการเพลงเพื่อใช้สำหรับโปรแกรมนี้เท่านั้น\n"
    "No :  สร้างรายการเพลงพร้อมทั้งฐานข้อมูลเพลงสำหรับโปรแกรม ZUZ Adediru ด้วย\n"
    "Cancel :  ยกเลิกการสร้างรายการเพลง";
const std::string kCheckingChoice =
    "ตัวเลือกการสร้างรายการเพลง 2\n\n"
    "Yes :  สร้างรายการเพลงแบบปกติ\n"
    "No :  สร้างรายการเพลงแบบมีการตรวจสอบและจัดระบบแฟ้มด้วย\n"
    "Cancel :  ยกเลิกการสร้างรายการเพลง";

void expectChoice(ScriptedPrompt& prompt, const std::string& text, Answer answer) {
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNoCancel, text, answer);
}

TEST(SongListButtons, CancelAtEitherQuestionDoesNothing) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""});
    expectChoice(lib.prompt, kOwnListChoice, Answer::Cancel);
    EXPECT_FALSE(startSongListFromButton(lib.ctx));
    expectChoice(lib.prompt, kOwnListChoice, Answer::No);
    expectChoice(lib.prompt, kCheckingChoice, Answer::Cancel);
    EXPECT_FALSE(startSongListFromButton(lib.ctx));
    EXPECT_EQ(lib.read("SongList.txt"), "<missing>");
    EXPECT_TRUE(lib.busy.empty());
    EXPECT_TRUE(lib.prompt.finished());
}

TEST(SongListButtons, OwnListRunsWithoutDatabaseAndClearsTheRequestAfterwards) {
    LibraryFixture lib;
    lib.songs.add("1", {"Song", "A", "C", ""}, true, false);
    expectChoice(lib.prompt, kOwnListChoice, Answer::Yes);
    const auto result = startSongListFromButton(lib.ctx);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, SongListResult::Status::Written);
    EXPECT_FALSE(lib.state.catalogueRequested);
    EXPECT_EQ(lib.read("List.vk2"), "<missing>");
    // Not the checking form: the song without cursor stays and is listed.
    EXPECT_EQ(songLines(lib.read("SongList.txt")).size(), 1u);
    EXPECT_TRUE(lib.prompt.finished());
}

TEST(SongListButtons, SecondQuestionChoosesPlainOrCheckingForm) {
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        LibraryFixture lib;
        lib.songs.add("1", {"Song", "A", "C", ""}, true, false);
        lib.songs.add("2", {"Other", "A", "C", ""});
        expectChoice(lib.prompt, kOwnListChoice, Answer::No);
        expectChoice(lib.prompt, kCheckingChoice, answer);
        std::string closing = lib.closingMessage();
        if (answer == Answer::No) {
            closing += "\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่\n     " + lib.program + "/Invalid Files";
        }
        lib.expectClosing(closing);
        const auto result = startSongListFromButton(lib.ctx);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->listedSongs, answer == Answer::Yes ? 2 : 1);
        EXPECT_TRUE(result->databaseWritten);
        EXPECT_TRUE(lib.prompt.finished());
    }
}

TEST(SongListButtons, StopQuestion) {
    ScriptedPrompt prompt;
    SessionState state;
    state.duplicateSearchActive = true;
    const std::string question = "ท่านต้องการยกเลิกการสร้างรายการเพลง";
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, question, Answer::No);
    askStopSongList(prompt, state);
    EXPECT_FALSE(state.stopRequested);
    EXPECT_TRUE(state.duplicateSearchActive);
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, question, Answer::Yes);
    askStopSongList(prompt, state);
    EXPECT_TRUE(state.stopRequested);
    EXPECT_FALSE(state.duplicateSearchActive);
    prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, question, Answer::No);
    askStopSongList(prompt, state);
    EXPECT_FALSE(state.stopRequested);
}

}  // namespace
}  // namespace dadaz::testing
