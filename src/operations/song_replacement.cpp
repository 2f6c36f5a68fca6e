#include "operations/song_replacement.h"

#include <filesystem>

#include "operations/staged_replacement.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

constexpr const char* kCannotContinue = "ไม่สามารถดำเนินการต่อได้...\n\n";
constexpr const char* kReplaceQuestion = "ท่านต้องการแทนที่เพลงดังกล่าวด้วยเพลงใหม่ที่ท่านเลือก ใช่หรือไม่?";
constexpr const char* kSongUnchanged = "\n\nแฟ้มของเพลงนี้ยังคงเป็นแฟ้มเดิมทุกแฟ้ม";

std::vector<SongFileKind> kindsOf(ReplaceMode mode) {
    if (mode == ReplaceMode::MidiOnly) return {SongFileKind::Midi};
    return {SongFileKind::Midi, SongFileKind::Lyric, SongFileKind::Cursor};
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

std::string cannotReplace(const std::string& code) {
    return "ไม่สามารถแทนที่เพลงรหัส " + code + " ได้...\n\n";
}

// Targets that are read-only stay as they are, and then so does the whole song.
std::string readOnlyRefusal(const FileSystem& fs, const ReplacePlan& plan) {
    std::string names;
    for (const ReplaceFile& file : plan.files) {
        if (fs.isFile(file.target) && fs.isReadOnly(file.target))
            names += "\n" + fs.resolve(file.target).value_or(file.target);
    }
    if (names.empty()) return {};
    return cannotReplace(plan.code) + "แฟ้มต่อไปนี้เป็นแฟ้มอ่านอย่างเดียว (Read-only) จึงไม่ถูกแทนที่" + names +
           kSongUnchanged;
}

// True when a source is one of the song's own files, under whatever name or path.
bool picksOwnFiles(const FileSystem& fs, const ReplacePlan& plan) {
    for (const ReplaceFile& source : plan.files) {
        for (const ReplaceFile& target : plan.files) {
            auto real = fs.resolve(target.target);
            std::error_code error;
            if (real && std::filesystem::equivalent(source.source, *real, error)) return true;
        }
    }
    return false;
}

std::pair<std::string, std::string> splitFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

ReplaceOutcome failure(std::string message) {
    return {false, MessageIcon::Critical, std::move(message)};
}

}  // namespace

std::string replaceModeQuestion() {
    return "เลือกรูปแบบการแทนที่แฟ้ม...\n\n"
           "Yes : ทั้งสามแฟ้ม (*.MID, *.LYR, *.CUR)\n"
           "No : เฉพาะแฟ้มมิดี้ (*.MID)";
}

std::string replaceConfirmation(ReplaceMode mode) {
    if (mode == ReplaceMode::AllFiles) return kReplaceQuestion;
    return std::string(
               "คำเตือน : การแทนที่เฉพาะแฟ้มเพลง MIDI "
               "อาจจะมีปัญหาเรื่องค่าเวลาการปาด Cursor ผิดพลาดได้\n\n") +
           kReplaceQuestion;
}

MessageIcon replaceConfirmationIcon(ReplaceMode mode) {
    return mode == ReplaceMode::AllFiles ? MessageIcon::Question : MessageIcon::Exclamation;
}

std::string sourceStem(std::string_view pickedPath) {
    const std::size_t slash = pickedPath.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = pickedPath.rfind('.');
    // A dot in a folder name is no extension's.
    if (dot == std::string_view::npos || dot < nameStart) return std::string(pickedPath) + ".";
    return std::string(pickedPath.substr(0, dot + 1));
}

std::string replaceTargetRefusal(const SongPaths& paths, const CurrentSong& song) {
    if (!paths.path(SongFileKind::Midi, song.code(), song.volume()).empty()) return {};
    return kCannotContinue + ("รหัสเพลง \"" + song.code() + "\" หรือโฟลเดอร์ของเพลงนี้ไม่ถูกต้อง" +
                              "\nจึงไม่สามารถหาแฟ้มของเพลงที่ต้องการแทนที่ได้");
}

ReplaceCheck checkReplacement(const FileSystem& fs, const SongPaths& paths, const CurrentSong& song,
                              ReplaceMode mode, std::string_view pickedPath) {
    ReplaceCheck check;
    if (std::string refusal = replaceTargetRefusal(paths, song); !refusal.empty()) {
        check.refusal = std::move(refusal);
        return check;
    }
    const std::string stem = sourceStem(pickedPath);
    ReplacePlan plan{song.code(), {}};
    for (SongFileKind kind : kindsOf(mode)) {
        const std::string source = stem + std::string(songFileExtension(kind).substr(1));
        auto real = fs.resolve(source);
        if (!real || !fs.isFile(*real)) {
            check.refusal = kCannotContinue + (mode == ReplaceMode::AllFiles
                                                   ? "ไม่พบไฟล์ " + source
                                                   : std::string("แฟ้มที่เลือกไม่ใช้แฟ้ม MIDI"));
            return check;
        }
        const std::string target = paths.path(kind, song.code(), song.volume());
        if (paths.leadsOutOfLibrary(kind, target)) {
            check.refusal =
                kCannotContinue +
                ("โฟลเดอร์\n     " + target.substr(0, target.rfind('/')) + "\nของเพลงรหัส " +
                 song.code() + " เป็นลิงก์ที่ชี้ออกไปนอกคลังเพลง จึงไม่แทนที่แฟ้มในโฟลเดอร์นั้น");
            return check;
        }
        plan.files.push_back({kind, *real, target});
    }
    if (picksOwnFiles(fs, plan)) {
        check.refusal = kCannotContinue + ("แฟ้มที่เลือกเป็นแฟ้มของเพลงรหัส " + song.code() +
                                           " เอง\nกรุณาเลือกแฟ้มเพลงใหม่ที่ไม่ใช่แฟ้มเดิมของเพลงนี้");
        return check;
    }
    if (std::string refusal = readOnlyRefusal(fs, plan); !refusal.empty()) {
        check.refusal = std::move(refusal);
        return check;
    }
    check.plan = std::move(plan);
    return check;
}

ReplaceOutcome replaceSongFiles(FileSystem& fs, const ReplacePlan& plan) {
    if (std::string refusal = readOnlyRefusal(fs, plan); !refusal.empty()) return failure(refusal);
    StagedReplacement staged(fs);
    for (const ReplaceFile& file : plan.files) {
        const auto [folder, name] = splitFolder(file.target);
        // A song lacking a file may lack its first-character folder too.
        auto realFolder = fs.resolve(folder);
        if (!realFolder && fs.createFolder(folder)) realFolder = fs.resolve(folder);
        if (!realFolder || !fs.isFolder(*realFolder) ||
            !staged.stage(file.source, *realFolder, name)) {
            return failure(cannotReplace(plan.code) + "ไม่สามารถคัดลอกแฟ้ม " + file.source +
                           "\nไปไว้ในโฟลเดอร์ " + realFolder.value_or(folder) + kSongUnchanged);
        }
    }
    // A folder that could not be read hides the names taken in it: a file of the song in
    // another case would be doubled, not replaced.
    if (fs.unreadableFolders() > 0) {
        return failure(cannotReplace(plan.code) + "อ่านรายชื่อแฟ้มในโฟลเดอร์ของเพลงไม่ได้" +
                       kSongUnchanged);
    }
    switch (staged.commit()) {
        case StagedReplacement::Result::Replaced:
            if (staged.leftBehind().empty()) return {true, MessageIcon::Information, kReplaceDone};
            return {true, MessageIcon::Exclamation,
                    std::string(kReplaceDone) +
                        ("\n\nแต่ลบแฟ้มเดิมที่พักไว้ต่อไปนี้ไม่ได้:\n" + joinLines(staged.leftBehind()) +
                         "\n\nแฟ้มเหล่านี้จะถูกลบเมื่อแทนที่เพลงนี้ครั้งต่อไป")};
        case StagedReplacement::Result::Unchanged:
            return failure(cannotReplace(plan.code) + "ไม่สามารถนำแฟ้มใหม่ไปแทนที่แฟ้ม " +
                           staged.failedTarget() + kSongUnchanged);
        case StagedReplacement::Result::Incomplete:
            break;
    }
    return failure("แทนที่เพลงรหัส " + plan.code + " ได้ไม่ครบทุกแฟ้ม...\n\n" +
                   "ไม่สามารถนำแฟ้มใหม่ไปแทนที่แฟ้ม " + staged.failedTarget() +
                   "\nและไม่สามารถนำแฟ้มเดิมกลับคืนได้ทั้งหมด\n\n"
                   "กรุณาตรวจสอบแฟ้มของเพลงนี้ แฟ้มเดิมที่ยังไม่ได้คืนอยู่ในโฟลเดอร์เดียวกัน"
                   " ชื่อขึ้นต้นด้วยจุด (.)");
}

}  // namespace dadaz
