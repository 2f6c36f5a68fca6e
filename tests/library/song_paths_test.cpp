#include "library/song_paths.h"

#include <gtest/gtest.h>

#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::TempDir;
using testing::writeBytes;

TEST(SongPaths, SeparateLayoutUnlessAllThreeTextsAreTheSame) {
    EXPECT_TRUE(isMultiFolderLayout({"/d/KARAOKE", "/d/KARAOKE", "/d/KARAOKE", "/m"}));
    EXPECT_FALSE(isMultiFolderLayout({"/d/KARAOKE", "/d/KARAOKE", "/d/karaoke", "/m"}));

    FileSystem fs;
    SongPaths paths(fs, {"/k/MIDI", "/k/LYRIC", "/k/CURSOR", "/k/Invalid Files"});
    EXPECT_EQ(paths.path(SongFileKind::Midi, "12345"), "/k/MIDI/1/12345.MID");
    EXPECT_EQ(paths.path(SongFileKind::Lyric, "12345"), "/k/LYRIC/1/12345.LYR");
    EXPECT_EQ(paths.path(SongFileKind::Cursor, "A1"), "/k/CURSOR/A/A1.CUR");
    EXPECT_EQ(paths.path(SongFileKind::Midi, "../1"), "");
    EXPECT_EQ(paths.path(SongFileKind::Midi, "1/2"), "");
}

TEST(SongPaths, SeparateLayoutScansSubFoldersAndFindsPartnersInAnyCase) {
    TempDir dir;
    writeBytes(dir / "midi/1/12345.mid", "MThd");
    writeBytes(dir / "lyric/1/12345.LYR", "t\r\n");
    writeBytes(dir / "Cursor/1/12345.Cur", "c");
    writeBytes(dir / "lyric/loose.LYR", "t\r\n");  // outside every sub-folder: not scanned
    // Filed under the wrong first-character folder: partners are looked for under the
    // scanned folder's name, not under the code's first character.
    writeBytes(dir / "midi/X/123.MID", "MThd");
    writeBytes(dir / "lyric/X/123.LYR", "t\r\n");
    FileSystem fs;
    SongPaths paths(fs, {dir / "MIDI", dir / "LYRIC", dir / "CURSOR", dir / "x"});
    EXPECT_EQ(paths.find(SongFileKind::Midi, "12345"), dir / "midi/1/12345.mid");
    EXPECT_EQ(paths.find(SongFileKind::Cursor, "12345"), dir / "Cursor/1/12345.Cur");

    const auto folders = paths.lyricFolders();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0].path, dir / "lyric/1");
    EXPECT_EQ(folders[1].name, "X");
    EXPECT_EQ(paths.findPartner(SongFileKind::Midi, folders[0], "12345"), dir / "midi/1/12345.mid");
    EXPECT_EQ(paths.findPartner(SongFileKind::Cursor, folders[0], "12345"),
              dir / "Cursor/1/12345.Cur");
    EXPECT_EQ(paths.findPartner(SongFileKind::Cursor, folders[0], "99"), std::nullopt);
    EXPECT_EQ(paths.findPartner(SongFileKind::Midi, folders[1], "123"), dir / "midi/X/123.MID");
}

TEST(SongPaths, MultiFolderVolumesAreTheRootsSubFoldersWithLyrics) {
    TempDir dir;
    writeBytes(dir / "KARAOKE/Vol2/lyrics/5/500.LYR", "t\r\n");
    writeBytes(dir / "KARAOKE/Vol2/song/5/500.mid", "MThd");
    writeBytes(dir / "KARAOKE/Vol2/Cursor/5/500.CUR", "c");
    writeBytes(dir / "KARAOKE/VOL1/LYRICS/1/100.LYR", "t\r\n");
    writeBytes(dir / "KARAOKE/Music/SONG/1/100.MID", "MThd");  // no LYRICS: not a volume
    const std::string root = dir / "KARAOKE";
    // The root as typed into the three boxes, also with a separator at its end.
    for (const std::string& typed : {root, root + "/"}) {
        SCOPED_TRACE(typed);
        FileSystem fs;
        SongPaths paths(fs, {typed, typed, typed, dir / "x"});
        ASSERT_TRUE(paths.multiFolder());
        EXPECT_EQ(paths.volumes(), (std::vector<std::string>{root + "/VOL1", root + "/Vol2"}));
        const auto folders = paths.lyricFolders();
        ASSERT_EQ(folders.size(), 2u);
        EXPECT_EQ(folders[1].path, root + "/Vol2/lyrics/5");
        EXPECT_EQ(folders[1].volume, root + "/Vol2");
        EXPECT_EQ(paths.findPartner(SongFileKind::Midi, folders[1], "500"),
                  root + "/Vol2/song/5/500.mid");
        EXPECT_EQ(paths.findPartner(SongFileKind::Cursor, folders[1], "500"),
                  root + "/Vol2/Cursor/5/500.CUR");
        EXPECT_EQ(paths.findPartner(SongFileKind::Cursor, folders[0], "100"), std::nullopt);
        EXPECT_EQ(paths.path(SongFileKind::Lyric, "500", root + "/Vol2"),
                  root + "/Vol2/LYRICS/5/500.LYR");
    }
}

TEST(SongPaths, VolumesOutsideTheRootBuildNoPath) {
    FileSystem fs;
    SongPaths paths(fs, {"/k/ROOT", "/k/ROOT", "/k/ROOT", "/k/x"});
    EXPECT_TRUE(paths.isVolumeOfRoot("/k/root/VOL1"));
    for (const char* bad : {"/k/ROOT", "/k/ROOT/", "/k/ROOT/..", "/k/ROOT/.", "/k/ROOT/a/b",
                            "/k/ROOTX/VOL1", "/k/other/VOL1", "/k/ROOT/a\\..", ""}) {
        EXPECT_FALSE(paths.isVolumeOfRoot(bad)) << bad;
        EXPECT_EQ(paths.path(SongFileKind::Midi, "1", bad), "") << bad;
    }
    EXPECT_EQ(paths.path(SongFileKind::Midi, "100", "/k/ROOT/VOL1"), "/k/ROOT/VOL1/SONG/1/100.MID");
}

}  // namespace
}  // namespace dadaz
