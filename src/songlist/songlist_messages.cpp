#include "songlist/songlist_messages.h"

#include <cstdio>

#include "platform/progress.h"

namespace dadaz::songlist_text {

namespace {
constexpr const char* kIndent = "     ";
}

const char* const kChoiceOwnList =
    "ตัวเลือกการสร้างรายการเพลง 1\n"
    "\n"
    "Yes :  สร้างรายการเพลงเพื่อใช้สำหรับโปรแกรมนี้เท่านั้น\n"
    "No :  สร้างรายการเพลงพร้อมทั้งฐานข้อมูลเพลงสำหรับโปรแกรม ZUZ Adediru ด้วย\n"
    "Cancel :  ยกเลิกการสร้างรายการเพลง";
const char* const kChoiceChecking =
    "ตัวเลือกการสร้างรายการเพลง 2\n"
    "\n"
    "Yes :  สร้างรายการเพลงแบบปกติ\n"
    "No :  สร้างรายการเพลงแบบมีการตรวจสอบและจัดระบบแฟ้มด้วย\n"
    "Cancel :  ยกเลิกการสร้างรายการเพลง";
const char* const kStopQuestion = "ท่านต้องการยกเลิกการสร้างรายการเพลง";

const char* const kMissingFolders =
    "ไม่สามารถทำงานต่อได้!\n"
    "เนื่องจากไม่พบที่เก็บแฟ้ม MIDI, Lyric หรือ Cursor\n"
    "\n"
    "กรุณาเลือกที่เก็บแฟ้มใหม่";

std::string createMoveToQuestion(const std::string& programFolder) {
    return std::string(
               "โปรแกรมไม่พบที่เก็บแฟ้มที่จะย้ายไปไว้...\n"
               "\n"
               "ท่านต้องการสร้างโฟลเดอร์ดังกล่าวไว้ที่\n") +
           kIndent + programFolder + "/Invalid Files\n\nแล้วดำเนินการต่อ ใช่หรือไม่?";
}

std::string moveToNotCreated(const std::string& folder) {
    return std::string("ไม่สามารถสร้างโฟลเดอร์\n") + kIndent + folder + "\nได้ จึงไม่สามารถทำงานต่อได้";
}

const char* const kDatabaseFolderNotice =
    "ตำแหน่งที่ตั้งโปรแกรม DAD Azar Edizuda\n"
    "ไม่ได้อยู่ที่เดียวกับที่เก็บเพลงหรือที่เก็บโปรแกรมคาราโอเกะของท่าน\n"
    "\n"
    "กรุณาเลือกที่เก็บแฟ้มฐานข้อมูลเพลงให้เป็นที่เก็บโปรแกรมคาราโอเกะของท่านก่อน";
const char* const kDatabaseFolderPickerTitle = "เลือกที่เก็บแฟ้มฐานข้อมูลเพลง";

const char* const kScanProgress = "สร้างรายการเพลง ";
const char* const kWriteProgress = "บันทึกแฟ้มรายการเพลง ";
const char* const kOpenSongListQuestion = "ท่านต้องการเปิดแฟ้มรายการเพลง?";

std::string formatElapsed(std::chrono::steady_clock::duration elapsed) {
    long long seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    if (seconds < 0) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

std::string statusLabel(const std::string& code, long done, long total,
                        std::chrono::steady_clock::duration elapsed) {
    return code + kIndent + "เพลงที่ " + formatCount(done) + " จาก " + formatCount(total) + kIndent +
           "ใช้เวลา " + formatElapsed(elapsed);
}

std::string countsParagraph(const ClosingFacts& facts) {
    std::string text;
    auto add = [&](long count, const std::string& line) {
        if (count == 0) return;
        text += text.empty() ? "" : "\n";
        text += line;
    };
    add(facts.withoutPlayerRecord, "ไม่ได้บันทึกลงฐานข้อมูลเพลง " +
                                       formatCount(facts.withoutPlayerRecord) +
                                       " เพลง (รหัสเพลงยาวเกิน 8 ตัวอักษร หรือที่เก็บแฟ้มยาวเกินช่องที่กำหนด)");
    add(facts.withoutDosPath, "ไม่ได้บันทึกลงฐานข้อมูลเพลง " + formatCount(facts.withoutDosPath) +
                                  " เพลง (แฟ้มเพลงอยู่นอกไดรฟ์ DOS ทุกไดรฟ์ที่กำหนดไว้)");
    add(facts.semicolonsReplaced, "เปลี่ยนเครื่องหมาย ; ในชื่อเพลง ชื่อศิลปิน หรือคีย์เพลง เป็น , แล้ว " +
                                      formatCount(facts.semicolonsReplaced) + " เพลง");
    add(facts.notListed, "ไม่ได้นำเข้ารายการเพลง " + formatCount(facts.notListed) +
                             " แฟ้ม (อ่านแฟ้มไม่ได้ หรือชื่อแฟ้มใช้เป็นรหัสเพลงไม่ได้)");
    add(facts.filesNotMoved, "ย้ายแฟ้มที่ไม่เกี่ยวข้องไม่สำเร็จ " + formatCount(facts.filesNotMoved) +
                                 " แฟ้ม (แฟ้มของเพลงนั้นยังอยู่ที่เดิมทั้งหมด)");
    add(facts.fourthLinesNotEmptied, "ลบข้อความบรรทัดที่ 4 ของแฟ้มเนื้อเพลงไม่สำเร็จ " +
                                         formatCount(facts.fourthLinesNotEmptied) + " แฟ้ม");
    add(facts.otherDatabaseFilesLeft ? 1 : 0,
        "ลบแฟ้ม *.vk2 อื่นในที่เก็บแฟ้มฐานข้อมูลเพลงไม่สำเร็จ (โปรแกรมคาราโอเกะใช้เฉพาะ List.vk2 และ "
        "Tarn.vk2)");
    return text;
}

std::string closingMessage(const ClosingFacts& facts) {
    std::string text = std::string(
                           "สร้างรายการเพลงเสร็จเรียบร้อยแล้ว\n"
                           "\n"
                           "บันทึกแฟ้ม List.vk2, Tarn.vk2 ไว้ที่\n") +
                       kIndent + facts.databaseFolder + "\nบันทึกแฟ้ม SongList.txt ไว้ที่\n" + kIndent +
                       facts.programFolder;
    if (!facts.moveToFolder.empty()) {
        text += std::string("\n\nและได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่\n") + kIndent + facts.moveToFolder;
    }
    if (!facts.drives.empty()) {
        text += "\n\nที่เก็บแฟ้มในฐานข้อมูลเพลงใช้ไดรฟ์ต่อไปนี้ (mount ใน DOSBox ให้ตรงกัน)";
        for (const auto& [letter, folder] : facts.drives) {
            text += std::string("\n") + kIndent + letter + ": = " + folder;
        }
    }
    if (const std::string counts = countsParagraph(facts); !counts.empty()) {
        text += "\n\n" + counts;
    }
    return text;
}

std::string writeFailed(const std::string& fileName, const std::string& folder) {
    return "ไม่สามารถบันทึกแฟ้ม " + fileName + " ไว้ที่\n" + kIndent + folder + "\n\nแฟ้มเดิมยังคงอยู่ตามเดิม";
}

std::string folderUnreadable(const std::string& folder) {
    return std::string("ไม่สามารถสร้างรายการเพลงได้!\nเนื่องจากอ่านรายชื่อแฟ้มในโฟลเดอร์\n") + kIndent +
           folder + "\nไม่ได้ แฟ้มรายการเพลงเดิมยังคงอยู่ตามเดิม\n\nกรุณาตรวจสอบโฟลเดอร์ดังกล่าวแล้วลองใหม่อีกครั้ง";
}

std::string folderNameUnwritable(const std::string& folder) {
    // A control character (a line break, a tab) would break the message too: shown as "?".
    std::string shown = folder;
    bool control = false;
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
            control = true;
        }
    }
    return std::string("ไม่สามารถสร้างรายการเพลงได้!\nเนื่องจากชื่อโฟลเดอร์\n") + kIndent + shown +
           (control ? "\nมีตัวอักษรควบคุม (เช่น การขึ้นบรรทัดใหม่หรือแท็บ) จึงบันทึกลงรายการเพลงไม่ได้\n\n"
                    : "\nมีตัวอักษรที่ไม่มีในรหัสภาษาไทย (Code Page 874) จึงบันทึกลงรายการเพลงไม่ได้\n\n") +
           "กรุณาเปลี่ยนชื่อโฟลเดอร์ แล้วสร้างรายการเพลงใหม่\n"
           "แฟ้ม SongList.txt, List.vk2 และ Tarn.vk2 เดิมยังคงอยู่ตามเดิม";
}

std::string nothingListed(long lyricFiles, const ClosingFacts& facts) {
    std::string text = "ไม่ได้สร้างรายการเพลงใหม่!\nพบแฟ้ม Lyric " + formatCount(lyricFiles) +
                       " แฟ้ม แต่นำเข้ารายการเพลงไม่ได้เลยแม้แต่เพลงเดียว\n\n"
                       "แฟ้ม SongList.txt, List.vk2 และ Tarn.vk2 เดิมยังคงอยู่ตามเดิม";
    if (!facts.moveToFolder.empty()) {
        text += std::string("\n\nได้ย้ายแฟ้มที่ไม่เกี่ยวข้องไปไว้ที่\n") + kIndent + facts.moveToFolder;
    }
    if (const std::string counts = countsParagraph(facts); !counts.empty()) {
        text += "\n\n" + counts;
    }
    return text;
}

}  // namespace dadaz::songlist_text
