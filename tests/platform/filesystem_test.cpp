#include "platform/filesystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <thread>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::writeBytes;
using Names = std::vector<std::string>;

// Names in a folder as the system lists them, sorted, hidden ones included.
Names rawNames(const std::string& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Names listed(const std::vector<DirEntry>& entries) {
    Names names;
    for (const DirEntry& entry : entries) names.push_back(entry.name);
    return names;
}

// Files are written before the first lookup, so the folder indexes see them.
class FileSystemTest : public ::testing::Test {
  protected:
    testing::TempDir dir;
    FileSystem fs;
};

TEST_F(FileSystemTest, ResolvesEachComponentWithoutRegardToCaseTheExactCaseFirst) {
    writeBytes(dir / "Song/1/12345.mid", "MThd");
    writeBytes(dir / "Song/1/a.mid", "lower");
    writeBytes(dir / "Song/1/A.MID", "upper");
    const std::pair<std::string, std::string> cases[] = {
        {"SONG/1/12345.Mid", "Song/1/12345.mid"},
        {"song/1", "Song/1"},
        {"SONG//1/./12345.MID", "Song/1/12345.mid"},
        {"SONG/1/../1/12345.MID", "Song/1/../1/12345.mid"},
        {"Song/1/a.mid", "Song/1/a.mid"},
        {"Song/1/A.MID", "Song/1/A.MID"},
        {"Song/1/A.mid", "Song/1/A.MID"},  // no exact match: the first in byte order
        {"SONG/1/12346.MID", ""},
        {"SONG/2/12345.MID", ""},
        {"SONG/1/12345.MID/x", ""},                 // a file is no folder
        {std::string("Song/1/a.mid\0/x", 15), ""},  // the system would stop at the NUL
    };
    for (const auto& [asked, real] : cases)
        EXPECT_EQ(fs.resolve(dir / asked).value_or(""), real.empty() ? "" : dir / real) << asked;
    EXPECT_FALSE(fs.deleteFile(dir / std::string("Song/1/a.mid\0/x", 15), true));
    EXPECT_TRUE(fs.isFile(dir / "SONG/1/12345.MID") && fs.isFolder(dir / "SONG/1"));
    EXPECT_FALSE(fs.isFolder(dir / "SONG/1/12345.MID") || fs.isFile(dir / "SONG/1"));
    EXPECT_EQ(fs.fileSize(dir / "song/1/12345.MID"), 4u);
    EXPECT_FALSE(fs.resolve(""));
    EXPECT_EQ(fs.resolve("/"), "/");
}

TEST_F(FileSystemTest, ManyThreadsResolveThroughOneObject) {
    for (int folder = 0; folder < 8; ++folder)
        for (int file = 0; file < 50; ++file)
            writeBytes(dir / (std::to_string(folder) + "/s" + std::to_string(file) + ".mid"), "");
    std::vector<int> wrong(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {  // the indexes are built while the threads race for them
            for (int round = 0; round < 20; ++round) {
                for (int folder = 0; folder < 8; ++folder) {
                    const std::string name = std::to_string(folder) + "/s" +
                                             std::to_string((round * 7 + folder + t) % 50);
                    if (fs.resolve(dir / (name + ".MID")) != dir / (name + ".mid")) ++wrong[t];
                    if (fs.exists(dir / (name + ".LYR"))) ++wrong[t];
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST_F(FileSystemTest, ListsByUpperCasedNameInByteOrder) {
    for (const char* name : {"b", "A", "_x", "a1", "\xE0\xB8\x81.lyr", ".hidden"})
        writeBytes(dir / name, "12");
    std::filesystem::create_directory(dir / "Z");
    const auto entries = fs.list(dir.path(), ListSizes::Read);
    ASSERT_EQ(listed(entries), (Names{".hidden", "A", "a1", "b", "Z", "_x", "\xE0\xB8\x81.lyr"}));
    EXPECT_TRUE(entries[0].hidden && !entries[1].hidden && entries[4].isFolder);
    EXPECT_EQ(entries[1].size, 2u);
    EXPECT_EQ(listed(fs.listFolders(dir.path())), Names{"Z"});
    EXPECT_EQ(fs.countFiles(dir.path()), 6u);
    EXPECT_EQ(fs.countFolders(dir.path()), 1u);
    EXPECT_TRUE(fs.list(dir / "missing").empty());
}

TEST_F(FileSystemTest, MoveNeverReplacesAFileInAnyCase) {
    const std::map<std::string, std::string> files = {
        {"1/a.mid", "source"}, {"1/b.mid", "same name"}, {"1/C.MID", "other case"},
        {"1/V.MID", "upper"},  {"1/v.mid", "lower"},     {"2/a.mid", "other folder"}};
    for (const auto& [name, bytes] : files) writeBytes(dir / name, bytes);
    const std::pair<const char*, const char*> refused[] = {
        {"1/a.mid", "1/b.mid"},    {"1/a.mid", "1/c.mid"}, {"1/a.mid", "2/A.MID"},
        {"1/V.MID", "1/v.Mid"},    {"1/v.mid", "1/V.mid"},  // a case rename onto the other file
        {"1/none.mid", "1/d.mid"}, {"1/a.mid", "3/a.mid"},  // no such file, no such folder
    };
    for (const auto& [from, to] : refused) EXPECT_FALSE(fs.moveFile(dir / from, dir / to)) << to;
    for (const auto& [name, bytes] : files) EXPECT_EQ(readBytes(dir / name), bytes) << name;
    EXPECT_EQ(rawNames(dir / "1"), (Names{"C.MID", "V.MID", "a.mid", "b.mid", "v.mid"}));
}

TEST_F(FileSystemTest, MoveRenamesAFileToAnotherCaseOfItsOwnName) {
    writeBytes(dir / "12345.mid", "song");
    EXPECT_TRUE(fs.moveFile(dir / "12345.mid", dir / "12345.MID"));
    EXPECT_TRUE(fs.moveFile(dir / "12345.MID", dir / "12345.MID"));  // already so named
    EXPECT_EQ(rawNames(dir.path()), Names{"12345.MID"});
    EXPECT_EQ(listed(fs.list(dir.path())), Names{"12345.MID"});
    EXPECT_EQ(readBytes(dir / "12345.MID"), "song");
}

TEST_F(FileSystemTest, MovesBetweenFileSystemsByCopyThenDelete) {
    struct stat shm, tmp;
    std::string other = "/dev/shm/dadaz-test-XXXXXX";
    if (::stat("/dev/shm", &shm) != 0 || ::stat(dir.path().c_str(), &tmp) != 0 ||
        shm.st_dev == tmp.st_dev || !::mkdtemp(other.data())) {
        GTEST_SKIP() << "no second file system";
    }
    struct Removed {
        std::string path;
        ~Removed() { std::filesystem::remove_all(path); }
    } removeOther{other};
    const std::string big(300 * 1024, 'x');
    writeBytes(dir / "a.mid", big);
    writeBytes(dir / "c.mid", "source");
    writeBytes(other + "/taken.mid", "keep");
    EXPECT_TRUE(fs.moveFile(dir / "A.MID", other + "/b.mid"));
    EXPECT_FALSE(fs.moveFile(dir / "c.mid", other + "/TAKEN.MID"));
    EXPECT_EQ(readBytes(other + "/b.mid"), big);
    EXPECT_EQ(readBytes(other + "/taken.mid"), "keep");
    EXPECT_EQ(rawNames(dir.path()), Names{"c.mid"});
    EXPECT_EQ(rawNames(other), (Names{"b.mid", "taken.mid"}));
}

TEST_F(FileSystemTest, CopyOverwritesTheTargetInItsOwnCaseButNotAReadOnlyOne) {
    writeBytes(dir / "new/12345.mid", "new content");
    writeBytes(dir / "lib/12345.MID", "old content that is longer");
    writeBytes(dir / "lib/locked.lyr", "old");
    ASSERT_TRUE(fs.setReadOnly(dir / "lib/locked.lyr", true));
    EXPECT_TRUE(fs.copyFile(dir / "new/12345.MID", dir / "LIB/12345.mid"));
    EXPECT_EQ(readBytes(dir / "lib/12345.MID"), "new content");
    EXPECT_EQ(fs.listFiles(dir / "lib", ListSizes::Read).front().size, 11u);
    EXPECT_FALSE(fs.copyFile(dir / "new/12345.mid", dir / "lib/LOCKED.LYR"));
    EXPECT_EQ(readBytes(dir / "lib/locked.lyr"), "old");
    EXPECT_FALSE(fs.copyFile(dir / "new/missing.mid", dir / "lib/x.mid"));
    EXPECT_FALSE(fs.copyFile(dir / "new/12345.mid", dir / "nofolder/x.mid"));
    // A copy of a read-only file is read-only too, as on Windows.
    EXPECT_TRUE(fs.copyFile(dir / "lib/locked.lyr", dir / "lib/copy.lyr"));
    EXPECT_TRUE(fs.isReadOnly(dir / "lib/copy.lyr"));
    EXPECT_EQ(rawNames(dir / "lib"), (Names{"12345.MID", "copy.lyr", "locked.lyr"}));
    EXPECT_EQ(listed(fs.listFiles(dir / "lib")), (Names{"12345.MID", "copy.lyr", "locked.lyr"}));
}

TEST_F(FileSystemTest, UnforcedDeletesLeaveReadOnlyFilesAndFolders) {
    writeBytes(dir / "a.mid", "x");
    writeBytes(dir / "b.mid", "x");
    std::filesystem::create_directory(dir / "sub");
    ASSERT_TRUE(fs.setReadOnly(dir / "A.MID", true));
    EXPECT_TRUE(fs.isReadOnly(dir / "a.mid") && !fs.isReadOnly(dir / "b.mid"));
    EXPECT_FALSE(fs.deleteFile(dir / "a.mid", false));
    EXPECT_EQ(fs.deleteMatching(dir.path(), "*.mid", false), 1);
    EXPECT_EQ(rawNames(dir.path()), (Names{"a.mid", "sub"}));
    EXPECT_TRUE(fs.deleteFile(dir / "A.mid", true));
    EXPECT_FALSE(fs.deleteFile(dir / "a.mid", true));
    EXPECT_FALSE(fs.deleteFile(dir / "sub", true));  // files only
    EXPECT_EQ(rawNames(dir.path()), Names{"sub"});
}

TEST_F(FileSystemTest, PatternsMatchExtensionsWithoutCaseAndStemsLiterally) {
    for (const char* name : {"1*2.mid", "1*2.LYR", "102.mid", "1x2.mid", "12.MID", "1?2.cur", "1*2",
                             "x.midi", "1*2.mid.bak"})
        writeBytes(dir / name, "x");
    std::filesystem::create_directory(dir / "f.mid");
    EXPECT_EQ(fs.deleteMatching(dir.path(), "1*2.*", true), 3);
    EXPECT_EQ(rawNames(dir.path()),
              (Names{"1*2", "102.mid", "12.MID", "1?2.cur", "1x2.mid", "f.mid", "x.midi"}));
    EXPECT_EQ(fs.deleteMatching(dir.path(), "1?2.*", true), 1);
    EXPECT_EQ(fs.deleteMatching(dir.path(), "*.MID", true), 3);
    EXPECT_EQ(fs.deleteMatching(dir.path(), "../*.*", true), 0);
    EXPECT_EQ(rawNames(dir.path()), (Names{"1*2", "f.mid", "x.midi"}));
    EXPECT_EQ(fs.deleteMatching(dir.path(), "*.*", true), 2);
    EXPECT_EQ(rawNames(dir.path()), Names{"f.mid"});  // folders stay
}

TEST_F(FileSystemTest, DeletesATreeWithReadOnlyContentButNotWhereItsLinksLead) {
    writeBytes(dir / "Tree/sub/a.mid", "x");
    writeBytes(dir / "outside/song.mid", "keep");
    std::filesystem::create_directory_symlink(dir / "outside", dir / "Tree/link");
    std::filesystem::create_symlink(dir / "outside/song.mid", dir / "Tree/sub/song.mid");
    ASSERT_TRUE(fs.setReadOnly(dir / "tree/sub/a.mid", true));
    ASSERT_EQ(fs.countFiles(dir / "tree/sub"), 2u);
    ::chmod((dir / "Tree/sub").c_str(), 0555);
    EXPECT_TRUE(fs.deleteTree(dir / "TREE"));
    EXPECT_EQ(rawNames(dir.path()), Names{"outside"});
    EXPECT_EQ(readBytes(dir / "outside/song.mid"), "keep");
    EXPECT_FALSE(fs.exists(dir / "tree/sub/a.mid"));
    EXPECT_FALSE(fs.deleteTree(dir / "outside/song.mid"));
    EXPECT_FALSE(fs.deleteTree(dir / "outside/.."));
}

TEST_F(FileSystemTest, CreatesOnlyTheLastLevelOfAFolder) {
    writeBytes(dir / "file", "x");
    EXPECT_TRUE(fs.createFolder(dir / "Log"));
    EXPECT_TRUE(fs.createFolder(dir / "LOG"));  // exists in another case
    EXPECT_FALSE(fs.createFolder(dir / "a/b"));
    EXPECT_FALSE(fs.createFolder(dir / "FILE"));
    EXPECT_FALSE(fs.setReadOnly(dir / "log", true));  // files only
    EXPECT_EQ(rawNames(dir.path()), (Names{"Log", "file"}));
    EXPECT_EQ(listed(fs.listFolders(dir.path())), Names{"Log"});
}

TEST_F(FileSystemTest, IndexesFollowOwnChangesAndOthersAfterForgetting) {
    writeBytes(dir / "lib/1/a.mid", "a");
    ASSERT_EQ(fs.countFiles(dir / "lib/1"), 1u);
    ASSERT_FALSE(fs.exists(dir / "lib/2/w.lyr"));  // a miss before the folder exists
    ASSERT_TRUE(fs.createFolder(dir / "lib/2"));
    EXPECT_TRUE(fs.writeFileAtomic(dir / "lib/2/w.lyr", "w"));
    EXPECT_TRUE(fs.copyFile(dir / "lib/1/a.mid", dir / "lib/2/c.mid"));
    EXPECT_TRUE(fs.moveFile(dir / "lib/1/a.mid", dir / "lib/2/m.mid"));
    EXPECT_TRUE(fs.deleteFile(dir / "lib/2/C.MID", false));
    EXPECT_EQ(listed(fs.list(dir / "lib/2")), (Names{"m.mid", "w.lyr"}));
    EXPECT_EQ(fs.countFiles(dir / "lib/1"), 0u);
    EXPECT_TRUE(fs.moveFile(dir / "lib/2", dir / "lib/Two"));  // a folder moves too
    EXPECT_FALSE(fs.exists(dir / "lib/2/w.lyr"));
    EXPECT_TRUE(fs.exists(dir / "lib/TWO/W.LYR"));
    EXPECT_TRUE(fs.deleteTree(dir / "lib/two"));
    EXPECT_TRUE(fs.createFolder(dir / "lib/two"));
    EXPECT_TRUE(fs.list(dir / "lib/two").empty());

    writeBytes(dir / "lib/1/b.mid", "x");  // another program's change
    EXPECT_FALSE(fs.exists(dir / "lib/1/B.MID"));
    fs.forgetIndexes();
    EXPECT_TRUE(fs.exists(dir / "lib/1/B.MID"));
}

TEST_F(FileSystemTest, FindsAStemsFilesAlsoAfterChangesMadeSinceTheFirstLookup) {
    for (const char* name :
         {"12.MID", "12.lyr", "12.mid.bak", "123.MID", "1.2.cur", "x12.MID", "12"})
        writeBytes(dir / "1/" + name, "x");
    std::filesystem::create_directory(dir / "1/12.dir");
    const std::string folder = dir / "1";
    auto withStem = [&](const char* stem) {
        Names names;
        for (const std::string& path : fs.filesWithStem(dir / "1", stem))
            names.push_back(path.substr(folder.size() + 1));
        return names;
    };
    EXPECT_EQ(withStem("12"), (Names{"12.MID", "12.lyr", "12.mid.bak"}));
    EXPECT_EQ(withStem("1.2"), Names{"1.2.cur"});
    EXPECT_EQ(withStem("1"), Names{"1.2.cur"});
    ASSERT_TRUE(fs.moveFile(dir / "1/12.lyr", dir / "12.lyr"));
    ASSERT_TRUE(fs.copyFile(dir / "1/123.MID", dir / "1/12.Kar"));
    ASSERT_TRUE(fs.deleteFile(dir / "1/12.MID.BAK", true));
    ASSERT_TRUE(fs.moveFile(dir / "1/x12.MID", dir / "1/12.CUR"));
    EXPECT_EQ(withStem("12"), (Names{"12.CUR", "12.Kar", "12.MID"}));
    EXPECT_EQ(withStem("X12"), Names{});
    EXPECT_TRUE(fs.filesWithStem(dir / "missing", "12").empty());
}

TEST(FileSystemText, SplitsLinesAtEveryKindOfLineEnd) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (Names{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (Names{"a", ""}));
    EXPECT_EQ(splitLines("\n\r"), (Names{"", ""}));
    EXPECT_EQ(splitLines("\r\r\n"), (Names{"", ""}));
    EXPECT_EQ(splitLines(""), Names{});
}

TEST_F(FileSystemTest, ReadsLinesUpToALimitAcrossReadBlocks) {
    // CR as the last byte of one block, LF first of the next: one line end, not two.
    const std::string first(4095, 'a'), second(8000, 'b');
    writeBytes(dir / "long.lyr", first + "\r\n" + second + "\rKey\nend");
    writeBytes(dir / "empty.lyr", "");
    EXPECT_EQ(fs.readLines(dir / "LONG.LYR"), (Names{first, second, "Key", "end"}));
    EXPECT_EQ(fs.readLines(dir / "long.lyr", 2), (Names{first, second}));
    EXPECT_EQ(fs.readFile(dir / "Long.Lyr"), first + "\r\n" + second + "\rKey\nend");
    EXPECT_EQ(fs.readLines(dir / "empty.lyr"), Names{});
    EXPECT_FALSE(fs.readLines(dir / "missing.lyr"));
    EXPECT_FALSE(fs.readLines(dir.path()));
}

TEST_F(FileSystemTest, WritesWholeFilesOverTheExistingNameButNotOverReadOnlyOnes) {
    writeBytes(dir / "SongList.TXT", "an old list that is longer than the new one");
    EXPECT_TRUE(fs.writeFileAtomic(dir / "songlist.txt", "new"));
    EXPECT_EQ(readBytes(dir / "SongList.TXT"), "new");
    ASSERT_TRUE(fs.setReadOnly(dir / "SongList.TXT", true));
    EXPECT_FALSE(fs.writeFileAtomic(dir / "SongList.TXT", "other"));
    EXPECT_FALSE(fs.writeFileAtomic(dir / "missing/x.txt", "x"));
    EXPECT_EQ(readBytes(dir / "SongList.TXT"), "new");
    EXPECT_EQ(rawNames(dir.path()), Names{"SongList.TXT"});  // no temporary file left
}

}  // namespace
}  // namespace dadaz
