#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "library/song_paths.h"
#include "operations/song_export.h"
#include "platform/filesystem.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace dadaz::testing {
namespace {

// Songs 100 (with a backup 100.bak beside its MIDI file) and 205 in a separate-folder
// library, and an export folder.
struct ExportFixture {
    TempDir dir;
    std::string program = dir.path();
    std::string out = program + "/out";
    FileSystem fs;
    Folders folders{program + "/SONG", program + "/LYRICS", program + "/CURSOR", program + "/X"};
    ExportFixture() {
        for (const std::string code : {"100", "205"}) {
            const std::string c = code.substr(0, 1);
            writeBytes(program + "/SONG/" + c + "/" + code + ".MID", "m" + code);
            writeBytes(program + "/LYRICS/" + c + "/" + code + ".LYR", "l" + code);
            writeBytes(program + "/CURSOR/" + c + "/" + code + ".CUR", "c" + code);
        }
        writeBytes(program + "/SONG/1/100.bak", "backup");
        writeBytes(out + "/100.MID", "from an earlier export");
    }
    ExportReport copy(ExportForm form, std::vector<CurrentSong> songs) {
        const SongPaths paths(fs, folders);
        return copySongs(fs, paths, songs, out, form);
    }
};

TEST(SongExport, EveryFormCopiesEveryExtensionOfTheStemToItsPlace) {
    struct Case {
        ExportForm form;
        std::vector<std::pair<std::string, std::string>> files;  // under out, content
    };
    const Case cases[] = {
        {ExportForm::MidiOnly,
         {{"100.MID", "m100"},
          {"100.bak", "backup"},
          {"205.MID", "m205"},
          {"205.LYR", "<missing>"}}},
        {ExportForm::AllFlat,
         {{"100.MID", "m100"}, {"100.bak", "backup"}, {"100.LYR", "l100"}, {"205.CUR", "c205"}}},
        {ExportForm::AllStructured,
         {{"SONG/1/100.MID", "m100"},
          {"SONG/1/100.bak", "backup"},
          {"LYRICS/2/205.LYR", "l205"},
          {"CURSOR/1/100.CUR", "c100"},
          {"100.LYR", "<missing>"}}},
    };
    for (const Case& c : cases) {
        ExportFixture f;
        const ExportReport report = f.copy(c.form, {{"100", ""}, {"205", ""}});
        EXPECT_TRUE(report.complete());
        for (const auto& [name, bytes] : c.files)
            EXPECT_EQ(readBytes(f.out + "/" + name), bytes) << name;
        EXPECT_EQ(readBytes(f.program + "/SONG/1/100.MID"), "m100");  // the library stays
    }
}

TEST(SongExport, WhatCouldNotBeCopiedIsReportedAndNoHalfFileIsLeft) {
    ExportFixture f;
    // "LYRICS" as a file blocks that folder; the other kinds still go.
    writeBytes(f.out + "/LYRICS", "a file");
    // A song without its cursor goes without it, and that is told.
    std::filesystem::remove(f.program + "/CURSOR/2/205.CUR");
    const ExportReport report =
        f.copy(ExportForm::AllStructured, {{"100", ""}, {"999", ""}, {"205", ""}});
    std::vector<std::pair<ExportProblem::Kind, std::string>> problems;
    for (const ExportProblem& p : report.problems) problems.emplace_back(p.kind, p.code);
    using K = ExportProblem::Kind;
    EXPECT_EQ(problems, (std::vector<std::pair<K, std::string>>{{K::CopyFailed, "100"},
                                                                {K::NoFiles, "999"},
                                                                {K::CopyFailed, "205"},
                                                                {K::FileMissing, "205"}}));
    const std::string closing = export_text::closing(ExportForm::AllStructured, f.out, {}, report);
    EXPECT_NE(closing.find("205: ไม่พบแฟ้ม 205.CUR"), std::string::npos) << closing;
    EXPECT_EQ(readBytes(f.out + "/SONG/1/100.MID"), "m100");
    // Nothing but whole files in the export folder.
    for (const DirEntry& entry : f.fs.list(f.out + "/SONG/1"))
        EXPECT_FALSE(entry.hidden) << entry.name;
}

TEST(SongExport, TwoSongsOfOneCodeNeverOverwriteEachOther) {
    ExportFixture f;
    const std::string root = f.program + "/K";
    for (const std::string vol : {"VOL1", "VOL2"}) {
        writeBytes(root + "/" + vol + "/SONG/1/100.MID", vol);
        writeBytes(root + "/" + vol + "/LYRICS/1/100.LYR", vol);
    }
    f.folders = {root, root, root, f.program + "/X"};
    const ExportReport report =
        f.copy(ExportForm::MidiOnly, {{"100", root + "/VOL1"}, {"100", root + "/VOL2"}});
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].kind, ExportProblem::Kind::NameTaken);
    EXPECT_EQ(readBytes(f.out + "/100.MID"), "VOL1");
}

// The picker's cancel and the other answers are run through the window's own test.
TEST(SongExport, AllFilesWithoutTheStructureGoFlat) {
    ExportFixture f;
    ScriptedPrompt prompt;
    NullProgress progress;
    RecordingLauncher launcher;
    SessionState state;
    RunContext ctx{f.program, f.folders, f.fs, prompt, progress, launcher, state};
    std::string exportFolder;
    prompt.expectPickFolder("เลือกที่เก็บเพลงที่จะส่งออก", f.out)
        .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                   "เลือกรูปแบบแฟ้มที่จะทำการส่งออก...\n\nYes : ส่งออกทั้ง 3 แฟ้ม (MIDI, Lyric, Cursor)\n"
                   "No  : ส่งออกเฉพาะแฟ้ม MIDI",
                   Answer::Yes)
        .expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                   "ท่านต้องการสร้างโฟลเดอร์ระบบแฟ้มที่จะส่งออกหรือไม่?", Answer::No)
        .expectInform("เพลงที่ท่านเลือก ได้ถูกส่งออกไปยังโฟลเดอร์ \n     " + f.out +
                      "\n           เรียบร้อยแล้ว...");
    exportSongs(ctx, exportFolder, {{"100", ""}, {"205", ""}});
    EXPECT_EQ(readBytes(f.out + "/205.CUR"), "c205");
    EXPECT_TRUE(prompt.finished());
}

TEST(SongExport, KarFilesGoIntoTheExportFolderAndFailuresAreLogged) {
    ExportFixture f;
    const std::string converter = f.program + "/MakeKar.exe";
    writeBytes(converter,
               "#!/bin/sh\ncase \"$4\" in */205.KAR) exit 1;; esac\nsleep 0.1\ncat \"$1\" \"$2\" "
               "\"$3\" > \"$4\"\n");
    ::chmod(converter.c_str(), 0755);
    KarConversions conversions(findKarConverter(f.fs, f.program));
    const SongPaths paths(f.fs, f.folders);
    const ExportReport report =
        convertSongs(conversions, f.fs, f.program, paths, {{"100", ""}, {"205", ""}}, f.out);
    EXPECT_EQ(readBytes(f.out + "/100.KAR"), "m100l100c100");
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].code, "205");
    EXPECT_EQ(readBytes(report.karLog), "205     " + f.out + "/205.KAR\r\n");
}

}  // namespace
}  // namespace dadaz::testing
