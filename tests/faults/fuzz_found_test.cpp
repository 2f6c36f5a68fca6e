// Inputs the fuzz targets (tests/fuzz) found wrong results for, kept as plain cases.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "addsong/add_records.h"
#include "library/song_paths.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"
#include "update/update_check.h"

using namespace dadaz;
using namespace dadaz::testing;

// The version file's first line ends at a lone CR too.
TEST(FuzzFound, VersionFileWithCarriageReturnsOnly) {
    TempDir dir;
    writeBytes(dir / "v.txt", "5.3.139\r9.9.9\r");
    const VersionFileVerdict verdict = readVersionFile(dir / "v.txt");
    EXPECT_EQ(verdict.kind, VersionFileVerdict::Kind::Newer);
    EXPECT_EQ(versionText(verdict.offered), "5.3.139");
}

// A left-out file whose name holds a line end stays on one line of NewSong.txt.
TEST(FuzzFound, LeftOutNameWithLineEndsStaysOneLine) {
    const std::string bytes = newSongListBytes({}, {{"12\n3\r4.lyr", "", "why"}});
    EXPECT_TRUE(bytes.ends_with("\r\n\r\n" + utf8ToCp874("เพลงที่ไม่ได้เพิ่ม 1 เพลง") +
                                "\r\n12?3?4.lyr  ;why\r\n"));
}

// A volume text written in another case than the root names the root only when it leads to the
// root on disk; with a folder beside the root whose name differs only in case, it is that other
// library and builds no path.
TEST(FuzzFound, VolumeInAnotherCaseStaysInTheLibrary) {
    struct Case {
        bool twinExists;
        const char* volume;
        bool builds;
    };
    const Case cases[] = {
        {false, "Karaoke/VOL1", true},
        {false, "KARAOKE/VOL1", true},
        {true, "Karaoke/VOL1", true},
        {true, "KARAOKE/VOL1", false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::filesystem::create_directories(dir / "Karaoke/VOL1/SONG/1");
        if (c.twinExists) std::filesystem::create_directories(dir / "KARAOKE/VOL1/SONG/1");
        FileSystem fs;
        const std::string root = dir / "Karaoke";
        const SongPaths paths(fs, {root, root, root, dir / "moved"});
        const std::string path = paths.path(SongFileKind::Midi, "1", dir / c.volume);
        EXPECT_EQ(!path.empty(), c.builds) << c.volume << (c.twinExists ? " beside its twin" : "");
    }
}

// "dadaz search --repeat" takes a whole number and nothing else; a count with anything after it
// is refused before the search runs.
TEST(FuzzFound, SearchRepeatCountIsAWholeNumber) {
    TempDir dir;
    for (const char* count : {"2x", "1e3", " 5", "0", "-1", "99999999999999999999"}) {
        const std::string command = std::string(DADAZ_CLI) + " search --program-folder '" +
                                    dir.path() + "' --repeat '" + count + "' query 2>/dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 2) << count;
    }
}
