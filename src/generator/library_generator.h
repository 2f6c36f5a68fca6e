#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dadaz {

// A realistic song library for tests, benchmarks and the demo (`dadaz make-library`).
//
// Separate-folder layout: DIR/SONG/{c}/{code}.MID, DIR/LYRICS/{c}/{code}.LYR and
// DIR/CURSOR/{c}/{code}.CUR, {c} the code's first character; folder detection on DIR finds
// the three folders.
// Multi-folder layout: DIR is the program folder and the common root; volume folders "VOL1",
// "VOL2", ... each hold SONG, LYRICS and CURSOR as above; "Backup" holds a SONG folder only (not
// a volume); a few codes of VOL1 come again in later volumes. Detection on DIR finds no song
// folders, so all three folders are DIR.
// Both layouts: "New Song" in DIR holds flat {code}.lyr/.mid/.cur triples under 8-digit codes
// the library does not use. Codes are digits, 5 to 8 long. Extras: loose MIDI files directly in
// the MIDI folder (the root in the multi-folder layout; stems of up to 8 and of 9 or more
// characters), files of other kinds (.BAK, .KAR, .TXT, .TMP, Thumbs.db, readme.txt), a lyric and
// a cursor file directly in the LYRICS and CURSOR folders, some lower-case extensions, and
// lyric files missing their MIDI or cursor partner.
// Songs 1 to 14 of a library of 20 songs or more show each oddity of lyric files once: title
// starting with "(", blank and text fourth lines, leading blanks, empty artist and key, no final
// line break, "(...)" and "[...]" remarks, "Love Song (Remix)" twice differing in case, a title
// with two artists, and song 14 an exact copy of song 0. Later songs copy earlier ones now and
// then, as the duplicate finder meets them: every byte, the same title in other case, with
// doubled blanks or a remark in brackets, the artist with " Band" added, another artist, and
// MIDI near copies a few bytes and more than 50 bytes bigger.

enum class GeneratorLayout { Separate, Multi };

struct GeneratorOptions {
    std::size_t songs = 2000;
    GeneratorLayout layout = GeneratorLayout::Separate;
    std::uint64_t seed = 1;
    // Complete triples in the "New Song" folder of the program folder.
    std::size_t newSongs = 10;
    // Multi-folder layout: songs per volume folder ("VOL1", "VOL2", ...); at least two volumes.
    std::size_t songsPerVolume = 2500;
    // Invalid triples, loose MIDI files, files of other kinds, stray files, lower-case
    // extensions. Off gives a library in which every lyric file has both partners under
    // upper-case extensions and nothing else lies in the folders.
    bool extras = true;
    // Codes as the players' own numbering gives them: each first-character folder's songs
    // (of each volume) numbered 1, 2, 3, ... after the folder's name, with a fixed number of
    // digits (five, more for a folder that needs them), and no other files in the lyric
    // folders, so that adding songs continues every folder's numbering.
    bool sequential = false;
    // Writer threads; the bytes written do not depend on it.
    int threads = 2;
};

enum class MissingPartner { None, Midi, Cursor, Both };

// One lyric file of the library as written. Text fields are code page 874 bytes, exactly the
// first four lines of the file (without line ends).
struct GeneratedSong {
    std::string code;
    std::string volume;  // the volume folder's name in the multi-folder layout, else empty
    std::string lyricPath, midiPath, cursorPath;  // full paths as written (partners may be absent)
    std::string titleLine, artistLine, keyLine, fourthLine;
    MissingPartner missing = MissingPartner::None;
    std::uint64_t midiSize = 0;
    int midiTracks = 0;
    // Index of the song whose title, artist, key, lyric and MIDI this one copies exactly, or -1.
    long exactCopyOf = -1;
    bool endsWithLineBreak = true;  // false: the last lyric line has no CR LF
};

struct NewSongTriple {
    std::string code;
    std::string lyricPath, midiPath, cursorPath;
    std::string titleLine, artistLine, keyLine;
};

struct GeneratedLibrary {
    bool ok = false;
    std::string error;  // why nothing (or not everything) was written

    GeneratorLayout layout = GeneratorLayout::Separate;
    std::string programFolder;
    // The folders as folder detection fills them: SONG, LYRICS and CURSOR of the program folder
    // in the separate-folder layout, the program folder three times in the multi-folder layout.
    std::string midiFolder, lyricFolder, cursorFolder;
    std::vector<std::string> volumes;  // volume folder names, multi-folder layout
    std::string nonVolumeFolder;       // a root sub-folder without LYRICS, multi-folder layout

    std::vector<GeneratedSong> songs;         // every lyric file in a first-character folder
    std::vector<std::size_t> invalidSongs;    // indexes into songs of lyric files missing a partner
    std::vector<std::string> looseMidiFiles;  // MIDI files directly in a MIDI folder (full paths)
    std::vector<std::string> otherFiles;      // files of other kinds in the song folders
    std::vector<std::string> strayFiles;      // lyric/cursor files outside first-character folders
    std::string newSongFolder;
    std::vector<NewSongTriple> newSongs;

    std::size_t filesWritten = 0;
    std::uint64_t bytesWritten = 0;
    double seconds = 0;

    // "100,000 songs (99,800 valid, 200 invalid), 3 loose MIDI files, ... in 12.3 s"
    std::string describe() const;
};

// Makes a library in `dir`, which must not exist or be empty (nothing is ever overwritten).
// The same options give the same files, byte for byte.
GeneratedLibrary generateLibrary(const std::string& dir, const GeneratorOptions& options);

}  // namespace dadaz
