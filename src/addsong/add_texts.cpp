#include "addsong/add_texts.h"

#include "platform/progress.h"

namespace dadaz::add_text {

const char* const kCheckSourceQuestion =
    "ก่อนทำการเพิ่มเพลง ท่านควรตรวจดูระบบแฟ้มก่อนว่า มีแฟ้มครบทั้ง 3 ชนิดหรือไม่\n"
    "ประกอบด้วย *.mid, *.lyr, *.cur อยู่รวมกันในโฟลเดอร์ที่ท่านเลือก\n"
    "\n"
    "ท่านต้องการดำเนินการต่อหรือไม่?";
const char* const kMultiFolderRefusal =
    "ไม่สามารถทำงานต่อได้! เนื่องจากเป็นระบบแฟ้มหลายโฟลเดอร์\n"
    "\n"
    "กรุณาเลือกที่เก็บแฟ้มใหม่";
const char* const kMissingFolders =
    "ไม่สามารถทำงานต่อได้!\n"
    "เนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor\n"
    "\n"
    "กรุณาเลือกที่เก็บแฟ้มใหม่";

std::string createMoveToQuestion(const std::string& programFolder) {
    return "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n"
           "\n"
           "ท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n"
           "     " +
           programFolder + "/Invalid Files\n\nแล้วดำเนินการต่อ ใช่หรือไม่?";
}

std::string folderUnreadable(const std::string& folder) {
    return "ไม่สามารถทำงานต่อได้!\nเนื่องจากอ่านรายชื่อแฟ้มในโฟลเดอร์\n     " + folder +
           "\nไม่ได้ ยังไม่ได้เพิ่มเพลงใด ๆ\n\nกรุณาตรวจสอบโฟลเดอร์ดังกล่าวแล้วลองใหม่อีกครั้ง";
}

const char* const kNoFiles =
    "ไม่พบแฟ้มใด ๆ ในโฟลเดอร์ที่ท่านเลือกเลย...\n"
    "\n"
    "กรุณาตรวจสอบอีกครั้งว่าท่านได้เลือกโฟลเดอร์ถูกต้องหรือไม่";
const char* const kIncompleteSource =
    "เพลงที่ท่านจะเพิ่ม มีระบบแฟ้มไม่สมบูรณ์...\n"
    "ซึ่งระบบแฟ้มจะต้องมี 3 แฟ้มประกอบกัน เช่น 123.mid, 123.lyr และ 123.cur เป็นต้น";
const char* const kIncompleteSongQuestion =
    "ระบบแฟ้มเพลงอย่างน้อย 1 แฟ้ม ไม่สมบูรณ์ ซึ่งโปรแกรมจะข้ามการเพิ่มเพลง ๆ นั้นไป\n"
    "\n"
    "ท่านต้องการดำเนินการต่อหรือไม่?";

std::string missingKind(const std::string& kind) {
    return "โปรแกรมไม่พบแฟ้มที่มีนามสกุล " + kind + " เลย, กรุณาตรวจสอบด้วยครับ";
}

const char* const kCodeExists =
    "ไม่สามารถทำงานต่อได้! เนื่องจาก พบรหัสแฟ้มที่จะเพิ่มเข้าไปมีอยู่แล้ว\n"
    "\n"
    "กรุณาทำการเปลี่ยนชื่อแฟ้มก่อน...";

std::string badPrefix(const std::string& prefix) {
    return "ไม่สามารถทำงานต่อได้! เนื่องจากชื่ออักษรตัวแรกของแฟ้ม \"" + prefix +
           "\" ใช้เป็นชื่อโฟลเดอร์ที่เก็บเพลงไม่ได้\n\nกรุณาเลือกโฟลเดอร์หรือกำหนดชื่ออักษรตัวแรกใหม่";
}

std::string badPattern(const std::string& pattern) {
    return "ไม่สามารถทำงานต่อได้! เนื่องจากรูปแบบของแฟ้ม \"" + pattern +
           "\" มีอักษรอื่นนอกจาก 0\n\nกรุณาใช้ 0 แทนหลักของตัวเลขเท่านั้น";
}

const char* const kProgress = "เพิ่มเพลงใหม่ ";
const char* const kFolderPickerTitle = "เลือกที่เก็บแฟ้ม";

std::string patternLengthMessage(std::size_t keptLength) {
    return "ท่านไม่สามารถตั้งรหัสให้ยาวหรือสั่นกว่า " + std::to_string(keptLength) +
           " ตัวอักษรได้\nเนื่องจากความยาวรหัสเพลงในโฟลเดอร์ที่จะเพิ่มเข้าไปมี " +
           std::to_string(keptLength + 1) + " ตัวอักษร";
}

std::string finishedLine(long long added) {
    return "เพิ่มเพลงเสร็จแล้ว มีเพลงเพิ่มขึ้นทั้งหมด " + formatCount(added) + " เพลง";
}

std::string recordsNotWritten(const std::string& listPath, const std::string& logPath) {
    return "บันทึกแฟ้มรายชื่อเพลงที่เพิ่มไม่สำเร็จ กรุณาตรวจสอบแฟ้ม\n     " + listPath + "\n     " + logPath;
}

const char* const kOpenListQuestion = "ท่านต้องการเปิดดูรายชื่อเพลงที่เพิ่มเข้าไปหรือไม่?";
const char* const kBuildSongListQuestion = "ท่านต้องการสร้างรายการเพลงใหม่หรือไม่";

const char* const kCodeTaken = "มีแฟ้มชื่อนี้ในที่เก็บเพลงอยู่แล้ว";
const char* const kNameNotCode = "ชื่อแฟ้มใช้เป็นรหัสเพลงไม่ได้";
const char* const kCopyFailed = "คัดลอกแฟ้มไม่สำเร็จ";
const char* const kFolderOutside = "โฟลเดอร์ปลายทางเชื่อมโยงออกไปนอกที่เก็บเพลง";
const char* const kListHeading = "รายชื่อเพลงที่เพิ่มเข้าไปใหม่";

std::string leftOutHeading(long long count) {
    return "เพลงที่ไม่ได้เพิ่ม " + formatCount(count) + " เพลง";
}

}  // namespace dadaz::add_text
