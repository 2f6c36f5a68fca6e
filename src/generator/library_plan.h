#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "generator/library_generator.h"

namespace dadaz::gen {

class SongTextMaker;

// Everything about one song that decides its bytes; the bulky parts (lyric text, MIDI, cursor)
// are made from the seeds when the files are written.
struct PlannedSong {
    GeneratedSong song;
    bool thai = false;
    std::uint64_t lyricSeed = 0;
    std::uint64_t midiSeed = 0;
    std::string midiExtra;  // copyright text of near copies: same music, a few bytes more
};

struct PlannedFile {
    std::string path;
    std::string bytes;
};

struct LibraryPlan {
    std::vector<std::string> folders;  // every folder to create, parents first
    std::vector<PlannedSong> songs;
    std::vector<PlannedSong> newSongs;    // paths and lines in song
    std::vector<PlannedFile> extraFiles;  // loose, other and stray files
    GeneratedLibrary summary;             // all but songs, counts and timing
};

// Decides codes, volumes, titles and the odd files, all from the seed.
LibraryPlan planLibrary(const std::string& dir, const GeneratorOptions& options,
                        const SongTextMaker& text);

// The bytes of a planned song's files.
std::string lyricFileBytes(const PlannedSong& song, const SongTextMaker& text);
std::string midiFileBytes(const PlannedSong& song, int* tracks = nullptr);
std::string cursorFileBytes(const PlannedSong& song, std::size_t lyricSize);

}  // namespace dadaz::gen
