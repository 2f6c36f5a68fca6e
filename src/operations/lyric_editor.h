#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/session_state.h"

namespace dadaz {

class Catalogue;
class FileSystem;
class SongPaths;

namespace lyric_edit_text {
// A lyric line whose length changed: the cursor timing file would no longer fit.
inline constexpr char kLengthChanged[] =
    "ไม่สามารถยอมรับการแก้ไขได้...\n"
    "\n"
    "เนื่องจากจำนวนตัวอักษรก่อนและหลังแก้ไขไม่เท่ากัน\n"
    "ซึ่งในที่นี้หมายถึงจำนวนตัวอักษรทั้งหมดรวมทั้งช่องว่าง (Space) ด้วย\n"
    "\n"
    "กรุณาแก้ไขใหม่...";
inline constexpr char kSaveQuestion[] = "ท่านแน่ใจหรือว่าต้องการบันทึกการแก้ไขเพลง?";
// A search or a catalogue load is still running: the catalogue cannot be marked yet.
inline constexpr char kWaitForSearch[] =
    "ขณะนี้โปรแกรมกำลังค้นหาเพลงหรือกำลังอ่านฐานข้อมูลเพลงอยู่...\n"
    "\n"
    "กรุณารอให้เสร็จสิ้นก่อน แล้วจึงบันทึกการแก้ไขอีกครั้ง";
}  // namespace lyric_edit_text

// Text typed for a lyric line (UTF-8) as the file holds it: code page 874 bytes, one byte per
// character (every Thai vowel and tone mark counts one). Nothing when a character has no
// place in the code page (an emoji, a Latin accent).
std::optional<std::string> typedToCodePage(std::string_view utf8);
// Its length in code-page characters; a character the code page lacks counts one too.
std::size_t codePageLength(std::string_view utf8);

// The lyric editor of the song search mode: the lines of one song's lyric file (code page
// 874), the line taken for editing, the rule for accepting an edit and the save. The window
// shows what it holds; nothing here knows of controls.
class LyricEditor {
  public:
    // Enter editing: reads the song's lyric file as it is on disk now. On failure the result
    // is the message to show (UTF-8) and the editor is not editing.
    std::optional<std::string> begin(const FileSystem& fs, const SongPaths& paths,
                                     const CurrentSong& song);
    // Leaves editing; unsaved edits are dropped.
    void end();
    bool editing() const { return editing_; }
    const CurrentSong& song() const { return song_; }
    const std::vector<std::string>& lines() const { return lines_; }

    // Takes a line for editing (nothing happens for an index out of range).
    void take(int index);
    // The taken line, -1 before one is taken.
    int selected() const { return selected_; }
    // txtBeforeEdit: the taken line's length in characters.
    std::size_t lengthBefore() const;
    // Whether accepting makes sense for the text typed: it differs from the taken line.
    bool differs(std::string_view typedUtf8) const;

    // Puts the typed text in place of the taken line. Refused (the result is the message) when
    // the text has characters the code page lacks, or when a lyric line (index 3 or more)
    // would change its length; the title, artist and key lines take any length.
    std::optional<std::string> accept(std::string_view typedUtf8);
    // Some edit was accepted since editing began.
    bool changed() const { return changed_; }

    // Writes the lines to the song's lyric file: the new file is written beside the old one
    // and renamed over it. A read-only lyric is saved too and stays read-only. A lyric file
    // that is gone (the song was deleted or moved meanwhile) is not made again. On failure
    // the result is the message; the old file is untouched.
    std::optional<std::string> save(FileSystem& fs, const SongPaths& paths) const;

  private:
    bool editing_ = false;
    bool changed_ = false;
    int selected_ = -1;
    CurrentSong song_;
    std::vector<std::string> lines_;
};

// After a save: marks the song of `resultLine` (the selected result line as it read before
// marking) with " [+]" in every catalogue page, and returns the text the result line takes,
// which carries the mark exactly once. An empty line or a separator marks nothing.
std::string markSavedLyric(Catalogue& catalogue, std::string_view resultLine);

}  // namespace dadaz
