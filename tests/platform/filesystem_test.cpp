#include "platform/filesystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// Raw names in a folder as the system lists them, sorted, hidden ones included.
std::vector<std::string> rawNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> listedNames(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const DirEntry& entry : entries) names.push_back(entry.name);
    return names;
}

using Names = std::vector<std::string>;

TEST(FileSystemResolve, MatchesEveryComponentWithoutRegardToCase) {
    TempDir dir;
    writeBytes(dir / "Song/1/12345.mid", "MThd");
    FileSystem fs;
    EXPECT_EQ(fs.resolve(dir / "Song/1/12345.MID"), dir / "Song/1/12345.mid");
    EXPECT_EQ(fs.resolve(dir / "SONG/1/12345.Mid"), dir / "Song/1/12345.mid");
    EXPECT_EQ(fs.resolve(dir / "song/1"), dir / "Song/1");
    EXPECT_TRUE(fs.isFile(dir / "SONG/1/12345.MID"));
    EXPECT_FALSE(fs.isFolder(dir / "SONG/1/12345.MID"));
    EXPECT_TRUE(fs.isFolder(dir / "SONG/1"));
    EXPECT_FALSE(fs.isFile(dir / "SONG/1"));
    EXPECT_FALSE(fs.exists(dir / "SONG/1/12346.MID"));
    EXPECT_FALSE(fs.exists(dir / "SONG/1/12345.MID/x"));  // a file is no folder
    EXPECT_FALSE(fs.exists(dir / "SONG/2/12345.MID"));
    EXPECT_EQ(fs.resolve(dir / "SONG/1/../1/12345.MID"), dir / "Song/1/../1/12345.mid");
    EXPECT_EQ(fs.resolve(dir / "SONG//1/./12345.MID"), dir / "Song/1/12345.mid");
    EXPECT_EQ(fs.fileSize(dir / "song/1/12345.MID"), 4u);
    EXPECT_EQ(fs.resolve("/"), "/");
}

TEST(FileSystemResolve, RefusesEmptyPathsAndEmbeddedNulBytes) {
    TempDir dir;
    writeBytes(dir / "a", "x");
    FileSystem fs;
    EXPECT_FALSE(fs.resolve(""));
    // A NUL would cut the path short at the system call: "a\0/../b" must not reach "a".
    EXPECT_FALSE(fs.exists(dir / std::string("a\0b", 3)));
    EXPECT_FALSE(fs.deleteFile(dir / std::string("a\0b", 3), true));
    EXPECT_EQ(readBytes(dir / "a"), "x");
}

TEST(FileSystemResolve, PrefersTheExactCaseWhenSeveralExist) {
    TempDir dir;
    writeBytes(dir / "a.mid", "lower");
    writeBytes(dir / "A.MID", "upper");
    FileSystem fs;
    EXPECT_EQ(fs.resolve(dir / "a.mid"), dir / "a.mid");
    EXPECT_EQ(fs.resolve(dir / "A.MID"), dir / "A.MID");
    EXPECT_EQ(fs.resolve(dir / "A.mid"), dir / "A.MID");  // first in byte order
    EXPECT_EQ(fs.readFile(dir / "a.mid"), "lower");
}

TEST(FileSystemResolve, ManyThreadsResolveThroughOneObject) {
    TempDir dir;
    for (int folder = 0; folder < 8; ++folder) {
        for (int file = 0; file < 50; ++file) {
            writeBytes(dir / (std::to_string(folder) + "/s" + std::to_string(file) + ".mid"), "");
        }
    }
    FileSystem fs;  // indexes are built while the threads race for them
    std::vector<int> wrong(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                for (int folder = 0; folder < 8; ++folder) {
                    int file = (round * 7 + folder + t) % 50;
                    std::string name = std::to_string(folder) + "/s" + std::to_string(file);
                    if (fs.resolve(dir / (name + ".MID")) != dir / (name + ".mid")) ++wrong[t];
                    if (fs.exists(dir / (name + ".LYR"))) ++wrong[t];
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(FileSystemList, OrdersByUpperCasedNameInByteOrder) {
    TempDir dir;
    for (const char* name : {"b", "A", "_x", "a1", "\xE0\xB8\x81.lyr", ".hidden"}) {
        writeBytes(dir / name, "12");
    }
    std::filesystem::create_directory(dir / "Z");
    FileSystem fs;
    auto entries = fs.list(dir.path(), ListSizes::Read);
    EXPECT_EQ(listedNames(entries),
              (Names{".hidden", "A", "a1", "b", "Z", "_x", "\xE0\xB8\x81.lyr"}));
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_TRUE(entries[0].hidden);
    EXPECT_FALSE(entries[1].hidden);
    EXPECT_EQ(entries[1].size, 2u);
    EXPECT_TRUE(entries[4].isFolder);
    EXPECT_EQ(listedNames(fs.listFolders(dir.path())), Names{"Z"});
    EXPECT_EQ(fs.listFiles(dir.path()).size(), 6u);
    EXPECT_EQ(fs.countFiles(dir.path()), 6u);
    EXPECT_EQ(fs.countFolders(dir.path()), 1u);
    EXPECT_TRUE(fs.list(dir / "missing").empty());
    EXPECT_EQ(fs.countFiles(dir / "missing"), 0u);
}

TEST(FileSystemMove, NeverReplacesAnExistingFileInAnyCase) {
    TempDir dir;
    writeBytes(dir / "1/a.mid", "source");
    writeBytes(dir / "1/b.mid", "same name");
    writeBytes(dir / "1/C.MID", "other case");
    writeBytes(dir / "2/a.mid", "other folder");
    FileSystem fs;
    EXPECT_FALSE(fs.moveFile(dir / "1/a.mid", dir / "1/b.mid"));
    EXPECT_FALSE(fs.moveFile(dir / "1/a.mid", dir / "1/c.mid"));
    EXPECT_FALSE(fs.moveFile(dir / "1/a.mid", dir / "2/A.MID"));
    EXPECT_EQ(readBytes(dir / "1/a.mid"), "source");
    EXPECT_EQ(readBytes(dir / "1/b.mid"), "same name");
    EXPECT_EQ(readBytes(dir / "1/C.MID"), "other case");
    EXPECT_EQ(readBytes(dir / "2/a.mid"), "other folder");
    EXPECT_EQ(rawNames(dir / "1"), (Names{"C.MID", "a.mid", "b.mid"}));
    EXPECT_FALSE(fs.moveFile(dir / "1/missing.mid", dir / "1/d.mid"));
    EXPECT_FALSE(fs.moveFile(dir / "1/a.mid", dir / "3/a.mid"));  // no such folder
}

TEST(FileSystemMove, MovesAcrossFoldersAndKeepsIndexesRight) {
    TempDir dir;
    writeBytes(dir / "1/12345.MID", "song");
    std::filesystem::create_directory(dir / "2");
    FileSystem fs;
    ASSERT_TRUE(fs.listFiles(dir / "2").empty());  // both folders indexed before the move
    ASSERT_EQ(fs.countFiles(dir / "1"), 1u);
    EXPECT_TRUE(fs.moveFile(dir / "1/12345.mid", dir / "2/20001.MID"));
    EXPECT_EQ(readBytes(dir / "2/20001.MID"), "song");
    EXPECT_FALSE(fs.exists(dir / "1/12345.MID"));
    EXPECT_EQ(fs.resolve(dir / "2/20001.mid"), dir / "2/20001.MID");
    EXPECT_EQ(listedNames(fs.listFiles(dir / "2")), Names{"20001.MID"});
    EXPECT_EQ(fs.countFiles(dir / "1"), 0u);
    EXPECT_EQ(fs.listFiles(dir / "2", ListSizes::Read).front().size, 4u);
}

TEST(FileSystemMove, RenamesAFileToAnotherCaseOfItsOwnName) {
    TempDir dir;
    writeBytes(dir / "12345.mid", "song");
    FileSystem fs;
    EXPECT_TRUE(fs.moveFile(dir / "12345.mid", dir / "12345.MID"));
    EXPECT_EQ(rawNames(dir.path()), Names{"12345.MID"});
    EXPECT_EQ(readBytes(dir / "12345.MID"), "song");
    EXPECT_EQ(listedNames(fs.list(dir.path())), Names{"12345.MID"});
    EXPECT_TRUE(fs.moveFile(dir / "12345.MID", dir / "12345.MID"));  // already so named
    EXPECT_EQ(rawNames(dir.path()), Names{"12345.MID"});
}

TEST(FileSystemMove, RefusesACaseRenameOntoAnotherCaseVariant) {
    TempDir dir;
    writeBytes(dir / "A.MID", "upper");
    writeBytes(dir / "a.mid", "lower");
    FileSystem fs;
    EXPECT_FALSE(fs.moveFile(dir / "A.MID", dir / "a.Mid"));
    EXPECT_FALSE(fs.moveFile(dir / "a.mid", dir / "A.mid"));
    EXPECT_EQ(rawNames(dir.path()), (Names{"A.MID", "a.mid"}));
    EXPECT_EQ(readBytes(dir / "A.MID"), "upper");
    EXPECT_EQ(readBytes(dir / "a.mid"), "lower");
}

// Another file system than the temporary folder's, when the machine has one at hand.
class OtherDeviceDir {
  public:
    OtherDeviceDir() {
        struct stat shm, tmp;
        std::string pattern = "/dev/shm/dadaz-test-XXXXXX";
        if (::stat("/dev/shm", &shm) != 0 ||
            ::stat(std::filesystem::temp_directory_path().c_str(), &tmp) != 0 ||
            shm.st_dev == tmp.st_dev || !::mkdtemp(pattern.data())) {
            return;
        }
        path_ = pattern;
    }
    ~OtherDeviceDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

TEST(FileSystemMove, MovesBetweenFileSystemsByCopyThenDelete) {
    OtherDeviceDir other;
    if (other.path().empty()) GTEST_SKIP() << "no second file system";
    TempDir dir;
    std::string big(300 * 1024, 'x');
    writeBytes(dir / "a.mid", big);
    writeBytes(other.path() + "/taken.mid", "keep");
    FileSystem fs;
    EXPECT_TRUE(fs.moveFile(dir / "A.MID", other.path() + "/b.mid"));
    EXPECT_EQ(readBytes(other.path() + "/b.mid"), big);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.mid"));
    writeBytes(dir / "c.mid", "source");
    EXPECT_FALSE(fs.moveFile(dir / "c.mid", other.path() + "/TAKEN.MID"));
    EXPECT_EQ(readBytes(dir / "c.mid"), "source");
    EXPECT_EQ(rawNames(other.path()), (Names{"b.mid", "taken.mid"}));
}

TEST(FileSystemCopy, OverwritesTheTargetInItsOwnCaseLeavingNoTemporaryFile) {
    TempDir dir;
    writeBytes(dir / "new/12345.mid", "new content");
    writeBytes(dir / "lib/12345.MID", "old content that is longer");
    FileSystem fs;
    ASSERT_EQ(fs.countFiles(dir / "lib"), 1u);
    EXPECT_TRUE(fs.copyFile(dir / "new/12345.MID", dir / "LIB/12345.mid"));
    EXPECT_EQ(rawNames(dir / "lib"), Names{"12345.MID"});
    EXPECT_EQ(readBytes(dir / "lib/12345.MID"), "new content");
    EXPECT_EQ(readBytes(dir / "new/12345.mid"), "new content");
    auto listed = fs.listFiles(dir / "lib", ListSizes::Read);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].size, 11u);

    EXPECT_TRUE(fs.copyFile(dir / "new/12345.mid", dir / "lib/54321.mid"));
    EXPECT_EQ(rawNames(dir / "lib"), (Names{"12345.MID", "54321.mid"}));
    EXPECT_EQ(listedNames(fs.listFiles(dir / "lib")), (Names{"12345.MID", "54321.mid"}));
    EXPECT_FALSE(fs.copyFile(dir / "new/missing.mid", dir / "lib/x.mid"));
    EXPECT_FALSE(fs.copyFile(dir / "new/12345.mid", dir / "nofolder/x.mid"));
    EXPECT_EQ(rawNames(dir / "lib"), (Names{"12345.MID", "54321.mid"}));
}

TEST(FileSystemCopy, LeavesAReadOnlyTargetAndKeepsTheSourceAttribute) {
    TempDir dir;
    writeBytes(dir / "src.lyr", "new");
    writeBytes(dir / "locked.lyr", "old");
    FileSystem fs;
    ASSERT_TRUE(fs.setReadOnly(dir / "locked.lyr", true));
    EXPECT_FALSE(fs.copyFile(dir / "src.lyr", dir / "LOCKED.LYR"));
    EXPECT_EQ(readBytes(dir / "locked.lyr"), "old");
    ASSERT_TRUE(fs.setReadOnly(dir / "src.lyr", true));
    EXPECT_TRUE(fs.copyFile(dir / "src.lyr", dir / "copy.lyr"));
    EXPECT_TRUE(fs.isReadOnly(dir / "copy.lyr"));
}

TEST(FileSystemDelete, UnforcedDeleteLeavesReadOnlyFiles) {
    TempDir dir;
    writeBytes(dir / "a.mid", "x");
    writeBytes(dir / "b.mid", "x");
    FileSystem fs;
    ASSERT_TRUE(fs.setReadOnly(dir / "A.MID", true));
    EXPECT_TRUE(fs.isReadOnly(dir / "a.mid"));
    EXPECT_FALSE(fs.isReadOnly(dir / "b.mid"));
    EXPECT_FALSE(fs.deleteFile(dir / "a.mid", false));
    EXPECT_TRUE(std::filesystem::exists(dir / "a.mid"));
    EXPECT_EQ(fs.deleteMatching(dir.path(), "*.mid", false), 1);
    EXPECT_EQ(rawNames(dir.path()), Names{"a.mid"});
    EXPECT_TRUE(fs.deleteFile(dir / "A.mid", true));
    EXPECT_TRUE(rawNames(dir.path()).empty());
    EXPECT_FALSE(fs.exists(dir / "a.mid"));
    EXPECT_FALSE(fs.deleteFile(dir / "a.mid", true));
    ASSERT_TRUE(fs.createFolder(dir / "sub"));
    EXPECT_FALSE(fs.deleteFile(dir / "sub", true));  // files only
    EXPECT_TRUE(fs.isFolder(dir / "SUB"));
}

TEST(FileSystemDelete, PatternsMatchExtensionsWithoutCaseAndStemsLiterally) {
    TempDir dir;
    for (const char* name : {"1*2.mid", "1*2.LYR", "102.mid", "1x2.mid", "12.MID", "1?2.cur", "1*2",
                             "x.midi", "1*2.mid.bak"}) {
        writeBytes(dir / name, "x");
    }
    std::filesystem::create_directory(dir / "f.mid");
    FileSystem fs;
    EXPECT_EQ(fs.deleteMatching(dir.path(), "1*2.*", true), 3);
    EXPECT_EQ(rawNames(dir.path()),
              (Names{"1*2", "102.mid", "12.MID", "1?2.cur", "1x2.mid", "f.mid", "x.midi"}));
    EXPECT_EQ(fs.deleteMatching(dir.path(), "1?2.*", true), 1);
    EXPECT_EQ(fs.deleteMatching(dir.path(), "*.MID", true), 3);
    EXPECT_EQ(rawNames(dir.path()), (Names{"1*2", "f.mid", "x.midi"}));
    EXPECT_EQ(fs.deleteMatching(dir.path(), "*.*", true), 2);
    EXPECT_EQ(rawNames(dir.path()), Names{"f.mid"});  // folders stay
    EXPECT_EQ(fs.deleteMatching(dir.path(), "*.tmp", true), 0);
    EXPECT_EQ(fs.deleteMatching(dir / "missing", "*.*", true), 0);
    EXPECT_EQ(fs.deleteMatching(dir.path(), "../*.*", true), 0);
}

TEST(FileSystemDelete, DeletesATreeWithReadOnlyContent) {
    TempDir dir;
    writeBytes(dir / "Tree/sub/a.mid", "x");
    writeBytes(dir / "Tree/b.lyr", "x");
    writeBytes(dir / "keep.txt", "x");
    FileSystem fs;
    ASSERT_TRUE(fs.setReadOnly(dir / "tree/sub/a.mid", true));
    ASSERT_EQ(fs.countFiles(dir / "tree/sub"), 1u);
    ::chmod((dir / "Tree/sub").c_str(), 0555);
    EXPECT_TRUE(fs.deleteTree(dir / "TREE"));
    EXPECT_EQ(rawNames(dir.path()), Names{"keep.txt"});
    EXPECT_FALSE(fs.exists(dir / "tree"));
    EXPECT_FALSE(fs.exists(dir / "tree/sub/a.mid"));
    EXPECT_FALSE(fs.deleteTree(dir / "keep.txt"));
    EXPECT_FALSE(fs.deleteTree("/"));
    EXPECT_FALSE(fs.deleteTree(dir / ".."));
}

TEST(FileSystemFolders, CreatesOnlyTheLastLevel) {
    TempDir dir;
    writeBytes(dir / "file", "x");
    FileSystem fs;
    EXPECT_TRUE(fs.createFolder(dir / "Log"));
    EXPECT_TRUE(fs.createFolder(dir / "LOG"));  // exists in another case
    EXPECT_EQ(rawNames(dir.path()), (Names{"Log", "file"}));
    EXPECT_FALSE(fs.createFolder(dir / "a/b"));
    EXPECT_FALSE(fs.createFolder(dir / "FILE"));
    EXPECT_TRUE(fs.isFolder(dir / "log"));
    EXPECT_FALSE(fs.setReadOnly(dir / "log", true));  // files only
    EXPECT_EQ(listedNames(fs.listFolders(dir.path())), Names{"Log"});
}

TEST(FileSystemIndex, SeesOthersChangesOnlyAfterForgetting) {
    TempDir dir;
    writeBytes(dir / "1/a.mid", "x");
    FileSystem fs;
    ASSERT_TRUE(fs.exists(dir / "1/A.MID"));
    writeBytes(dir / "1/b.mid", "x");  // another program's change
    EXPECT_FALSE(fs.exists(dir / "1/B.MID"));
    fs.forgetIndexes();
    EXPECT_TRUE(fs.exists(dir / "1/B.MID"));
}

TEST(FileSystemIndex, StaysRightThroughItsOwnChanges) {
    TempDir dir;
    writeBytes(dir / "lib/1/a.mid", "a");
    FileSystem fs;
    ASSERT_EQ(fs.countFiles(dir / "lib/1"), 1u);
    ASSERT_FALSE(fs.exists(dir / "lib/2/w.lyr"));  // a miss before the folder exists
    ASSERT_TRUE(fs.createFolder(dir / "lib/2"));
    EXPECT_TRUE(fs.writeFileAtomic(dir / "lib/2/w.lyr", "w"));
    EXPECT_TRUE(fs.copyFile(dir / "lib/1/a.mid", dir / "lib/2/c.mid"));
    EXPECT_TRUE(fs.moveFile(dir / "lib/1/a.mid", dir / "lib/1/m.mid"));
    EXPECT_EQ(listedNames(fs.list(dir / "lib/2")), (Names{"c.mid", "w.lyr"}));
    EXPECT_EQ(listedNames(fs.list(dir / "lib/1")), Names{"m.mid"});
    EXPECT_TRUE(fs.deleteFile(dir / "lib/2/C.MID", false));
    EXPECT_EQ(listedNames(fs.list(dir / "lib/2")), Names{"w.lyr"});
    EXPECT_TRUE(fs.moveFile(dir / "lib/2", dir / "lib/Two"));  // a folder moves too
    EXPECT_FALSE(fs.exists(dir / "lib/2/w.lyr"));
    EXPECT_TRUE(fs.exists(dir / "lib/TWO/W.LYR"));
    EXPECT_TRUE(fs.deleteTree(dir / "lib/two"));
    EXPECT_EQ(listedNames(fs.list(dir / "lib")), Names{"1"});
    EXPECT_TRUE(fs.createFolder(dir / "lib/two"));
    EXPECT_TRUE(fs.list(dir / "lib/two").empty());
}

TEST(FileSystemText, SplitsLinesAtEveryKindOfLineEnd) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (Names{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (Names{"a", ""}));
    EXPECT_EQ(splitLines("\n\r"), (Names{"", ""}));
    EXPECT_EQ(splitLines("\r\r\n"), (Names{"", ""}));
    EXPECT_EQ(splitLines(""), Names{});
    EXPECT_EQ(splitLines("no end"), Names{"no end"});
}

TEST(FileSystemText, ReadsLinesUpToALimit) {
    TempDir dir;
    writeBytes(dir / "a.lyr", "Title\r\nArtist\rKey\nLyric");
    writeBytes(dir / "empty.lyr", "");
    FileSystem fs;
    EXPECT_EQ(fs.readLines(dir / "A.LYR"), (Names{"Title", "Artist", "Key", "Lyric"}));
    EXPECT_EQ(fs.readLines(dir / "a.lyr", 2), (Names{"Title", "Artist"}));
    EXPECT_EQ(fs.readLines(dir / "a.lyr", 9), (Names{"Title", "Artist", "Key", "Lyric"}));
    EXPECT_FALSE(fs.readLines(dir / "missing.lyr"));
    EXPECT_FALSE(fs.readLines(dir.path()));
    EXPECT_EQ(fs.readLines(dir / "empty.lyr"), Names{});
}

TEST(FileSystemText, ReadsLinesWhoseEndsStraddleReadBlocks) {
    TempDir dir;
    // CR as the last byte of one block, LF first of the next: one line end, not two.
    std::string first(4095, 'a');
    std::string second(8000, 'b');
    writeBytes(dir / "long.lyr", first + "\r\n" + second + "\r\nend");
    FileSystem fs;
    EXPECT_EQ(fs.readLines(dir / "long.lyr"), (Names{first, second, "end"}));
    EXPECT_EQ(fs.readLines(dir / "long.lyr", 2), (Names{first, second}));
    EXPECT_EQ(fs.readFile(dir / "LONG.LYR"), first + "\r\n" + second + "\r\nend");
}

TEST(FileSystemText, WritesAtomicallyOverTheExistingName) {
    TempDir dir;
    writeBytes(dir / "SongList.TXT", "an old list that is longer than the new one");
    FileSystem fs;
    EXPECT_TRUE(fs.writeFileAtomic(dir / "songlist.txt", "new"));
    EXPECT_EQ(rawNames(dir.path()), Names{"SongList.TXT"});
    EXPECT_EQ(readBytes(dir / "SongList.TXT"), "new");
    EXPECT_EQ(fs.fileSize(dir / "SONGLIST.TXT"), 3u);

    ASSERT_TRUE(fs.setReadOnly(dir / "SongList.TXT", true));
    EXPECT_FALSE(fs.writeFileAtomic(dir / "SongList.TXT", "other"));
    EXPECT_EQ(readBytes(dir / "SongList.TXT"), "new");
    EXPECT_FALSE(fs.writeFileAtomic(dir / "missing/x.txt", "x"));
    EXPECT_EQ(rawNames(dir.path()), Names{"SongList.TXT"});
}

}  // namespace
}  // namespace dadaz
