// Inputs the fuzz targets (tests/fuzz) found wrong results for, kept as plain cases.
#include <gtest/gtest.h>

#include "addsong/add_records.h"
#include "platform/codepage.h"
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
