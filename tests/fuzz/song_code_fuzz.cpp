// Codes and volume texts of any bytes, as file names, song lines and command lines give them: a
// code the code check accepts builds paths only inside its own folders of the library.
#include <cstdint>
#include <filesystem>

#include "catalogue/song_files.h"
#include "cli/folder_text.h"
#include "fuzz_support.h"
#include "library/song_code.h"
#include "library/song_paths.h"
#include "platform/filesystem.h"

using namespace dadaz;

namespace {

const SongFileKind kKinds[] = {SongFileKind::Midi, SongFileKind::Lyric, SongFileKind::Cursor};

struct Library {
    FileSystem fs;
    std::string root = fuzz::scratchFolder() + "/Karaoke";
    Folders separate{root + "/SONG", root + "/LYRICS", root + "/CURSOR", root + "/Invalid"};
    Folders multi{root, root, root, root + "/Invalid"};
    // Beside it, another library whose name differs only in case.
    std::string twin = fuzz::scratchFolder() + "/KARAOKE";
    Library() {
        for (const std::string& library : {root, twin}) {
            for (const char* folder : {"/SONG/1", "/LYRICS/1", "/CURSOR/1", "/VOL1/SONG/1",
                                       "/VOL1/LYRICS/1", "/VOL1/CURSOR/1"})
                std::filesystem::create_directories(library + folder);
        }
    }
};

Library& library() {
    static Library instance;
    return instance;
}

// The folder a kind's files lie in: for the multi-folder layout, under the volume.
std::string kindFolder(const SongPaths& paths, SongFileKind kind, const std::string& volume) {
    const Folders& f = paths.folders();
    const char* sub = kind == SongFileKind::Midi    ? "/SONG"
                      : kind == SongFileKind::Lyric ? "/LYRICS"
                                                    : "/CURSOR";
    if (paths.multiFolder()) return volume + sub;
    return kind == SongFileKind::Midi ? f.midi : kind == SongFileKind::Lyric ? f.lyric : f.cursor;
}

void checkPaths(const SongPaths& paths, const std::string& code, const std::string& volume) {
    for (SongFileKind kind : kKinds) {
        const std::string path = paths.path(kind, code, volume);
        if (path.empty()) continue;
        FUZZ_CHECK(isSafeCode(code));
        // {folder}/{first character}/{code}.EXT, and nothing in it climbs or repeats a "/".
        const std::string folder = kindFolder(paths, kind, volume);
        const std::string want = folder + "/" + firstCharacterFolder(code) + "/" + code +
                                 std::string(songFileExtension(kind));
        FUZZ_CHECK(upperAscii(path) == upperAscii(want));
        FUZZ_CHECK(std::filesystem::path(path).lexically_normal() == path);
        FUZZ_CHECK(upperAscii(path).starts_with(upperAscii(paths.root()) + "/") ||
                   !paths.multiFolder());
        // Where it leads on disk lies inside the library, never in its twin.
        const auto folderOnDisk =
            library().fs.resolve(std::filesystem::path(path).parent_path().string());
        FUZZ_CHECK(!folderOnDisk || library().fs.leadsInside(*folderOnDisk, library().root));
        const auto found = paths.find(kind, code, volume);
        FUZZ_CHECK(!found);  // the library holds no songs
    }
}

// "%R" stands for the library's root, which differs from run to run.
std::string withRoot(std::string text, const std::string& root) {
    for (std::size_t at = 0; (at = text.find("%R", at)) != std::string::npos; at += root.size())
        text.replace(at, 2, root);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Library& library = ::library();
    const std::string text =
        withRoot(std::string(reinterpret_cast<const char*>(data), size), library.root);

    // As a file name.
    FUZZ_CHECK(codeFromFileName(text + ".LYR") == text && hasExtension(text + ".lyr", "LYR"));
    FUZZ_CHECK(characterCount(text + ".LYR") == characterCount(text) + 4);
    const std::string first = firstCharacterFolder(text);
    FUZZ_CHECK(text.starts_with(first) && first.empty() == text.empty());
    if (isSafeCode(text)) {
        FUZZ_CHECK(first != "." && first != ".." && first.find('/') == std::string::npos);
        FUZZ_CHECK(text.find('/') == std::string::npos && text.find("..") == std::string::npos);
    }
    FUZZ_CHECK(fitsPlayerDatabase(text) == (!text.empty() && characterCount(text) <= 8));

    // As CODE@VOLUME of a command line, or a song line's code and volume, in both layouts.
    for (const Folders* folders : {&library.separate, &library.multi}) {
        const SongPaths paths(library.fs, *folders);
        CurrentSong song;
        std::string error;
        if (songFromArgument(text, paths, song, error)) {
            FUZZ_CHECK(song.code() == text.substr(0, text.find('@')));
            checkPaths(paths, song.code(), song.volume());
        } else {
            FUZZ_CHECK(!error.empty());
        }
        // A song line of the catalogue: its files, as the song detail and the lyric search
        // find them.
        for (SongFileKind kind : kKinds) {
            const std::string path = songFileOfLine(paths, kind, text);
            if (path.empty()) continue;
            FUZZ_CHECK(isSafeCode(songCodeOfLine(text)));
            const auto folderOnDisk =
                library.fs.resolve(std::filesystem::path(path).parent_path().string());
            FUZZ_CHECK(!folderOnDisk || library.fs.leadsInside(*folderOnDisk, library.root));
        }
        const std::size_t semicolon = text.rfind(';');
        checkPaths(paths, text.substr(0, semicolon),
                   semicolon == std::string::npos ? "" : text.substr(semicolon + 1));
    }
    return 0;
}
