#include "operations/lyric_editor.h"

#include <algorithm>

#include "catalogue/catalogue.h"
#include "catalogue/song_line.h"
#include "library/lyric_file.h"
#include "library/song_paths.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

constexpr std::size_t kCharactersNamed = 5;

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The first few distinct characters of `utf8` that the code page lacks, blank-separated.
std::string charactersWithoutPlace(std::string_view utf8) {
    std::vector<std::string> found;
    for (std::size_t at = 0; at < utf8.size() && found.size() < kCharactersNamed;) {
        std::size_t end = at + 1;
        while (end < utf8.size() && isContinuationByte(utf8[end])) ++end;
        const std::string character(utf8.substr(at, end - at));
        at = end;
        if (cp874ToUtf8(utf8ToCp874(character)) == character) continue;
        if (std::find(found.begin(), found.end(), character) == found.end())
            found.push_back(character);
    }
    std::string named;
    for (const std::string& character : found) named += (named.empty() ? "" : " ") + character;
    return named;
}

std::string noPlaceInCodePage(std::string_view utf8) {
    return "ไม่สามารถยอมรับการแก้ไขได้...\n"
           "\n"
           "เนื่องจากมีตัวอักษรที่ไม่สามารถบันทึกลงในแฟ้มเนื้อเพลงได้: " +
           charactersWithoutPlace(utf8) +
           "\n"
           "แฟ้มเนื้อเพลงเก็บได้เฉพาะตัวอักษรภาษาไทย ภาษาอังกฤษ ตัวเลข และเครื่องหมายทั่วไป\n"
           "\n"
           "กรุณาแก้ไขใหม่...";
}

std::string unsafeSong(const CurrentSong& song) {
    return "ไม่สามารถแก้ไขเนื้อเพลงรหัส " + song.code() +
           " ได้\n"
           "\n"
           "เนื่องจากรหัสเพลงหรือโฟลเดอร์ของเพลงนี้ไม่ถูกต้อง จึงไม่อาจระบุแฟ้มเนื้อเพลงได้";
}

std::string lyricMissing(const CurrentSong& song, const std::string& path) {
    return "ไม่พบแฟ้มเนื้อเพลงของเพลงรหัส " + song.code() + "\n     " + path +
           "\n"
           "\n"
           "ซึ่งอาจถูกลบหรือย้ายออกไปแล้ว จึงไม่สามารถแก้ไขหรือบันทึกเนื้อเพลงนี้ได้";
}

std::string folderOutside(const CurrentSong& song, const std::string& path) {
    return "ไม่สามารถแก้ไขเนื้อเพลงรหัส " + song.code() + " ได้\n\nเนื่องจากโฟลเดอร์ของแฟ้มเนื้อเพลง\n     " +
           path.substr(0, path.rfind('/')) + "\nเป็นลิงก์ที่ชี้ออกไปนอกคลังเพลง จึงไม่แก้ไขแฟ้มในโฟลเดอร์นั้น";
}

std::string saveFailed(const CurrentSong& song, const std::string& path) {
    return "ไม่สามารถบันทึกเนื้อเพลงรหัส " + song.code() + " ได้\n     " + path +
           "\n"
           "\n"
           "แฟ้มเนื้อเพลงเดิมยังคงอยู่ตามเดิม\n"
           "กรุณาตรวจสอบว่าโฟลเดอร์นี้สามารถเขียนได้ แล้วบันทึกใหม่อีกครั้ง";
}

}  // namespace

std::optional<std::string> typedToCodePage(std::string_view utf8) {
    std::string bytes = utf8ToCp874(utf8);
    // Every character the code page holds comes back as it was typed; '?' for one it lacks
    // does not.
    if (cp874ToUtf8(bytes) != utf8) return std::nullopt;
    return bytes;
}

std::size_t codePageLength(std::string_view utf8) {
    return utf8ToCp874(utf8).size();
}

std::optional<std::string> LyricEditor::begin(const FileSystem& fs, const SongPaths& paths,
                                              const CurrentSong& song) {
    end();
    const std::string path = paths.path(SongFileKind::Lyric, song.code(), song.volume());
    if (path.empty()) return unsafeSong(song);
    if (paths.leadsOutOfLibrary(SongFileKind::Lyric, path)) return folderOutside(song, path);
    auto lines = readLyricLines(fs, path);
    if (!lines) return lyricMissing(song, path);
    editing_ = true;
    song_ = song;
    lines_ = std::move(*lines);
    return std::nullopt;
}

void LyricEditor::end() {
    editing_ = false;
    changed_ = false;
    selected_ = -1;
    song_ = {};
    lines_.clear();
}

void LyricEditor::take(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < lines_.size()) selected_ = index;
}

std::size_t LyricEditor::lengthBefore() const {
    return selected_ < 0 ? 0 : lines_[static_cast<std::size_t>(selected_)].size();
}

bool LyricEditor::differs(std::string_view typedUtf8) const {
    const std::string_view line =
        selected_ < 0 ? std::string_view{} : lines_[static_cast<std::size_t>(selected_)];
    const auto bytes = typedToCodePage(typedUtf8);
    return !bytes || *bytes != line;
}

std::optional<std::string> LyricEditor::accept(std::string_view typedUtf8) {
    const auto bytes = typedToCodePage(typedUtf8);
    if (!bytes) return noPlaceInCodePage(typedUtf8);
    const bool lyricLine = selected_ < 0 || selected_ >= 3;
    if (lyricLine && bytes->size() != lengthBefore()) return lyric_edit_text::kLengthChanged;
    if (selected_ >= 0) {
        lines_[static_cast<std::size_t>(selected_)] = *bytes;
        changed_ = true;
    }
    return std::nullopt;
}

std::optional<std::string> LyricEditor::save(FileSystem& fs, const SongPaths& paths) const {
    const std::string path = paths.path(SongFileKind::Lyric, song_.code(), song_.volume());
    if (path.empty()) return unsafeSong(song_);
    if (paths.leadsOutOfLibrary(SongFileKind::Lyric, path)) return folderOutside(song_, path);
    const auto real = fs.resolve(path);
    // Writing a lyric for a song whose files are gone would leave a lyric without its song.
    if (!real || !fs.isFile(*real)) return lyricMissing(song_, path);
    const bool readOnly = fs.isReadOnly(*real);
    if (readOnly && !fs.setReadOnly(*real, false)) return saveFailed(song_, *real);
    const bool written = writeLyricLines(fs, *real, lines_);
    if (readOnly) fs.setReadOnly(*real, true);
    if (!written) return saveFailed(song_, *real);
    return std::nullopt;
}

std::string markSavedLyric(Catalogue& catalogue, std::string_view resultLine) {
    std::string marked(resultLine);
    if (resultLine.empty() || isSeparatorLine(resultLine)) return marked;
    catalogue.markEdited(resultLine);
    if (!hasEditedMark(marked)) marked += " [+]";
    return marked;
}

}  // namespace dadaz
