#include "operations/removal_texts.h"

#include "platform/progress.h"

namespace dadaz::removal_text {

namespace {

std::string lastComponent(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joined(const std::vector<std::string>& files) {
    std::string text;
    for (const std::string& file : files) text += (text.empty() ? "" : ", ") + file;
    return text;
}

std::string reason(RemovalKind kind, const SongRemovalOutcome& outcome) {
    const std::string files = joined(outcome.files);
    const bool moving = kind == RemovalKind::Move;
    switch (outcome.result) {
        case SongRemoval::Removed:
            return {};
        case SongRemoval::NotFound:
            return "ไม่พบแฟ้มของเพลงในระบบ";
        case SongRemoval::UnsafeSong:
            return outcome.song.volume().empty()
                       ? "รหัสเพลงไม่ถูกต้อง จึงไม่แตะต้องแฟ้มใด"
                       : "รหัสเพลงหรือโฟลเดอร์ " + outcome.song.volume() + " ไม่ถูกต้อง จึงไม่แตะต้องแฟ้มใด";
        case SongRemoval::OutsideLibrary:
            return "โฟลเดอร์ " + files + " เป็นลิงก์ที่ชี้ออกไปนอกโฟลเดอร์เพลง";
        case SongRemoval::FolderLocked:
            return "ไม่มีสิทธิ์แก้ไขแฟ้มในโฟลเดอร์ " + files;
        case SongRemoval::Unreadable:
            return "อ่านรายชื่อแฟ้มในโฟลเดอร์ไม่ได้ จึงไม่แตะต้องแฟ้มใดของเพลงนี้";
        case SongRemoval::MoveToMissing:
            return "ไม่พบโฟลเดอร์ " + files;
        case SongRemoval::NameTaken:
            return "มีแฟ้ม " + files + " อยู่แล้ว";
        case SongRemoval::NameTwice:
            return "แฟ้มชื่อ " + lastComponent(files) + " มีอยู่ในหลายโฟลเดอร์ของเพลง จึงย้ายไปไว้รวมกันไม่ได้";
        case SongRemoval::Failed:
            return (moving ? "ย้ายแฟ้ม " : "ลบแฟ้ม ") + files + " ไม่ได้ แฟ้มของเพลงยังอยู่ครบที่เดิม";
        case SongRemoval::Split:
            return moving ? "ย้ายได้ไม่ครบและย้ายกลับไม่ได้ แฟ้มที่อยู่ในโฟลเดอร์ปลายทาง: " + files
                          : "ลบได้ไม่ครบ แฟ้มที่ยังเหลืออยู่: " + files;
        case SongRemoval::LeftBehind:
            return "ลบแฟ้ม " + files + " ไม่ได้";
    }
    return {};
}

}  // namespace

std::string deleteQuestion(bool several) {
    return several ? "ท่านต้องการลบเพลงที่ท่านเลือกออกจากระบบ ใช่หรือไม่?"
                   : "ท่านต้องการลบเพลงดังกล่าวออกจากระบบ ใช่หรือไม่?";
}

std::string moveQuestion(bool several, const std::string& moveTo) {
    return (several ? "ท่านต้องการย้ายเพลงที่ท่านเลือกไปยังโฟลเดอร์ "
                    : "ท่านต้องการย้ายเพลงดังกล่าวไปยังโฟลเดอร์ ") +
           moveTo + " ใช่หรือไม่";
}

std::string missingMoveToQuestion() {
    return "ไม่พบโฟลเดอร์ที่ท่านต้องการย้ายไปไว้!\n\nท่านต้องการสร้างสร้างโฟลเดอร์ดังกล่าวหรือไม่?";
}

std::string moveToNotCreated(const std::string& moveTo) {
    return "ไม่สามารถสร้างโฟลเดอร์ " + moveTo + " ได้\n\nจึงไม่ได้ย้ายเพลงใด";
}

std::string songName(const CurrentSong& song) {
    if (song.volume().empty()) return song.code();
    return song.code() + " (" + lastComponent(song.volume()) + ")";
}

std::string failureLine(RemovalKind kind, const SongRemovalOutcome& outcome) {
    return songName(outcome.song) + ": " + reason(kind, outcome);
}

std::string reportText(RemovalKind kind, const RemovalReport& report, bool inList,
                       std::size_t maxSongs) {
    std::string failed, missing, leftBehind;
    std::size_t failedCount = 0, missingCount = 0;
    for (const SongRemovalOutcome& outcome : report.songs) {
        if (outcome.result == SongRemoval::Removed) continue;
        if (outcome.result == SongRemoval::LeftBehind) {
            leftBehind += "\n     " + failureLine(kind, outcome);
            continue;
        }
        const bool notFound = outcome.result == SongRemoval::NotFound;
        std::size_t& count = notFound ? missingCount : failedCount;
        if (++count > maxSongs) continue;
        (notFound ? missing : failed) +=
            "\n     " + (notFound ? songName(outcome.song) : failureLine(kind, outcome));
    }
    auto more = [&](std::size_t count) {
        return count > maxSongs
                   ? "\n     และอีก " + formatCount(static_cast<long long>(count - maxSongs)) +
                         " เพลง"
                   : std::string();
    };
    std::string text;
    if (failedCount > 0) {
        text = (kind == RemovalKind::Move ? "ย้ายเพลงต่อไปนี้ไม่ได้:" : "ลบเพลงต่อไปนี้ไม่ได้:") + failed +
               more(failedCount);
        if (inList) text += "\n\nเพลงเหล่านี้ยังอยู่ในรายการและยังถูกเลือกไว้";
    }
    if (missingCount > 0) {
        if (!text.empty()) text += "\n\n";
        text += "ไม่พบแฟ้มของเพลงต่อไปนี้ในระบบ:" + missing + more(missingCount);
        if (inList) text += "\n\nจึงนำเพลงเหล่านี้ออกจากรายการ";
    }
    if (!leftBehind.empty()) {
        // Gone from the library, but hidden files of theirs stay until they are deleted.
        if (!text.empty()) text += "\n\n";
        text +=
            "ลบเพลงต่อไปนี้แล้ว แต่ยังลบแฟ้มซ่อนที่เหลือของเพลงไม่ได้:" + leftBehind + "\n\nกรุณาลบแฟ้มเหล่านี้เอง";
    }
    return text;
}

}  // namespace dadaz::removal_text
