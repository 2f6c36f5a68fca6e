#include "generator/library_plan.h"

#include <algorithm>
#include <map>
#include <set>

#include "generator/midi_maker.h"
#include "generator/random.h"
#include "generator/song_text.h"

namespace dadaz::gen {

namespace {

// Independent random streams of one library seed.
enum Stream : std::uint64_t { kPlan = 1, kMeta, kLyric, kMidi, kCursor, kNewSong };

// Codes as the players' libraries have them: digits, mostly 5 long, counted upwards inside
// each first-character folder with a few gaps where songs were removed; some 6 to 8 long.
class CodeAllocator {
  public:
    CodeAllocator() {
        for (int folder = 0; folder < 10; ++folder) {
            std::uint64_t base = 1;
            for (int length = 1; length <= 8; ++length) {
                next_[folder][length] = folder * base + 1;
                base *= 10;
            }
        }
    }

    std::string next(Random& r) {
        static const unsigned kWeights[10] = {0, 20, 14, 12, 10, 10, 9, 9, 8, 8};
        unsigned roll = static_cast<unsigned>(r.below(100));
        int folder = 1;
        while (roll >= kWeights[folder]) roll -= kWeights[folder++];
        const unsigned lengthRoll = static_cast<unsigned>(r.below(1000));
        const int length = lengthRoll < 880 ? 5 : lengthRoll < 960 ? 6 : lengthRoll < 990 ? 7 : 8;
        return take(folder, length, r);
    }

    // The next free code of a folder and length, or a longer one when that range is full.
    std::string take(int folder, int length, Random& r) {
        for (; length <= 8; ++length) {
            std::uint64_t limit = static_cast<std::uint64_t>(folder) + 1;
            for (int i = 1; i < length; ++i) limit *= 10;
            std::uint64_t& counter = next_[folder][length];
            if (counter < limit) {
                std::string code = std::to_string(counter);
                counter += 1 + (r.chance(30) ? r.between(1, 3) : 0);
                return code;
            }
        }
        return {};
    }

  private:
    std::uint64_t next_[10][9] = {};
};

struct Paths {
    std::string midi, lyric, cursor;  // song folders of the library or of one volume
};

std::string songPath(const std::string& folder, const std::string& code, const char* ext) {
    return folder + "/" + code.substr(0, 1) + "/" + code + ext;
}

// Title, artist, key and fourth line of a song of its own (not a copy).
void inventLines(PlannedSong& p, Random& m, const SongTextMaker& text) {
    GeneratedSong& s = p.song;
    p.thai = m.chance(600);
    std::string title = text.title(m, p.thai);
    const unsigned remarkRoll = static_cast<unsigned>(m.below(1000));
    if (remarkRoll < 150) title += " " + text.remark(m, p.thai);
    if (remarkRoll >= 997) title = text.remark(m, p.thai) + " " + title;  // "(Intro) Love Song"
    if (m.chance(30)) title = std::string(static_cast<std::size_t>(m.between(1, 3)), ' ') + title;
    if (m.chance(20)) title += "  ";
    s.titleLine = title;

    s.artistLine = m.chance(50) ? std::string() : text.artist(m, p.thai);
    if (!s.artistLine.empty() && m.chance(20)) s.artistLine = " " + s.artistLine;
    s.keyLine = m.chance(50) ? std::string() : text.key(m);
    const unsigned fourth = static_cast<unsigned>(m.below(1000));
    s.fourthLine = fourth < 5 ? " " : fourth < 10 ? text.fourthLineText(m) : "";
    s.endsWithLineBreak = !m.chance(5);
}

// The same song under another code: every byte of lyric, MIDI and cursor file.
void copySong(PlannedSong& p, const PlannedSong& src, std::size_t srcIndex) {
    GeneratedSong& s = p.song;
    s.titleLine = src.song.titleLine;
    s.artistLine = src.song.artistLine;
    s.keyLine = src.song.keyLine;
    s.fourthLine = src.song.fourthLine;
    s.endsWithLineBreak = src.song.endsWithLineBreak;
    s.exactCopyOf = static_cast<long>(srcIndex);
    p.thai = src.thai;
    p.lyricSeed = src.lyricSeed;
    p.midiSeed = src.midiSeed;
    p.midiExtra = src.midiExtra;
}

// The first songs show each oddity of real lyric files once, so that small libraries made for
// tests have them all; the rest of the library has them at random. Song `i` is set up after its
// own lines were invented and before any later song may copy it.
void showOddity(std::vector<PlannedSong>& songs, std::size_t i, Random& r,
                const SongTextMaker& text) {
    PlannedSong& p = songs[i];
    GeneratedSong& s = p.song;
    const std::string bare = text.title(r, p.thai);  // no remark, no blanks around it
    switch (i) {
        case 1:
            s.titleLine = "(" + text.title(r, p.thai) + ") " + bare;  // "(Intro) Love Song"
            break;
        case 2:
            s.fourthLine = " ";
            break;
        case 3:
            s.fourthLine = text.fourthLineText(r);
            break;
        case 4:
            s.titleLine = "   " + bare;
            break;
        case 5:
            s.artistLine = "  " + text.artist(r, p.thai);
            break;
        case 6:
            s.artistLine.clear();
            break;
        case 7:
            s.keyLine.clear();
            break;
        case 8:
            s.endsWithLineBreak = false;
            break;
        case 9:
            s.titleLine = bare + " " + text.remark(r, p.thai);
            break;
        case 10:
            s.titleLine = bare + " [" + text.title(r, p.thai) + "]";
            break;
        case 11:
            s.titleLine = "Love Song (Remix)";
            break;
        case 12:
            s.titleLine = "LOVE SONG (REMIX)";  // song 11's line but for case
            break;
        case 13:  // song 0's title, another artist
            s.titleLine = songs[0].song.titleLine;
            if (s.artistLine == songs[0].song.artistLine) s.artistLine += " Jr.";
            break;
        case 14:
            copySong(p, songs[0], 0);
            break;
        default:
            break;
    }
}

// Gives every first-character folder's songs (of each volume) the codes {c}00001, {c}00002,
// ... in song order, keeping each file's folder and extension.
void numberSequentially(std::vector<PlannedSong>& songs) {
    std::map<std::pair<std::string, std::string>, std::size_t> counts;
    for (const PlannedSong& p : songs) ++counts[{p.song.volume, p.song.code.substr(0, 1)}];
    std::map<std::pair<std::string, std::string>, std::size_t> numbers;
    for (PlannedSong& p : songs) {
        GeneratedSong& s = p.song;
        const std::pair<std::string, std::string> folder{s.volume, s.code.substr(0, 1)};
        const std::size_t digits = std::max<std::size_t>(5, std::to_string(counts[folder]).size());
        std::string number = std::to_string(++numbers[folder]);
        s.code = folder.second + std::string(digits - number.size(), '0') + number;
        for (std::string* path : {&s.lyricPath, &s.midiPath, &s.cursorPath}) {
            *path = path->substr(0, path->rfind('/') + 1) + s.code + path->substr(path->size() - 4);
        }
    }
}

// Loose MIDI files: some stems of at most 8 characters, some longer.
const char* const kLooseMidiNames[] = {"MEDLEY01.MID",      "BACKGROUND.MID", "INTRO.MID",
                                       "HAPPYBIRTHDAY.MID", "Break.mid",      "TEST.MID"};

}  // namespace

LibraryPlan planLibrary(const std::string& dir, const GeneratorOptions& options,
                        const SongTextMaker& text) {
    LibraryPlan plan;
    GeneratedLibrary& sum = plan.summary;
    const bool multi = options.layout == GeneratorLayout::Multi;
    sum.layout = options.layout;
    sum.programFolder = dir;
    Random r(mixSeed(options.seed, 0, kPlan));
    plan.folders.push_back(dir);

    // Volumes: "VOL1", "VOL2", ... each holding a few thousand songs.
    std::vector<Paths> volumePaths;
    if (multi) {
        sum.midiFolder = sum.lyricFolder = sum.cursorFolder = dir;
        const std::size_t perVolume = std::max<std::size_t>(1, options.songsPerVolume);
        const std::size_t count =
            std::max<std::size_t>(2, (options.songs + perVolume - 1) / perVolume);
        for (std::size_t v = 0; v < count; ++v) {
            const std::string name = "VOL" + std::to_string(v + 1);
            sum.volumes.push_back(name);
            const std::string root = dir + "/" + name;
            volumePaths.push_back({root + "/SONG", root + "/LYRICS", root + "/CURSOR"});
            plan.folders.insert(plan.folders.end(),
                                {root, root + "/SONG", root + "/LYRICS", root + "/CURSOR"});
        }
        sum.nonVolumeFolder = dir + "/Backup";
        plan.folders.insert(plan.folders.end(),
                            {sum.nonVolumeFolder, sum.nonVolumeFolder + "/SONG"});
    } else {
        sum.midiFolder = dir + "/SONG";
        sum.lyricFolder = dir + "/LYRICS";
        sum.cursorFolder = dir + "/CURSOR";
        volumePaths.push_back({sum.midiFolder, sum.lyricFolder, sum.cursorFolder});
        plan.folders.insert(plan.folders.end(),
                            {sum.midiFolder, sum.lyricFolder, sum.cursorFolder});
    }

    // Songs.
    CodeAllocator codes;
    const std::size_t n = options.songs;
    const std::size_t volumeCount = volumePaths.size();
    std::vector<std::set<std::string>> volumeCodes(volumeCount);
    std::set<std::string> firstCharFolders;  // "volume index/c"
    plan.songs.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        PlannedSong& p = plan.songs[i];
        GeneratedSong& s = p.song;
        Random m(mixSeed(options.seed, i, kMeta));
        const std::size_t v = multi ? i * volumeCount / std::max<std::size_t>(1, n) : 0;
        s.volume = multi ? sum.volumes[v] : std::string();
        s.code = codes.next(r);
        // In the multi-folder layout a code of the first volume now and then comes again in a
        // later one: the same code, a different song.
        if (!options.sequential && v > 0 && !volumeCodes[0].empty() &&
            (m.chance(10) || volumeCodes[v].empty())) {
            auto it = volumeCodes[0].begin();
            std::advance(
                it, static_cast<long>(r.below(std::min<std::size_t>(volumeCodes[0].size(), 50))));
            if (!volumeCodes[v].count(*it)) s.code = *it;
        }
        volumeCodes[v].insert(s.code);

        const Paths& folders = volumePaths[v];
        s.lyricPath = songPath(folders.lyric, s.code, ".LYR");
        s.midiPath = songPath(folders.midi, s.code, ".MID");
        s.cursorPath = songPath(folders.cursor, s.code, ".CUR");
        if (options.extras) {
            // Extensions in lower case, as some tools write them; names compare without case.
            if (m.chance(10)) s.midiPath = songPath(folders.midi, s.code, ".mid");
            if (m.chance(5)) s.cursorPath = songPath(folders.cursor, s.code, ".cur");
            if (m.chance(3)) s.lyricPath = songPath(folders.lyric, s.code, ".lyr");
        }
        if (firstCharFolders.insert(std::to_string(v) + "/" + s.code.substr(0, 1)).second) {
            for (const std::string* f : {&folders.midi, &folders.lyric, &folders.cursor})
                plan.folders.push_back(*f + "/" + s.code.substr(0, 1));
        }

        p.lyricSeed = mixSeed(options.seed, i, kLyric);
        p.midiSeed = mixSeed(options.seed, i, kMidi);
        inventLines(p, m, text);

        if (n >= 20 && i < 15) {
            showOddity(plan.songs, i, r, text);
        } else if (i >= 8) {  // duplicates, as real libraries have them
            const unsigned roll = static_cast<unsigned>(m.below(1000));
            std::size_t j = r.below(i);
            while (plan.songs[j].song.exactCopyOf >= 0)
                j = static_cast<std::size_t>(plan.songs[j].song.exactCopyOf);
            const PlannedSong& src = plan.songs[j];
            if (roll < 10) {  // the same song twice: every byte of lyric and MIDI
                copySong(p, src, j);
            } else if (roll < 15) {  // same title and artist, MIDI a few bytes bigger
                s.titleLine = src.song.titleLine;
                s.artistLine = src.song.artistLine;
                p.midiSeed = src.midiSeed;
                p.midiExtra = "(c) copy " + std::to_string(m.between(1, 99));
            } else if (roll < 45) {  // same title, another artist
                s.titleLine = src.song.titleLine;
            } else if (roll < 55 && !src.thai) {  // same title in another letter case
                s.titleLine = SongTextMaker::recase(src.song.titleLine, m);
            } else if (roll < 60) {  // same title, blanks doubled
                s.titleLine = src.song.titleLine;
                const auto blank = s.titleLine.find(' ', s.titleLine.find_first_not_of(' '));
                s.titleLine.insert(blank == std::string::npos ? s.titleLine.size() : blank, "  ");
            } else if (roll < 65) {  // same title with a remark after it
                static const char* const kRemarks[] = {" [Live]", " [Remix]", " {Dance}", " <Slow>",
                                                       "@2"};
                s.titleLine = src.song.titleLine + kRemarks[m.below(5)];
            } else if (roll < 70 && !src.song.artistLine.empty()) {  // the artist and a band
                s.titleLine = src.song.titleLine;
                s.artistLine = src.song.artistLine + " Band";
            } else if (roll < 75) {  // same title and artist, MIDI of another arranger
                s.titleLine = src.song.titleLine;
                s.artistLine = src.song.artistLine;
                p.midiSeed = src.midiSeed;
                p.midiExtra = "(c) arranged again for this library by another hand, " +
                              std::to_string(m.between(1990, 2020));
            }
        }
    }

    if (options.sequential) numberSequentially(plan.songs);

    // Lyric files missing a partner.
    if (options.extras && n >= 10) {
        const std::size_t count = std::max<std::size_t>(3, n / 500);
        std::size_t made = 0;
        for (std::size_t tries = 0; made < count && tries < count * 20; ++tries) {
            const std::size_t i = r.below(n);
            GeneratedSong& s = plan.songs[i].song;
            if (s.missing != MissingPartner::None) continue;
            static const MissingPartner kKinds[] = {MissingPartner::Midi, MissingPartner::Cursor,
                                                    MissingPartner::Midi, MissingPartner::Cursor,
                                                    MissingPartner::Both};
            s.missing = kKinds[made % 5];
            ++made;
        }
        for (std::size_t i = 0; i < n; ++i)
            if (plan.songs[i].song.missing != MissingPartner::None) sum.invalidSongs.push_back(i);
    }

    // New songs: complete triples under codes the library does not use, flat in "New Song".
    sum.newSongFolder = dir + "/New Song";
    plan.folders.push_back(sum.newSongFolder);
    for (std::size_t k = 0; k < options.newSongs; ++k) {
        PlannedSong p;
        Random m(mixSeed(options.seed, k, kNewSong));
        GeneratedSong& s = p.song;
        s.code = codes.take(9, 8, r);
        s.lyricPath = sum.newSongFolder + "/" + s.code + ".lyr";
        s.midiPath = sum.newSongFolder + "/" + s.code + ".mid";
        s.cursorPath = sum.newSongFolder + "/" + s.code + ".cur";
        p.lyricSeed = mixSeed(options.seed, k, kNewSong + 100);
        p.midiSeed = mixSeed(options.seed, k, kNewSong + 200);
        inventLines(p, m, text);
        s.endsWithLineBreak = true;
        plan.newSongs.push_back(std::move(p));
    }

    if (!options.extras || n == 0) return plan;

    // Loose MIDI files directly in the MIDI folder (the root in the multi-folder layout).
    const std::string looseFolder = multi ? dir : sum.midiFolder;
    const std::size_t looseCount = 3 + r.below(3);
    for (std::size_t k = 0; k < looseCount; ++k) {
        const std::string path = looseFolder + "/" + kLooseMidiNames[k];
        plan.extraFiles.push_back({path, makeMidiFile(mixSeed(options.seed, k, kMidi + 100))});
        sum.looseMidiFiles.push_back(path);
    }
    if (multi) {
        const std::string path = volumePaths[0].midi + "/MEDLEY02.MID";
        plan.extraFiles.push_back({path, makeMidiFile(mixSeed(options.seed, 9, kMidi + 100))});
        sum.looseMidiFiles.push_back(path);
        const std::string backup = sum.nonVolumeFolder + "/SONG/OLD00001.MID";
        plan.extraFiles.push_back({backup, makeMidiFile(mixSeed(options.seed, 10, kMidi + 100))});
        sum.otherFiles.push_back(backup);
    }

    // Files of other kinds beside songs, and files outside the first-character folders.
    {
        const Paths& folders = volumePaths[0];
        const GeneratedSong& a = plan.songs[0].song;
        const GeneratedSong& b = plan.songs[n / 2].song;
        const std::string ca = a.code.substr(0, 1), cb = b.code.substr(0, 1);
        std::vector<PlannedFile> others = {
            {folders.midi + "/" + ca + "/" + a.code + ".BAK", "backup\r\n"},
            {folders.midi + "/" + ca + "/" + a.code + ".KAR", makeMidiFile(plan.songs[0].midiSeed)},
            {folders.midi + "/" + cb + "/Thumbs.db", std::string(64, '\0')},
            {folders.lyric + "/" + cb + "/" + b.code + ".TXT", "note\r\n"},
            {folders.cursor + "/" + cb + "/" + b.code + ".TMP", "tmp"},
            {folders.midi + "/readme.txt", "Karaoke songs\r\n"},
        };
        // A file that is no song in a lyric folder would throw the numbering out.
        if (options.sequential) others.erase(others.begin() + 3);
        for (const PlannedFile& f : others) {
            plan.extraFiles.push_back(f);
            sum.otherFiles.push_back(f.path);
        }
        const std::string strayCode = codes.take(9, 8, r);
        const std::vector<PlannedFile> strays = {
            {folders.lyric + "/" + strayCode + ".LYR", "Stray\r\n \r\nC\r\n\r\nla la\r\n"},
            {folders.cursor + "/" + strayCode + ".CUR", "cursor"},
        };
        for (const PlannedFile& f : strays) {
            plan.extraFiles.push_back(f);
            sum.strayFiles.push_back(f.path);
        }
    }
    return plan;
}

std::string lyricFileBytes(const PlannedSong& p, const SongTextMaker& text) {
    const GeneratedSong& s = p.song;
    Random r(p.lyricSeed);
    std::string out;
    out.reserve(512);
    for (const std::string* line : {&s.titleLine, &s.artistLine, &s.keyLine, &s.fourthLine}) {
        out += *line;
        out += "\r\n";
    }
    const int lines = r.between(6, 24);
    for (int i = 0; i < lines; ++i) {
        // An empty line between verses now and then, never last.
        out += i + 1 < lines && r.chance(80) ? std::string() : text.lyricLine(r, p.thai);
        if (i + 1 < lines || s.endsWithLineBreak) out += "\r\n";
    }
    return out;
}

std::string midiFileBytes(const PlannedSong& p, int* tracks) {
    MidiShape shape;
    std::string bytes = makeMidiFile(p.midiSeed, p.midiExtra, &shape);
    if (tracks) *tracks = shape.tracks;
    return bytes;
}

std::string cursorFileBytes(const PlannedSong& p, std::size_t lyricSize) {
    return makeCursorFile(p.lyricSeed ^ 0x5A5A5A5AULL, lyricSize);
}

}  // namespace dadaz::gen
