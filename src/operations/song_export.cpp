#include "operations/song_export.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "library/song_code.h"
#include "library/song_paths.h"
#include "platform/filesystem.h"
#include "platform/progress.h"
#include "songlist/kar_texts.h"

namespace dadaz {

namespace {

constexpr SongFileKind kKinds[] = {SongFileKind::Midi, SongFileKind::Lyric, SongFileKind::Cursor};
constexpr const char* kStructureFolders[] = {"SONG", "LYRICS", "CURSOR"};
constexpr std::size_t kProblemLinesShown = 20;

std::string parentOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

std::string nameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The folder a kind of file goes to; made where missing. Empty when it cannot be made.
std::string targetFolder(FileSystem& fs, const std::string& folder, ExportForm form,
                         std::size_t kind, const std::string& first) {
    if (form != ExportForm::AllStructured) return folder;
    const std::string top = joinPath(folder, kStructureFolders[kind]);
    const std::string sub = joinPath(top, first);
    for (const std::string& level : {top, sub}) {
        if (!fs.isFolder(level) && !fs.createFolder(level)) return {};
    }
    return sub;
}

}  // namespace

ExportReport copySongs(FileSystem& fs, const SongPaths& paths,
                       const std::vector<CurrentSong>& songs, const std::string& folder,
                       ExportForm form) {
    ExportReport report;
    std::set<std::string> written;  // upper-cased targets of this export
    const std::size_t kinds = form == ExportForm::MidiOnly ? 1 : 3;
    const std::size_t listingFailures = fs.listingFailures();
    for (const CurrentSong& song : songs) {
        ++report.songs;
        const std::string& code = song.code();
        bool anyFile = false;
        std::vector<std::string> missing;  // the song's files that are not there
        for (std::size_t k = 0; k < kinds; ++k) {
            const std::string path = paths.path(kKinds[k], code, song.volume());
            if (path.empty()) break;
            const std::vector<std::string> files = fs.filesWithStem(parentOf(path), code);
            if (fs.listingFailures() != listingFailures) {
                // A folder that could not be listed looks empty from then on: files of the
                // song would be left out unseen.
                report.problems.push_back({ExportProblem::Kind::CopyFailed, code, path});
                anyFile = true;
                continue;
            }
            if (files.empty()) {
                missing.push_back(path);
                continue;
            }
            anyFile = true;
            const std::string target =
                targetFolder(fs, folder, form, k, firstCharacterFolder(code));
            for (const std::string& file : files) {
                if (target.empty()) {
                    report.problems.push_back({ExportProblem::Kind::CopyFailed, code, file});
                    continue;
                }
                const std::string to = joinPath(target, nameOf(file));
                if (!written.insert(upperAscii(to)).second) {
                    report.problems.push_back({ExportProblem::Kind::NameTaken, code, file});
                } else if (fs.copyFile(file, to)) {
                    ++report.filesWritten;
                } else {
                    report.problems.push_back({ExportProblem::Kind::CopyFailed, code, file});
                }
            }
        }
        if (!anyFile) {
            report.problems.push_back({ExportProblem::Kind::NoFiles, code, {}});
        } else {
            // A song carried off without its lyric or cursor does not play on the player.
            for (const std::string& path : missing)
                report.problems.push_back({ExportProblem::Kind::FileMissing, code, path});
        }
    }
    return report;
}

ExportReport convertSongs(KarConversions& conversions, FileSystem& fs,
                          const std::string& programFolder, const SongPaths& paths,
                          const std::vector<CurrentSong>& songs, const std::string& folder,
                          const std::function<bool(std::size_t, std::size_t)>& onWait) {
    ExportReport report;
    std::set<std::string> outputs;
    for (const CurrentSong& song : songs) {
        ++report.songs;
        const std::string& code = song.code();
        KarJob job{code, paths.find(SongFileKind::Midi, code, song.volume()).value_or(""),
                   paths.find(SongFileKind::Lyric, code, song.volume()).value_or(""),
                   paths.find(SongFileKind::Cursor, code, song.volume()).value_or(""),
                   isSafeCode(code) ? joinPath(folder, code + ".KAR") : std::string()};
        if (job.output.empty() || !outputs.insert(upperAscii(job.output)).second) {
            // Two songs of one code (from two volumes) would write one file at once.
            report.problems.push_back({ExportProblem::Kind::NameTaken, code, job.output});
        } else if (job.midi.empty() || job.lyric.empty() || job.cursor.empty()) {
            report.problems.push_back({ExportProblem::Kind::NoFiles, code, job.output});
        } else {
            conversions.add(std::move(job));
        }
    }
    const KarOutcome outcome = conversions.finish(onWait);
    report.filesWritten = outcome.written;
    for (const KarJob& job : outcome.notWritten) {
        report.problems.push_back({ExportProblem::Kind::KarNotMade, job.code, job.output});
    }
    if (!report.problems.empty()) {
        std::vector<KarJob> notMade;
        for (const ExportProblem& problem : report.problems)
            notMade.push_back({problem.code, {}, {}, {}, problem.file});
        fs.forgetIndexes();
        report.karLog = writeKarLog(fs, programFolder, notMade, std::chrono::system_clock::now());
    }
    return report;
}

void exportSongs(RunContext& ctx, std::string& exportFolder,
                 const std::vector<CurrentSong>& songs) {
    const bool previous = !exportFolder.empty() && ctx.fs.isFolder(exportFolder);
    exportFolder = ctx.prompt.pickFolder(previous ? exportFolder : ctx.programFolder,
                                         export_text::kFolderPickerTitle);
    if (exportFolder.empty()) return;
    ctx.fs.forgetIndexes();

    KarConverter converter;
    if (ctx.state.makeKarAvailable) converter = findKarConverter(ctx.fs, ctx.programFolder);
    const bool kar =
        converter.ready() && ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                                            export_text::kKarOrFiles) == Answer::Yes;
    ExportForm form = ExportForm::Kar;
    if (!kar) {
        form = ExportForm::MidiOnly;
        if (!songs.empty() && ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                                             export_text::kAllOrMidi) == Answer::Yes) {
            form = ctx.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                                  export_text::kStructure) == Answer::Yes
                       ? ExportForm::AllStructured
                       : ExportForm::AllFlat;
        }
    }

    const SongPaths paths(ctx.fs, ctx.folders);
    ExportReport report;
    if (kar) {
        KarConversions conversions(converter);
        report =
            convertSongs(conversions, ctx.fs, ctx.programFolder, paths, songs, exportFolder,
                         [&](std::size_t done, std::size_t total) {
                             ctx.progress.progress(static_cast<long>(done),
                                                   static_cast<long>(total), kar_text::kProgress);
                             ctx.pumpEvents();
                             return true;
                         });
    } else {
        report = copySongs(ctx.fs, paths, songs, exportFolder, form);
    }
    const std::string text = export_text::closing(form, exportFolder, songs, report);
    if (report.complete()) {
        ctx.prompt.inform(text);
    } else {
        ctx.prompt.ask(MessageIcon::Exclamation, MessageButtons::Ok, text);
    }
}

namespace export_text {

const char* const kFolderPickerTitle = "เลือกที่เก็บเพลงที่จะส่งออก";
const char* const kKarOrFiles =
    "เลือกรูปแบบการทำงาน...\n\nYes: สร้างแฟ้มคาราโอเกะ (*.KAR)\nNo: ส่งออกแฟ้มเพลง";
const char* const kAllOrMidi =
    "เลือกรูปแบบแฟ้มที่จะทำการส่งออก...\n\nYes : ส่งออกทั้ง 3 แฟ้ม (MIDI, Lyric, Cursor)\n"
    "No  : ส่งออกเฉพาะแฟ้ม MIDI";
const char* const kStructure = "ท่านต้องการสร้างโฟลเดอร์ระบบแฟ้มที่จะส่งออกหรือไม่?";

namespace {

std::string problemLine(const ExportProblem& problem) {
    switch (problem.kind) {
        case ExportProblem::Kind::NoFiles:
            return problem.code + ": ไม่พบแฟ้มของเพลง";
        case ExportProblem::Kind::FileMissing:
            return problem.code + ": ไม่พบแฟ้ม " + nameOf(problem.file);
        case ExportProblem::Kind::CopyFailed:
            return problem.code + ": คัดลอกแฟ้ม " + nameOf(problem.file) + " ไม่สำเร็จ";
        case ExportProblem::Kind::NameTaken:
            return problem.code + ": แฟ้มชื่อเดียวกันของเพลงอื่นถูกส่งออกไปแล้ว (" + nameOf(problem.file) +
                   ")";
        case ExportProblem::Kind::KarNotMade:
            return problem.code + ": สร้างแฟ้มคาราโอเกะไม่สำเร็จ";
    }
    return problem.code;
}

}  // namespace

std::string closing(ExportForm form, const std::string& folder,
                    const std::vector<CurrentSong>& songs, const ExportReport& report) {
    std::string head;
    if (form != ExportForm::Kar) {
        head = "เพลงที่ท่านเลือก ได้ถูกส่งออกไปยังโฟลเดอร์ ";
    } else if (songs.size() == 1) {
        head = "เพลงที่ท่านเลือก ได้ถูกส่งสร้างเป็นแฟ้มคาราโอเกะ " + songs.front().code() + ".KAR เก็บไว้ที่ ";
    } else {
        head = "เพลงที่ท่านเลือก ได้ถูกส่งสร้างเป็นแฟ้มคาราโอเกะ เก็บไว้ที่ ";
    }
    const std::string where = "\n     " + folder + "\n";
    if (report.complete()) return head + where + "           เรียบร้อยแล้ว...";

    std::string text = head + where + "           ได้ไม่ครบ!\n\n";
    text += form == ExportForm::Kar
                ? "สร้างแฟ้มคาราโอเกะไม่สำเร็จ " +
                      formatCount(static_cast<long long>(report.problems.size())) + " เพลง จาก " +
                      formatCount(static_cast<long long>(report.songs)) + " เพลง"
                : "ส่งออกไม่ได้ " + formatCount(static_cast<long long>(report.problems.size())) +
                      " รายการ";
    const std::size_t shown = std::min(report.problems.size(), kProblemLinesShown);
    for (std::size_t i = 0; i < shown; ++i) text += "\n     " + problemLine(report.problems[i]);
    if (shown < report.problems.size()) {
        text += "\n     และอีก " +
                formatCount(static_cast<long long>(report.problems.size() - shown)) + " รายการ";
    }
    if (form == ExportForm::Kar) {
        text += report.karLog.empty() ? "\n\n(บันทึกรายชื่อเพลงลงแฟ้ม Log ไม่ได้)"
                                      : "\n\nรายชื่อเพลงอยู่ในแฟ้ม\n     " + report.karLog;
    }
    return text;
}

}  // namespace export_text

}  // namespace dadaz
