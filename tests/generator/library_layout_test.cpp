#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "generator/library_generator.h"
#include "generator_test_util.h"
#include "library/folder_detection.h"
#include "platform/filesystem.h"

namespace dadaz {
namespace {

using testing::fileExists;
using testing::filesUnder;
using testing::folderExists;
using testing::stemOf;
using testing::TempDir;

bool hasMidi(const GeneratedSong& s) {
    return s.missing != MissingPartner::Midi && s.missing != MissingPartner::Both;
}
bool hasCursor(const GeneratedSong& s) {
    return s.missing != MissingPartner::Cursor && s.missing != MissingPartner::Both;
}

std::string upper(std::string s) {
    return upperAscii(s);
}

// Every file on disk is one the summary announced, and the other way round.
void expectEveryFileAccountedFor(const GeneratedLibrary& lib) {
    std::set<std::string> announced;
    for (const GeneratedSong& s : lib.songs) {
        announced.insert(s.lyricPath);
        if (hasMidi(s)) announced.insert(s.midiPath);
        if (hasCursor(s)) announced.insert(s.cursorPath);
    }
    for (const NewSongTriple& t : lib.newSongs)
        announced.insert({t.lyricPath, t.midiPath, t.cursorPath});
    for (const auto* list : {&lib.looseMidiFiles, &lib.otherFiles, &lib.strayFiles})
        announced.insert(list->begin(), list->end());

    std::set<std::string> onDisk;
    for (const auto& [relative, bytes] : filesUnder(lib.programFolder))
        onDisk.insert(lib.programFolder + "/" + relative);
    EXPECT_EQ(onDisk, announced);
    EXPECT_EQ(onDisk.size(), lib.filesWritten);
}

TEST(LibraryGenerator, SeparateLayoutPlacesTriplesInFirstCharacterFolders) {
    TempDir tmp;
    GeneratorOptions options;
    options.songs = 300;
    options.newSongs = 4;
    options.seed = 3;
    const std::string dir = tmp / "lib";
    const GeneratedLibrary lib = generateLibrary(dir, options);
    ASSERT_TRUE(lib.ok) << lib.error;
    ASSERT_EQ(lib.songs.size(), 300u);
    EXPECT_EQ(lib.midiFolder, dir + "/SONG");
    EXPECT_EQ(lib.lyricFolder, dir + "/LYRICS");
    EXPECT_EQ(lib.cursorFolder, dir + "/CURSOR");

    // Folder detection finds the library the summary announces.
    FileSystem fs;
    const DetectedFolders detected = detectFolders(fs, dir);
    EXPECT_EQ(detected.folders.midi, lib.midiFolder);
    EXPECT_EQ(detected.folders.lyric, lib.lyricFolder);
    EXPECT_EQ(detected.folders.cursor, lib.cursorFolder);
    EXPECT_EQ(detected.addSongSource, lib.newSongFolder);

    std::set<std::string> codes, firstChars, lengths;
    std::size_t lowerCaseExtensions = 0;
    for (const GeneratedSong& s : lib.songs) {
        SCOPED_TRACE(s.code);
        EXPECT_TRUE(s.volume.empty());
        ASSERT_GE(s.code.size(), 5u);
        ASSERT_LE(s.code.size(), 8u);
        EXPECT_TRUE(std::all_of(s.code.begin(), s.code.end(), ::isdigit));
        EXPECT_TRUE(codes.insert(s.code).second) << "code used twice";
        const std::string c = s.code.substr(0, 1);
        firstChars.insert(c);
        lengths.insert(std::to_string(s.code.size()));
        EXPECT_EQ(upper(s.lyricPath), upper(lib.lyricFolder + "/" + c + "/" + s.code + ".LYR"));
        EXPECT_EQ(upper(s.midiPath), upper(lib.midiFolder + "/" + c + "/" + s.code + ".MID"));
        EXPECT_EQ(upper(s.cursorPath), upper(lib.cursorFolder + "/" + c + "/" + s.code + ".CUR"));
        EXPECT_TRUE(fileExists(s.lyricPath));
        EXPECT_EQ(fileExists(s.midiPath), hasMidi(s));
        EXPECT_EQ(fileExists(s.cursorPath), hasCursor(s));
        // The lower-case spelling is the only one: no second file in another case.
        if (s.midiPath.back() == 'd') {
            ++lowerCaseExtensions;
            EXPECT_FALSE(fileExists(lib.midiFolder + "/" + c + "/" + s.code + ".MID"));
        }
    }
    EXPECT_GE(firstChars.size(), 6u);
    EXPECT_GE(lengths.size(), 2u);

    // Invalid triples: as announced, of both kinds.
    ASSERT_GE(lib.invalidSongs.size(), 3u);
    std::set<MissingPartner> kinds;
    for (std::size_t i = 0; i < lib.songs.size(); ++i) {
        const bool listed = std::count(lib.invalidSongs.begin(), lib.invalidSongs.end(), i) > 0;
        EXPECT_EQ(listed, lib.songs[i].missing != MissingPartner::None);
        if (listed) kinds.insert(lib.songs[i].missing);
    }
    EXPECT_TRUE(kinds.count(MissingPartner::Midi) && kinds.count(MissingPartner::Cursor));

    // Loose MIDI files directly in the MIDI folder: stems of up to 8 and of 9 or more.
    ASSERT_GE(lib.looseMidiFiles.size(), 3u);
    bool shortStem = false, longStem = false;
    for (const std::string& path : lib.looseMidiFiles) {
        EXPECT_EQ(path.rfind(lib.midiFolder + "/", 0), 0u);
        EXPECT_EQ(path.find('/', lib.midiFolder.size() + 1), std::string::npos);
        EXPECT_EQ(testing::readBytes(path).substr(0, 4), "MThd");
        (stemOf(path).size() <= 8 ? shortStem : longStem) = true;
    }
    EXPECT_TRUE(shortStem && longStem);

    // Files of other kinds and files outside the first-character folders.
    std::set<std::string> otherExtensions;
    for (const std::string& path : lib.otherFiles)
        otherExtensions.insert(upper(std::filesystem::path(path).extension().string()));
    for (const char* ext : {".BAK", ".KAR", ".TXT"}) EXPECT_TRUE(otherExtensions.count(ext)) << ext;
    bool strayLyric = false, strayCursor = false;
    for (const std::string& path : lib.strayFiles) {
        strayLyric |= path.rfind(lib.lyricFolder + "/", 0) == 0 &&
                      path.find('/', lib.lyricFolder.size() + 1) == std::string::npos;
        strayCursor |= path.rfind(lib.cursorFolder + "/", 0) == 0 &&
                       path.find('/', lib.cursorFolder.size() + 1) == std::string::npos;
    }
    EXPECT_TRUE(strayLyric && strayCursor);

    expectEveryFileAccountedFor(lib);
    EXPECT_NE(lib.describe().find("300 songs"), std::string::npos) << lib.describe();
}

TEST(LibraryGenerator, NewSongFolderHoldsCompleteTriplesUnderUnusedCodes) {
    TempDir tmp;
    GeneratorOptions options;
    options.songs = 200;
    options.newSongs = 6;
    const GeneratedLibrary lib = generateLibrary(tmp / "lib", options);
    ASSERT_TRUE(lib.ok) << lib.error;
    EXPECT_EQ(lib.newSongFolder, tmp / "lib" + "/New Song");
    ASSERT_EQ(lib.newSongs.size(), 6u);
    std::set<std::string> libraryCodes;
    for (const GeneratedSong& s : lib.songs) libraryCodes.insert(s.code);
    for (const NewSongTriple& t : lib.newSongs) {
        EXPECT_FALSE(libraryCodes.count(t.code)) << t.code;
        EXPECT_EQ(t.lyricPath, lib.newSongFolder + "/" + t.code + ".lyr");
        EXPECT_EQ(t.midiPath, lib.newSongFolder + "/" + t.code + ".mid");
        EXPECT_EQ(t.cursorPath, lib.newSongFolder + "/" + t.code + ".cur");
        EXPECT_EQ(testing::readBytes(t.midiPath).substr(0, 4), "MThd");
        EXPECT_TRUE(fileExists(t.cursorPath));
        const std::string lyric = testing::readBytes(t.lyricPath);
        EXPECT_EQ(lyric.substr(0, t.titleLine.size() + 2), t.titleLine + "\r\n");
        EXPECT_NE(lyric.find("\r\n" + t.artistLine + "\r\n" + t.keyLine + "\r\n"),
                  std::string::npos);
    }
    EXPECT_EQ(filesUnder(lib.newSongFolder).size(), 18u);

    // An empty library still gets its New Song folder.
    options.songs = 0;
    options.newSongs = 0;
    const GeneratedLibrary empty = generateLibrary(tmp / "empty", options);
    ASSERT_TRUE(empty.ok) << empty.error;
    EXPECT_TRUE(folderExists(empty.newSongFolder));
    EXPECT_TRUE(filesUnder(empty.programFolder).empty());
}

TEST(LibraryGenerator, MultiLayoutMakesVolumesWithTheirOwnSongFolders) {
    TempDir tmp;
    GeneratorOptions options;
    options.songs = 150;
    options.songsPerVolume = 50;
    options.layout = GeneratorLayout::Multi;
    const std::string dir = tmp / "multi";
    const GeneratedLibrary lib = generateLibrary(dir, options);
    ASSERT_TRUE(lib.ok) << lib.error;
    EXPECT_EQ(lib.volumes, (std::vector<std::string>{"VOL1", "VOL2", "VOL3"}));
    EXPECT_EQ(lib.midiFolder, dir);
    EXPECT_EQ(lib.lyricFolder, dir);
    EXPECT_EQ(lib.cursorFolder, dir);

    // Detection sees no song folders in the root, so all three folders are the root.
    FileSystem fs;
    const DetectedFolders detected = detectFolders(fs, dir);
    EXPECT_EQ(detected.folders.midi, dir);
    EXPECT_EQ(detected.folders.lyric, dir);
    EXPECT_EQ(detected.folders.cursor, dir);

    for (const std::string& v : lib.volumes)
        for (const char* sub : {"SONG", "LYRICS", "CURSOR"})
            EXPECT_TRUE(folderExists(dir + "/" + v + "/" + sub)) << v << "/" << sub;
    ASSERT_FALSE(lib.nonVolumeFolder.empty());
    EXPECT_TRUE(folderExists(lib.nonVolumeFolder));
    EXPECT_FALSE(folderExists(lib.nonVolumeFolder + "/LYRICS"));

    std::map<std::string, std::set<std::string>> volumesOfCode;
    std::map<std::string, int> songsPerVolume;
    for (const GeneratedSong& s : lib.songs) {
        SCOPED_TRACE(s.code);
        const std::string root = dir + "/" + s.volume;
        const std::string c = s.code.substr(0, 1);
        EXPECT_EQ(upper(s.lyricPath), upper(root + "/LYRICS/" + c + "/" + s.code + ".LYR"));
        EXPECT_EQ(upper(s.midiPath), upper(root + "/SONG/" + c + "/" + s.code + ".MID"));
        EXPECT_EQ(upper(s.cursorPath), upper(root + "/CURSOR/" + c + "/" + s.code + ".CUR"));
        EXPECT_TRUE(fileExists(s.lyricPath));
        EXPECT_TRUE(volumesOfCode[s.code].insert(s.volume).second) << "twice in one volume";
        ++songsPerVolume[s.volume];
    }
    EXPECT_EQ(songsPerVolume.size(), 3u);
    for (const auto& [volume, count] : songsPerVolume) EXPECT_EQ(count, 50) << volume;
    EXPECT_TRUE(std::any_of(volumesOfCode.begin(), volumesOfCode.end(), [](const auto& entry) {
        return entry.second.size() > 1;
    })) << "some code should exist in two volumes";

    // Loose MIDI files in the root, which is the MIDI folder of this layout.
    EXPECT_TRUE(std::any_of(
        lib.looseMidiFiles.begin(), lib.looseMidiFiles.end(), [&](const std::string& p) {
            return p.rfind(dir + "/", 0) == 0 && p.find('/', dir.size() + 1) == std::string::npos;
        }));
    expectEveryFileAccountedFor(lib);
}

TEST(LibraryGenerator, WithoutExtrasEveryLyricHasBothPartnersAndNothingElseLies) {
    TempDir tmp;
    GeneratorOptions options;
    options.songs = 120;
    options.newSongs = 2;
    options.extras = false;
    const GeneratedLibrary lib = generateLibrary(tmp / "lib", options);
    ASSERT_TRUE(lib.ok) << lib.error;
    EXPECT_TRUE(lib.invalidSongs.empty());
    EXPECT_TRUE(lib.looseMidiFiles.empty());
    EXPECT_TRUE(lib.otherFiles.empty());
    EXPECT_TRUE(lib.strayFiles.empty());
    EXPECT_EQ(filesUnder(lib.programFolder).size(), 3u * (120 + 2));
    for (const GeneratedSong& s : lib.songs) {
        EXPECT_EQ(s.lyricPath.substr(s.lyricPath.size() - 4), ".LYR");
        EXPECT_EQ(s.midiPath.substr(s.midiPath.size() - 4), ".MID");
        EXPECT_EQ(s.cursorPath.substr(s.cursorPath.size() - 4), ".CUR");
    }
    expectEveryFileAccountedFor(lib);
}

TEST(LibraryGenerator, SameSeedSameBytesWhateverTheThreads) {
    TempDir tmp;
    for (GeneratorLayout layout : {GeneratorLayout::Separate, GeneratorLayout::Multi}) {
        GeneratorOptions options;
        options.songs = 150;
        options.songsPerVolume = 60;
        options.newSongs = 3;
        options.layout = layout;
        options.seed = 99;
        const std::string tag = layout == GeneratorLayout::Multi ? "m" : "s";
        options.threads = 1;
        ASSERT_TRUE(generateLibrary(tmp / (tag + "1"), options).ok);
        options.threads = 2;
        ASSERT_TRUE(generateLibrary(tmp / (tag + "2"), options).ok);
        options.seed = 100;
        ASSERT_TRUE(generateLibrary(tmp / (tag + "3"), options).ok);

        const auto first = filesUnder(tmp / (tag + "1"));
        EXPECT_EQ(first, filesUnder(tmp / (tag + "2")));
        const auto other = filesUnder(tmp / (tag + "3"));
        EXPECT_NE(first, other);
        // Not just other names: the text differs too.
        std::size_t sameLyrics = 0;
        for (const auto& [path, bytes] : first)
            if (path.size() > 4 && path.substr(path.size() - 4) == ".LYR" && other.count(path) &&
                other.at(path) == bytes)
                ++sameLyrics;
        EXPECT_LT(sameLyrics, 5u);
    }
}

TEST(LibraryGenerator, RefusesAFolderThatHoldsAnything) {
    TempDir tmp;
    testing::writeBytes(tmp / "lib/SONG/1/10001.MID", "keep me");
    GeneratorOptions options;
    options.songs = 20;
    const GeneratedLibrary lib = generateLibrary(tmp / "lib", options);
    EXPECT_FALSE(lib.ok);
    EXPECT_NE(lib.error.find("not empty"), std::string::npos) << lib.error;
    EXPECT_EQ(testing::readBytes(tmp / "lib/SONG/1/10001.MID"), "keep me");
    EXPECT_EQ(filesUnder(tmp / "lib").size(), 1u);

    testing::writeBytes(tmp / "file", "x");
    EXPECT_FALSE(generateLibrary(tmp / "file", options).ok);
    EXPECT_EQ(testing::readBytes(tmp / "file"), "x");

    // A trailing slash names the same folder.
    const GeneratedLibrary slash = generateLibrary(tmp / "new/", options);
    ASSERT_TRUE(slash.ok) << slash.error;
    EXPECT_EQ(slash.programFolder, tmp / "new");
}

}  // namespace
}  // namespace dadaz
