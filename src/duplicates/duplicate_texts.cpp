#include "duplicates/duplicate_texts.h"

#include "platform/progress.h"

namespace dadaz::duplicate_text {

std::string staleSongListQuestion() {
    return "ท่านได้ทำการเพิ่มเพลง, เปลี่ยนชื่อแฟ้ม หรือ ลบเพลงซ้ำ แต่ยังไม่ได้สร้างรายการเพลง!\n\n"
           "Yes  สร้างรายการเพลงก่อนดำเนินการต่อ\n"
           "No   ดำเนินการต่อ\n"
           "Cancel ยกเลิกการค้นหา";
}

std::string noSongListQuestion() {
    return "ท่านยังไม่ได้สร้างรายการเพลง...\n\nท่านต้องการสร้างรายการเพลงก่อนหรือไม่?";
}

std::string missingSongListQuestion(const std::string& programFolder) {
    return "ไม่พบแฟ้มรายการเพลงใน " + programFolder + "\n\nท่านต้องการดำเนินการต่อหรือไม่?";
}

std::string tooManyLines() {
    return "รายการเพลงที่แสดงในลิสต์มากเกินไป, หยุดการค้นหาเพลงซ้ำ...\n\n"
           "กรุณเลือกลบเพลงซ้ำก่อน แล้วค่อยค้นหาต่อทีหลัง...";
}

std::string songCount(std::size_t count) {
    return formatCount(static_cast<long long>(count)) + " เพลง";
}

std::string selectedInWindow(std::size_t count) {
    return count == 0 ? std::string() : "เลือก " + songCount(count);
}

std::string importQuestion() {
    return "ตรวจพบแฟ้มบันทึกข้อมูลการเลือกเพลง, ท่านต้องการนำเข้าข้อมูลหรือไม่?";
}

std::string deleteSelectionQuestion() {
    return "ท่านต้องการลบแฟ้มบันทึกข้อมูลการเลือกเพลง ใช่หรือไม่?";
}

std::string selectionNotSaved(const std::string& programFolder) {
    return "ไม่สามารถบันทึกสิ่งที่คุณเลือกได้!!!\n\nกรุณาตรวจสอบว่าเส้นทาง " + programFolder +
           " นี้อยู่บนสื่อที่สามารถบันทึกได้...";
}

std::string deleteQuestion() {
    return "ท่านต้องการลบเพลงที่ท่านได้เลือกไว้อย่างถาวร?";
}

std::string moveQuestion(const std::string& moveTo) {
    return "ท่านต้องการย้ายเพลงที่ท่านได้เลือกไว้\n     ไปรวมกันไว้ที่ " + moveTo + " ใช่หรือไม่?";
}

std::string everyCopyQuestion(std::size_t songs) {
    return "ท่านเลือกทุกแถวของเพลง " + songCount(songs) +
           " ไว้ เพลงเหล่านี้จะไม่เหลืออยู่ในระบบเลย\n\nท่านต้องการดำเนินการต่อหรือไม่?";
}

std::string deleted() {
    return "โปรแกรมได้ทำการลบเพลงซ้ำออกไปจากระบบเรียบร้อยแล้ว...\n\n"
           "เพื่อความสมบูรณ์กรุณาลองค้นหาเพลงซ้ำอีกครั้งหนึ่ง";
}

std::string moved() {
    return "โปรแกรมได้ทำการย้ายเพลงซ้ำออกไปจากระบบเรียบร้อยแล้ว...\n\n"
           "เพื่อความสมบูรณ์กรุณาลองค้นหาเพลงซ้ำอีกครั้งหนึ่ง";
}

std::string logNotWritten(const std::string& logPath) {
    return "บันทึกแฟ้ม " + logPath + " ไม่ได้";
}

std::string closeWindowQuestion() {
    return "ท่านได้เลือกเพลงเพื่อทำการลบหรือย้ายไว้แล้ว\n\n"
           "ก่อนออกจากหน้าต่างนี้ ท่านต้องการบันทึกผลการเลือกก่อนหรือไม่?";
}

}  // namespace dadaz::duplicate_text
