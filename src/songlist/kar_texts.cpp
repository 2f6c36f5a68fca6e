#include "songlist/kar_texts.h"

#include "platform/progress.h"

namespace dadaz::kar_text {

namespace {
constexpr const char* kIndent = "     ";
}

const char* const kChoiceKar =
    "ตัวเลือกการทำงาน\n"
    "\n"
    "Yes :  สร้างแฟ้มคาราโอเกะ [*.KAR]\n"
    "No :  สร้างรายการเพลง\n"
    "Cancel :  ยกเลิกการทำงาน";
const char* const kFolderPickerTitle = "เลือกที่เก็บแฟ้มคาราโอเกะ (KAR)";
const char* const kProgress = "สร้างแฟ้มคาราโอเกะ [KAR] ";

std::string confirmFolder(const std::string& karFolder) {
    return "โปรแกรมจะสร้างแฟ้มคาราโอเกะ (KAR) ไว้ที่...\n\n" + karFolder + "\n\nท่านต้องการทำต่อหรือไม่?";
}

std::string folderNotUsable(const std::string& karFolder) {
    return std::string("ไม่สามารถสร้างแฟ้มคาราโอเกะได้!\nเนื่องจากไม่สามารถใช้\n") + kIndent + karFolder +
           "\nเป็นโฟลเดอร์เก็บแฟ้มคาราโอเกะได้ (มีแฟ้มชื่อนี้อยู่แล้ว หรือลบ/สร้างโฟลเดอร์ไม่ได้)\n\n"
           "กรุณาเลือกที่เก็บแฟ้มคาราโอเกะใหม่";
}

std::string folderHoldsLibrary(const std::string& karFolder, const std::string& libraryFolder) {
    return std::string("ไม่สามารถสร้างแฟ้มคาราโอเกะได้!\nเนื่องจากโฟลเดอร์\n") + kIndent + karFolder +
           "\nซึ่งจะถูกล้างก่อนสร้างแฟ้มคาราโอเกะ เป็นที่เก็บหรือมีโฟลเดอร์ของคลังเพลงหรือของโปรแกรมอยู่\n" +
           kIndent + libraryFolder + "\n\nกรุณาเลือกที่เก็บแฟ้มคาราโอเกะใหม่";
}

std::string converterUnavailable(const KarConverter& converter) {
    switch (converter.state) {
        case KarConverter::State::Ready:
            return {};
        case KarConverter::State::Missing:
            return std::string("ไม่พบโปรแกรมสร้างแฟ้มคาราโอเกะ ") + kKarConverterName +
                   " ในที่เก็บโปรแกรม";
        case KarConverter::State::NeedsWine:
            return std::string("โปรแกรม ") + kKarConverterName +
                   " เป็นโปรแกรมของ Windows ซึ่งต้องใช้ wine ในการทำงาน\n"
                   "แต่ไม่พบ wine (และ winepath) ในเครื่องนี้\n\n"
                   "กรุณาติดตั้ง wine ก่อน จึงจะสร้างแฟ้มคาราโอเกะ [*.KAR] ได้";
        case KarConverter::State::NotRunnable:
            return std::string("ไม่สามารถเรียกใช้โปรแกรม ") + kKarConverterName +
                   " ได้ (ไม่ใช่แฟ้มโปรแกรมที่เรียกใช้ได้)";
    }
    return {};
}

std::string aboutBoxNote(const KarConverter& converter) {
    if (converter.state != KarConverter::State::NeedsWine) return {};
    return converterUnavailable(converter);
}

std::string finished(const std::string& karFolder) {
    return "สร้างแฟ้มคาราโอเกะ [*.KAR] เสร็จเรียบร้อยแล้ว...\n\nโดยได้บันทึกแฟ้มต่าง ๆ ไว้ที่ " + karFolder;
}

std::string notMadeParagraph(std::size_t notMade, const std::string& logPath) {
    std::string text =
        "สร้างแฟ้มคาราโอเกะไม่สำเร็จ " + formatCount(static_cast<long long>(notMade)) + " เพลง";
    if (logPath.empty()) return text + " (บันทึกรายชื่อเพลงลงแฟ้ม Log ไม่ได้)";
    return text + " รายชื่อเพลงอยู่ในแฟ้ม\n" + kIndent + logPath;
}

std::string notAllMade(const std::string& karFolder, std::size_t made, std::size_t notMade,
                       const std::string& logPath) {
    return "สร้างแฟ้มคาราโอเกะ [*.KAR] ได้ไม่ครบทุกเพลง!\n\nสร้างแล้ว " +
           formatCount(static_cast<long long>(made)) + " เพลง โดยได้บันทึกแฟ้มต่าง ๆ ไว้ที่ " + karFolder +
           "\n\n" + notMadeParagraph(notMade, logPath);
}

}  // namespace dadaz::kar_text
