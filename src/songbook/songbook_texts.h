#pragma once

// Texts the song book prints and reports, UTF-8.
namespace dadaz::songbook_text {

inline constexpr const char* kBookTitle = "สมุดรายชื่อเพลงคาราโอเกะ";
inline constexpr const char* kByTitle = "เรียงตามชื่อเพลง";
inline constexpr const char* kByArtist = "เรียงตามชื่อศิลปิน";
inline constexpr const char* kByCode = "เรียงตามรหัสเพลง";
inline constexpr const char* kPage = "หน้า ";
inline constexpr const char* kCodeColumn = "รหัส";
inline constexpr const char* kTitleColumn = "ชื่อเพลง";
inline constexpr const char* kArtistColumn = "ศิลปิน";
inline constexpr const char* kKeyColumn = "คีย์";
inline constexpr const char* kNoSongList =
    "ไม่พบแฟ้มรายการเพลง SongList.txt\n\nกรุณาสร้างรายการเพลงก่อน";
inline constexpr const char* kWriteFailed = "ไม่สามารถเขียนแฟ้มสมุดรายชื่อเพลงได้: ";
// After the file name when a book could not be written over an earlier one.
inline constexpr const char* kOldBookKept = "\n\nแฟ้มเดิมยังอยู่ครบ ไม่มีการเปลี่ยนแปลง";
inline constexpr const char* kDone = "สร้างสมุดรายชื่อเพลงเรียบร้อยแล้ว: ";
// Follows the file name of a written book: "N เพลง M หน้า".
inline constexpr const char* kSongs = " เพลง ";
inline constexpr const char* kPages = " หน้า";
// Between the first and last title of a page's running header.
inline constexpr const char* kHeaderDash = " – ";

}  // namespace dadaz::songbook_text
