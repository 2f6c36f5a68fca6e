#include "renumber/renumber_texts.h"

#include "platform/progress.h"

namespace dadaz::renumber_text {

namespace {

const char* const kGoOnRenaming = "ท่านต้องการดำเนินการเปลีื่ยนชื่อแฟ้มต่อหรือไม่?";
const char* const kDosCannotRead =
    "จะทำให้โปรแกรมที่ทำงานในระบบ DOS เช่น VID, Tarn, Sunbird! ไม่สามารถอ่านแฟ้มได้";
const char* const kChooseAgain = "กรุณาเลือกที่เก็บแฟ้มใหม่";

// A heading with the number of songs, then the first ten of them.
std::string songsParagraph(const std::string& heading, const std::vector<std::string>& songs) {
    std::string text =
        "\n\n" + heading + " : " + formatCount(static_cast<long long>(songs.size())) + " เพลง";
    const std::size_t shown = std::min<std::size_t>(songs.size(), 10);
    for (std::size_t i = 0; i < shown; ++i) text += "\n     " + songs[i];
    if (shown < songs.size()) text += "\n     ...";
    return text;
}

std::string countsText(const Summary& summary) {
    std::string text = "พบแฟ้ม MIDI : " + formatCount(summary.midi) +
                       " แฟ้ม\nพบแฟ้ม Lyric : " + formatCount(summary.lyric) +
                       " แฟ้ม\nพบแฟ้ม Cursor : " + formatCount(summary.cursor) + " แฟ้ม";
    if (summary.movedFiles) text += "\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่ " + summary.moveTo;
    if (!summary.keptSongs.empty())
        text += songsParagraph("เพลงที่ไม่ได้เปลี่ยนรหัส เพราะมีแฟ้มอื่นใช้ชื่อใหม่อยู่แล้ว", summary.keptSongs);
    if (summary.notMoved > 0) {
        text += "\n\nแฟ้มที่ย้ายไปไม่ได้ เพราะมีแฟ้มชื่อเดียวกันอยู่ในที่เก็บแฟ้มที่จะย้ายไปแล้ว : " +
                formatCount(summary.notMoved) + " แฟ้ม";
    }
    if (!summary.failedSongs.empty()) {
        text += songsParagraph(
            "เพลงที่เปลี่ยนรหัสไม่สำเร็จ เพราะอ่านหรือเขียนแฟ้มไม่ได้ (แฟ้มของเพลงยังใช้รหัสเดิมทั้งหมด)",
            summary.failedSongs);
    }
    if (summary.movesFailed > 0) {
        text += "\n\nแฟ้มที่ย้ายไม่สำเร็จ เพราะอ่านหรือเขียนแฟ้มไม่ได้ (แฟ้มยังอยู่ที่เดิม) : " +
                formatCount(summary.movesFailed) + " แฟ้ม";
    }
    return text;
}

}  // namespace

std::string backupWarning() {
    return "ก่อนทำการเปลี่ยนชื่อแฟ้ม ท่านควรสำรองข้อมูลของท่านเก็บไว้ก่อน\n\nท่านต้องการดำเนินการต่อ?";
}

std::string moreThanEightDigits() {
    return std::string("ท่านได้กำหนดหลักในการเปลี่ยนชื่อแฟ้ม มากกว่า 8 หลัก\n     ซึ่ง") + kDosCannotRead +
           "\n\n" + kGoOnRenaming;
}

std::string patternLongerThanSeven(int digitCount) {
    return "ท่านได้กำหนดรูปแบบในการเปลี่ยนชื่อแฟ้มเอง ซึ่งมีจำนวนหลักมากกว่า 7 หลัก\n     "
           "และจำนวนหลักจริงหลังจากเปลี่ยนชื่อแฟ้มแล้วจะเท่ากับ " +
           std::to_string(digitCount + 1) + " หลัก\n     " + kDosCannotRead + "\n\n" + kGoOnRenaming;
}

std::string multiFolderRefusal() {
    return std::string("ไม่สามารถทำงานต่อได้! เนื่องจากเป็นระบบแฟ้มหลายโฟลเดอร์\n\n") + kChooseAgain;
}

std::string foldersMissing() {
    return std::string("ไม่สามารถทำงานต่อได้!\nเนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor\n\n") +
           kChooseAgain;
}

std::string foldersShared() {
    return std::string(
               "ไม่สามารถทำงานต่อได้!\nเนื่องจากที่เก็บแฟ้ม MIDI, Lyric และ Cursor "
               "จะต้องเป็นคนละโฟลเดอร์กัน\n\n") +
           kChooseAgain;
}

std::string createMoveTo(const std::string& folder) {
    return "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n\nท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n     " + folder +
           "\n\nแล้วดำเนินการต่อ ใช่หรือไม่?";
}

std::string invalidPattern() {
    return "ท่านกำหนดรูปแบบไม่ถูกต้อง!!!\n\nรูปแบบที่ถูกต้อง จะต้องไม่มีตัวเลขคั่นระหว่างตัวอักษร เช่น ABC00000 เป็นต้น";
}

std::string tooManyFiles(std::uint64_t capacity) {
    std::string count = std::to_string(capacity);
    for (int i = static_cast<int>(count.size()) - 3; i > 0; i -= 3) count.insert(i, ",");
    return "ไม่สามารถทำงานต่อได้!!!\n\nเนื่องจากจำนวนแฟ้มในแต่ละโฟล์เดอร์มากกว่าค่าจำนวนหลักที่ตั้งไว้ คือ " + count +
           " แฟ้ม";
}

std::string alreadyHasDigits(int digitCount) {
    return "ตรวจพบแฟ้มที่มี " + std::to_string(digitCount) +
           " หลัก อยู่แล้ว\n\nท่านต้องการทำการเปลี่ยนชื่อแฟ้มต่อหรือไม่?";
}

std::string alreadyHasDigitsDeclined(int digitCount) {
    return "ท่านสามารถเปลี่ยนชื่อแฟ้มเป็นจำนวนหลักอื่น ๆ ก่อน\nโดยที่ท่านสามารถกลับมาเปลี่ยนชื่อแฟ้มเป็น " +
           std::to_string(digitCount) + " หลัก ต่อได้...";
}

std::string digitCountInvalid() {
    return "กรุณาป้อนจำนวนหลักใหม่!\n\n*จำนวนหลักจะต้องเป็นเลขจำนวนเต็มเท่านั้น และต้องไม่เท่ากับ 0";
}

std::string leaveCountInvalid() {
    return "กรุณาป้อนจำนวนตัวอักษรที่ยกเว้นใหม่!\n\n*จำนวนตัวอักษรจะต้องเป็นเลขจำนวนเต็มเท่านั้น และต้องไม่เท่ากับ 0";
}

std::string folderNameFirstQuestion() {
    return "กำหนดรูปแบบแฟ้ม\n\nYes (Default)  ชื่อโฟลเดอร์นำหน้ารูปแบบที่กำหนด เช่น 0ABCxxxx\n"
           "No  ชื่อโฟลเดอร์ตามหลังรูปแบบที่กำหนด เช่น ABC0xxxx\n\n*** 0 คือชื่อโฟลเดอร์";
}

std::string stopQuestion() {
    return "คำเตือน!\nถ้าท่านยกเลิกการเปลี่ยนชื่อแฟ้ม อาจจะทำให้ระบบแฟ้มของท่านเสียหายได้\n\n"
           "ท่านต้องการยกเลิกการเปลี่ยนชื่อแฟ้ม?";
}

std::string stopped() {
    return "หยุดการเปลี่ยนชื่อแฟ้มแล้ว\n\nเพลงที่ยังเปลี่ยนชื่อไม่เสร็จ จะถูกเปลี่ยนชื่อต่อจนเสร็จ\n"
           "เมื่อเปิดโปรแกรมครั้งต่อไป หรือเมื่อเริ่มเปลี่ยนชื่อแฟ้มครั้งต่อไป";
}

std::string checkingText(int kind) {
    static const char* const texts[] = {"ตรวจสอบแฟ้ม MIDI ", "ตรวจสอบแฟ้ม Lyric ",
                                        "ตรวจสอบแฟ้ม Cursor "};
    return texts[kind];
}

std::string renamingText() {
    return "กำลังเปลี่ยนชื่อแฟ้ม ";
}

std::string validatingText(int kind) {
    static const char* const texts[] = {"ตรวจสอบความถูกต้องแฟ้ม MIDI ", "ตรวจสอบความถูกต้องแฟ้ม Lyric ",
                                        "ตรวจสอบความถูกต้องแฟ้ม Cursor "};
    return texts[kind];
}

std::string finished(const Summary& summary) {
    return "เปลี่ยนชื่อแฟ้มเสร็จแล้ว...\n\n" + countsText(summary);
}

std::string interruptedCompleted(const Summary& summary) {
    return "พบการเปลี่ยนชื่อแฟ้มที่ยังทำไม่เสร็จจากครั้งก่อน\nโปรแกรมได้เปลี่ยนชื่อแฟ้มต่อจนเสร็จแล้ว...\n\n" +
           countsText(summary);
}

std::string journalUnreadable(const std::string& path) {
    return "ไม่สามารถทำงานต่อได้!\nเนื่องจากอ่านแฟ้มบันทึกการเปลี่ยนชื่อแฟ้มที่ค้างอยู่ไม่ได้\n     " + path +
           "\n\nกรุณาตรวจสอบแฟ้มดังกล่าวก่อน";
}

std::string folderUnreadable(const std::string& folder) {
    return "ไม่สามารถทำงานต่อได้!\nเนื่องจากอ่านรายชื่อแฟ้มในโฟลเดอร์\n     " + folder +
           "\nไม่ได้\n\nยังไม่ได้เปลี่ยนชื่อแฟ้มใด ๆ";
}

std::string journalNotRemoved(const std::string& path) {
    return "แต่ลบแฟ้มบันทึกการเปลี่ยนชื่อแฟ้ม\n     " + path +
           "\nไม่ได้ (แฟ้มนี้บันทึกไว้แล้วว่าทำเสร็จ โปรแกรมจะลบให้ในครั้งต่อไป)";
}

std::string journalNotWritten(const std::string& path) {
    return "ไม่สามารถทำงานต่อได้!\nเนื่องจากบันทึกแฟ้มบันทึกการเปลี่ยนชื่อแฟ้มไม่ได้\n     " + path +
           "\n\nยังไม่ได้เปลี่ยนชื่อแฟ้มใด ๆ";
}

}  // namespace dadaz::renumber_text
