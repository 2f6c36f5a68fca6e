#pragma once

#include <cstddef>
#include <string>

namespace dadaz::duplicate_text {

// Texts of the duplicate finder (UTF-8, lines joined by "\n").
inline constexpr const char* kSearchTitle = "ค้นหาเพลงซ้ำ";
inline constexpr const char* kMultiFolderTitle = "ค้นหาเพลงซ้ำ...";
inline constexpr const char* kMultiFolder = "ไม่รองรับระบบหลายแฟ้ม (Multi Directory)";
std::string staleSongListQuestion();
std::string noSongListQuestion();
std::string missingSongListQuestion(const std::string& programFolder);
std::string tooManyLines();

// "1,234 เพลง"; "เลือก 12 เพลง" (empty for none) in the second window.
std::string songCount(std::size_t count);
std::string selectedInWindow(std::size_t count);

std::string importQuestion();
std::string deleteSelectionQuestion();
inline constexpr const char* kSelectionSaved = "บันทึกข้อมูลการเลือกเพลงของท่านไว้แล้ว...";
std::string selectionNotSaved(const std::string& programFolder);

std::string deleteQuestion();
std::string moveQuestion(const std::string& moveTo);
// Asked when the marks take every line of some songs' groups; default No.
std::string everyCopyQuestion(std::size_t songs);
inline constexpr const char* kDeleteBar = "กำลังลบเพลงซ้ำ ";
inline constexpr const char* kMoveBar = "กำลังย้ายเพลงซ้ำ ";
std::string deleted();
std::string moved();
std::string logNotWritten(const std::string& logPath);

inline constexpr const char* kWindowCaption = "DAD  Azar  Edizuda  - ค้นหาเพลงซ้ำ";
std::string closeWindowQuestion();

}  // namespace dadaz::duplicate_text
