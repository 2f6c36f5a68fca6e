#include "generator/library_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "library/folder_detection.h"
#include "platform/filesystem.h"
#include "support/temp_dir.h"

namespace dadaz {
namespace {

using testing::readBytes;
using testing::TempDir;
using Files = std::map<std::string, std::string>;
using Paths = std::vector<std::string>;

// Every file under `root` by its path relative to `root`, with its bytes.
Files filesUnder(const std::string& root) {
    Files files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[std::filesystem::relative(e.path(), root).string()] =
                readBytes(e.path().string());
    return files;
}

bool has(const GeneratedSong& s, MissingPartner partner) {
    return s.missing != partner && s.missing != MissingPartner::Both;
}

bool directlyIn(const std::string& path, const std::string& folder) {
    return path.starts_with(folder + "/") && path.find('/', folder.size() + 1) == std::string::npos;
}

bool anyDirectlyIn(const Paths& paths, const std::string& folder) {
    return std::any_of(paths.begin(), paths.end(), [&](auto& p) { return directlyIn(p, folder); });
}

// The files on disk are exactly those announced, each song's where its layout puts it.
void expectFilesAsAnnounced(const GeneratedLibrary& lib) {
    std::set<std::string> announced;
    for (const GeneratedSong& s : lib.songs) {
        const auto place = [&](const std::string& folder, const char* volumeSub, const char* ext) {
            const std::string base =
                s.volume.empty() ? folder : lib.programFolder + "/" + s.volume + volumeSub;
            return upperAscii(base + "/" + s.code.substr(0, 1) + "/" + s.code + ext);
        };
        EXPECT_EQ(upperAscii(s.lyricPath), place(lib.lyricFolder, "/LYRICS", ".LYR"));
        EXPECT_EQ(upperAscii(s.midiPath), place(lib.midiFolder, "/SONG", ".MID"));
        EXPECT_EQ(upperAscii(s.cursorPath), place(lib.cursorFolder, "/CURSOR", ".CUR"));
        announced.insert(s.lyricPath);
        if (has(s, MissingPartner::Midi)) announced.insert(s.midiPath);
        if (has(s, MissingPartner::Cursor)) announced.insert(s.cursorPath);
    }
    for (const NewSongTriple& t : lib.newSongs)
        announced.insert({t.lyricPath, t.midiPath, t.cursorPath});
    for (const Paths* list : {&lib.looseMidiFiles, &lib.otherFiles, &lib.strayFiles})
        announced.insert(list->begin(), list->end());
    std::set<std::string> onDisk;
    for (const auto& [relative, bytes] : filesUnder(lib.programFolder))
        onDisk.insert(lib.programFolder + "/" + relative);
    EXPECT_EQ(onDisk, announced);
    EXPECT_EQ(onDisk.size(), lib.filesWritten);
}

struct Libraries {
    TempDir tmp;
    GeneratedLibrary separate =
        generateLibrary(tmp / "lib", {.songs = 300, .seed = 3, .newSongs = 4});
    GeneratedLibrary multi = generateLibrary(
        tmp / "multi", {.songs = 150, .layout = GeneratorLayout::Multi, .songsPerVolume = 50});
};

const Libraries& made() {
    static const Libraries libraries;
    return libraries;
}

TEST(LibraryGenerator, SeparateLayoutHasTriplesOddFilesAndNewSongsWhereAnnounced) {
    const GeneratedLibrary& lib = made().separate;
    ASSERT_TRUE(lib.ok) << lib.error;
    const std::string dir = made().tmp / "lib";
    FileSystem fs;
    const DetectedFolders detected = detectFolders(fs, dir);
    EXPECT_EQ((Paths{detected.folders.midi, detected.folders.lyric, detected.folders.cursor,
                     detected.addSongSource}),
              (Paths{dir + "/SONG", dir + "/LYRICS", dir + "/CURSOR", lib.newSongFolder}));

    std::set<std::string> codes, firstCharacters;
    std::set<std::size_t> lengths;
    std::set<MissingPartner> missing;
    for (std::size_t i = 0; i < lib.songs.size(); ++i) {
        const GeneratedSong& s = lib.songs[i];
        EXPECT_TRUE(s.code.size() >= 5 && s.code.size() <= 8 &&
                    std::all_of(s.code.begin(), s.code.end(), ::isdigit))
            << s.code;
        EXPECT_TRUE(codes.insert(s.code).second) << "code used twice: " << s.code;
        firstCharacters.insert(s.code.substr(0, 1));
        lengths.insert(s.code.size());
        missing.insert(s.missing);
        const bool listed = std::count(lib.invalidSongs.begin(), lib.invalidSongs.end(), i) > 0;
        EXPECT_EQ(listed, s.missing != MissingPartner::None) << s.code;
    }
    EXPECT_TRUE(firstCharacters.size() >= 6 && lengths.size() >= 2);
    EXPECT_TRUE(missing.count(MissingPartner::Midi) && missing.count(MissingPartner::Cursor));

    // Loose MIDI files directly in the MIDI folder, stems of up to 8 and of 9 or more.
    std::set<bool> shortStems;
    for (const std::string& path : lib.looseMidiFiles) {
        EXPECT_TRUE(directlyIn(path, lib.midiFolder) && readBytes(path).starts_with("MThd"));
        shortStems.insert(std::filesystem::path(path).stem().string().size() <= 8);
    }
    EXPECT_EQ(shortStems.size(), 2u);
    std::set<std::string> otherExtensions;
    for (const std::string& path : lib.otherFiles)
        otherExtensions.insert(std::filesystem::path(path).extension().string());
    EXPECT_TRUE(otherExtensions.count(".BAK") && otherExtensions.count(".KAR") &&
                otherExtensions.count(".TXT"));
    EXPECT_TRUE(anyDirectlyIn(lib.strayFiles, lib.lyricFolder));
    EXPECT_TRUE(anyDirectlyIn(lib.strayFiles, lib.cursorFolder));

    // New songs: flat triples in "New Song" under codes the library does not use.
    ASSERT_EQ(lib.newSongs.size(), 4u);
    for (const NewSongTriple& t : lib.newSongs) {
        EXPECT_FALSE(codes.count(t.code)) << t.code;
        EXPECT_EQ(t.lyricPath, lib.newSongFolder + "/" + t.code + ".lyr");
        EXPECT_TRUE(readBytes(t.lyricPath)
                        .starts_with(t.titleLine + "\r\n" + t.artistLine + "\r\n" + t.keyLine));
        EXPECT_TRUE(readBytes(t.midiPath).starts_with("MThd"));
    }
    expectFilesAsAnnounced(lib);
}

TEST(LibraryGenerator, MultiLayoutHasVolumesSharingSomeCodesAndAFolderThatIsNoVolume) {
    const GeneratedLibrary& lib = made().multi;
    ASSERT_TRUE(lib.ok) << lib.error;
    const std::string dir = made().tmp / "multi";
    FileSystem fs;
    const Folders detected = detectFolders(fs, dir).folders;
    EXPECT_EQ((Paths{detected.midi, detected.lyric, detected.cursor, lib.midiFolder,
                     lib.lyricFolder, lib.cursorFolder}),
              Paths(6, dir));
    EXPECT_EQ(lib.volumes, (Paths{"VOL1", "VOL2", "VOL3"}));
    EXPECT_TRUE(std::filesystem::is_directory(lib.nonVolumeFolder + "/SONG"));
    EXPECT_FALSE(std::filesystem::exists(lib.nonVolumeFolder + "/LYRICS"));

    std::map<std::string, std::set<std::string>> volumesOfCode;
    std::map<std::string, int> songsPerVolume;
    for (const GeneratedSong& s : lib.songs) {
        EXPECT_TRUE(volumesOfCode[s.code].insert(s.volume).second) << s.code << " twice";
        ++songsPerVolume[s.volume];
    }
    EXPECT_EQ(songsPerVolume,
              (std::map<std::string, int>{{"VOL1", 50}, {"VOL2", 50}, {"VOL3", 50}}));
    EXPECT_TRUE(std::any_of(volumesOfCode.begin(), volumesOfCode.end(),
                            [](const auto& code) { return code.second.size() > 1; }));
    EXPECT_TRUE(anyDirectlyIn(lib.looseMidiFiles, dir));  // the root is the MIDI folder
    expectFilesAsAnnounced(lib);
}

// How many songs show each oddity of real lyric files.
std::map<std::string, int> oddities(const GeneratedLibrary& lib) {
    const auto has = [](std::string_view text, unsigned char low, unsigned char high) {
        return std::any_of(text.begin(), text.end(), [&](char c) {
            return static_cast<unsigned char>(c) >= low && static_cast<unsigned char>(c) <= high;
        });
    };
    std::map<std::string, int> seen;
    std::map<std::string, std::set<std::string>> artistsOfTitle;
    std::set<std::string> upperTitles;
    for (const GeneratedSong& s : lib.songs) {
        const std::string& t = s.titleLine;
        const std::string_view start =
            std::string_view(t).substr(std::min(t.size(), t.find_first_not_of(' ')), 1);
        const bool latin = !has(t, 0x80, 0xFF);
        seen["(remark)"] += t.find(" (") != std::string::npos;
        seen["[remark]"] += t.find(" [") != std::string::npos;
        seen["starts with ("] += t.starts_with('(');
        seen["leading blank"] += t.starts_with(' ');
        seen["leading vowel"] += has(start, 0xE0, 0xE4);
        seen["tone mark"] += has(t, 0xE8, 0xEB);
        seen["Thai digit"] += has(t, 0xF0, 0xF9);
        seen["Thai"] += has(t, 0xA1, 0xCE);
        seen["Latin mixed case"] += latin && has(t, 'a', 'z') && has(t, 'A', 'Z');
        seen["Latin upper case"] += latin && !has(t, 'a', 'z') && has(t, 'A', 'Z');
        seen["empty artist"] += s.artistLine.empty();
        seen["artist leading blank"] += s.artistLine.starts_with(' ');
        seen["empty key"] += s.keyLine.empty();
        seen["fourth line blank"] += s.fourthLine == " ";
        seen["fourth line text"] += !s.fourthLine.empty() && s.fourthLine != " ";
        seen["no final line break"] += !s.endsWithLineBreak;
        seen["exact copy"] += s.exactCopyOf >= 0;
        artistsOfTitle[t].insert(s.artistLine);
        upperTitles.insert(upperAscii(t));
    }
    seen["title with two artists"] = static_cast<int>(std::count_if(
        artistsOfTitle.begin(), artistsOfTitle.end(), [](auto& t) { return t.second.size() > 1; }));
    seen["titles equal but for case"] =
        static_cast<int>(artistsOfTitle.size() - upperTitles.size());
    return seen;
}

TEST(LibraryGenerator, LyricFilesAreCodePageTextShowingEveryOddityCopiesByteForByte) {
    const GeneratedLibrary& lib = made().separate;
    ASSERT_TRUE(lib.ok) << lib.error;
    for (const GeneratedSong& s : lib.songs) {
        SCOPED_TRACE(s.lyricPath);
        const std::string bytes = readBytes(s.lyricPath);
        for (const char c : bytes) {  // no byte that code page 874 leaves without a character
            const auto b = static_cast<unsigned char>(c);
            ASSERT_FALSE((b >= 0x81 && b <= 0x90 && b != 0x85) || (b >= 0x98 && b <= 0x9F) ||
                         (b >= 0xDB && b <= 0xDE) || b >= 0xFC);
        }
        std::string rest = bytes;  // every line ends with CR LF: no CR or LF alone
        for (std::size_t at; (at = rest.find("\r\n")) != std::string::npos;) rest.erase(at, 2);
        ASSERT_EQ(rest.find_first_of("\r\n"), std::string::npos);
        const Paths lines = splitLines(bytes);
        ASSERT_GE(lines.size(), 10u);
        EXPECT_EQ(Paths(lines.begin(), lines.begin() + 4),
                  (Paths{s.titleLine, s.artistLine, s.keyLine, s.fourthLine}));
        EXPECT_EQ(bytes.ends_with("\r\n"), s.endsWithLineBreak);
        const std::string midi = readBytes(s.midiPath);
        if (s.exactCopyOf >= 0) {
            const GeneratedSong& source = lib.songs[static_cast<std::size_t>(s.exactCopyOf)];
            EXPECT_EQ(bytes, readBytes(source.lyricPath));
            if (has(s, MissingPartner::Midi) && has(source, MissingPartner::Midi)) {
                EXPECT_EQ(midi, readBytes(source.midiPath));
            }
        }
        if (has(s, MissingPartner::Midi)) {
            EXPECT_EQ(midi.size(), s.midiSize);
        }
    }
    for (const auto& [oddity, songs] : oddities(lib)) EXPECT_GT(songs, 0) << oddity;

    // Twenty songs are too few for every script and spelling, but show every oddity.
    TempDir tmp;
    const GeneratedLibrary small = generateLibrary(tmp / "small", {.songs = 20, .seed = 5});
    ASSERT_TRUE(small.ok) << small.error;
    const std::set<std::string> byChance = {"Thai", "Thai digit", "Latin upper case",
                                            "leading vowel", "tone mark"};
    for (const auto& [oddity, songs] : oddities(small)) {
        if (!byChance.count(oddity)) {
            EXPECT_GT(songs, 0) << oddity;
        }
    }
}

TEST(LibraryGenerator, WithoutExtrasEveryLyricHasBothPartnersAndNothingElseLies) {
    TempDir tmp;
    const GeneratedLibrary lib =
        generateLibrary(tmp / "lib", {.songs = 60, .newSongs = 2, .extras = false});
    ASSERT_TRUE(lib.ok) << lib.error;
    EXPECT_TRUE(lib.invalidSongs.empty() && lib.looseMidiFiles.empty() && lib.otherFiles.empty() &&
                lib.strayFiles.empty());
    EXPECT_EQ(filesUnder(lib.programFolder).size(), 3u * (60 + 2));
    expectFilesAsAnnounced(lib);
}

TEST(LibraryGenerator, SameSeedSameBytesWhateverTheThreads) {
    TempDir tmp;
    for (GeneratorLayout layout : {GeneratorLayout::Separate, GeneratorLayout::Multi}) {
        const auto make = [&](const std::string& name, std::uint64_t seed, int threads) {
            const GeneratorOptions options{.songs = 80,
                                           .layout = layout,
                                           .seed = seed,
                                           .songsPerVolume = 30,
                                           .threads = threads};
            EXPECT_TRUE(generateLibrary(tmp / name, options).ok);
            return filesUnder(tmp / name);
        };
        const std::string tag = layout == GeneratorLayout::Multi ? "m" : "s";
        const Files first = make(tag + "1", 99, 1);
        EXPECT_EQ(make(tag + "2", 99, 3), first);
        EXPECT_NE(make(tag + "3", 100, 2), first);
    }
}

TEST(LibraryGenerator, RefusesAFolderThatHoldsAnything) {
    TempDir tmp;
    testing::writeBytes(tmp / "lib/SONG/1/10001.MID", "keep me");
    testing::writeBytes(tmp / "file", "x");
    const GeneratedLibrary lib = generateLibrary(tmp / "lib", {.songs = 20});
    EXPECT_FALSE(lib.ok);
    EXPECT_NE(lib.error.find("not empty"), std::string::npos) << lib.error;
    EXPECT_FALSE(generateLibrary(tmp / "file", {.songs = 20}).ok);
    EXPECT_EQ(filesUnder(tmp.path()), (Files{{"file", "x"}, {"lib/SONG/1/10001.MID", "keep me"}}));
    // A closing "/" names the same folder; a library of no songs is made too.
    EXPECT_EQ(generateLibrary(tmp / "new/", {.songs = 20}).programFolder, tmp / "new");
    EXPECT_TRUE(generateLibrary(tmp / "empty", {.songs = 0, .newSongs = 0}).ok);
}

}  // namespace
}  // namespace dadaz
