#pragma once

#include <string>

namespace dadaz::catalogue_text {

// Texts of the search panel and its questions (UTF-8; lines separated by "\n").

inline constexpr const char* kPleaseWait = "กรุณารอสักครู่...";
inline constexpr const char* kChooseArtist = "เลือกชื่อศิลปินที่ต้องการ";
inline constexpr const char* kLoadingNotice = "กำลังโหลดฐานข้อมูลเพลง,  กรุณารอสักครู่...";

inline constexpr const char* kLibraryChangedQuestion =
    "ท่านได้ทำการเพิ่มเพลง, เปลี่ยนชื่อแฟ้ม หรือ ลบเพลงซ้ำ แต่ยังไม่ได้สร้างรายการเพลง!\n"
    "\n"
    "Yes  สร้างรายการเพลงก่อนดำเนินการต่อ\n"
    "No   ดำเนินการต่อ\n"
    "Cancel ยกเลิกการค้นหา";

inline constexpr const char* kSongListDeleted =
    "แฟ้มรายการเพลงถูกลบ, ไม่สามารถดำเนินการต่อได้\n"
    "\n"
    "กรุณาสร้างรายการเพลงก่อน...";

// Followed by the program folder, then kSongListMissingTail.
inline constexpr const char* kSongListMissingHead = "ไม่พบแฟ้มรายการเพลงใน ";
inline constexpr const char* kSongListMissingTail = "\n\nท่านต้องการดำเนินการต่อหรือไม่?";

inline constexpr const char* kSongMissing =
    "ไม่พบเพลงดังกล่าวอยู่ในระบบ...\n"
    "\n"
    "ซึ่งอาจจะเป็นไปได้ว่าท่านได้ลบเพลงดังกล่าวออกไปแล้ว "
    "หรือเกิดความผิดปกติขึ้นกับระบบแฟ้มเพลงของท่าน\n"
    "\n"
    "ท่านต้องการสร้างรายการเพลงใหม่หรือไม่?";

inline constexpr const char* kTitleMismatch =
    "เพลงที่ท่านเลือก ซื่อเพลงไม่ตรงกับชื่อเพลงในฐานข้อมูล...\n"
    "\n"
    "ซึ่งอาจเป็นไปได้ว่า ท่านได้ทำการเปลี่ยนแปลงระบบแฟ้มแล้วไม่ได้สร้างรายการเพลงใหม่\n"
    "หรือท่านได้ทำการแก้ไขชื่อเพลงในเนื้อเพลง แล้วไม่ได้ทำการสร้างรายการเพลงใหม่\n"
    "\n"
    "ท่านต้องการสร้างรายการเพลงใหม่หรือไม่?";

// "ค้นหาพบ 3 จาก 12,345 เพลง": found lines (separators not counted) of all songs.
std::string resultLine(long found, long total);
// "กำลังอ่านข้อมูล 12,345 Records.": the result line while loading.
std::string loadingLine(long recordsRead);

}  // namespace dadaz::catalogue_text
