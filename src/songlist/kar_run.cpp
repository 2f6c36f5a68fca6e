#include "songlist/kar_run.h"

#include <unistd.h>
#include <utility>

#include "library/song_code.h"
#include "platform/filesystem.h"
#include "songlist/kar_texts.h"

namespace dadaz {

KarRun::KarRun(RunContext& ctx, std::string presetFolder)
    : ctx_(ctx), presetFolder_(std::move(presetFolder)) {}

KarRun::~KarRun() = default;

void KarRun::critical(const std::string& text) {
    message_ = text;
    ctx_.prompt.ask(MessageIcon::Critical, MessageButtons::Ok, text);
}

bool KarRun::prepare() {
    const KarConverter converter = findKarConverter(ctx_.fs, ctx_.programFolder);
    if (!converter.ready()) {
        critical(kar_text::converterUnavailable(converter));
        return false;
    }
    std::string chosen = presetFolder_;
    if (chosen.empty()) {
        chosen = ctx_.prompt.pickFolder(ctx_.programFolder, kar_text::kFolderPickerTitle);
        if (chosen.empty()) chosen = ctx_.programFolder;
        const std::string asked = joinPath(chosen, "Kar");
        if (ctx_.prompt.ask(MessageIcon::Question, MessageButtons::YesNo,
                            kar_text::confirmFolder(asked)) != Answer::Yes) {
            return false;
        }
    }
    // Only "Kar" under the chosen folder goes, never the folder itself; a file of that name
    // is the user's and stays.
    const std::string kar = joinPath(chosen, "Kar");
    // Emptying "Kar" must never take the library or the program folder with it.
    const Folders& library = ctx_.folders;
    for (const std::string* folder : {&std::as_const(ctx_.programFolder), &library.midi,
                                      &library.lyric, &library.cursor, &library.moveTo}) {
        if (!folder->empty() && ctx_.fs.isFolder(kar) && ctx_.fs.leadsInside(*folder, kar)) {
            critical(kar_text::folderHoldsLibrary(kar, *folder));
            return false;
        }
    }
    if (ctx_.fs.exists(kar) && (!ctx_.fs.isFolder(kar) || !ctx_.fs.deleteTree(kar))) {
        critical(kar_text::folderNotUsable(kar));
        return false;
    }
    if (!ctx_.fs.isFolder(chosen) || !ctx_.fs.createFolder(kar)) {
        critical(kar_text::folderNotUsable(kar));
        return false;
    }
    karFolder_ = ctx_.fs.resolve(kar).value_or(kar);
    conversions_ = std::make_unique<KarConversions>(converter);
    return true;
}

void KarRun::convert(const SongPaths& paths, const LyricFolder& folder,
                     const std::string& lyricName) {
    const std::string code = codeFromFileName(lyricName);
    const std::string first = firstCharacterFolder(lyricName);
    const std::string outputFolder = joinPath(karFolder_, first);
    KarJob job{code, paths.findPartner(SongFileKind::Midi, folder, code).value_or(""),
               joinPath(folder.path, lyricName),
               paths.findPartner(SongFileKind::Cursor, folder, code).value_or(""),
               joinPath(outputFolder, code + ".KAR")};
    if (!madeFolders_.contains(first)) {
        if (ctx_.fs.isFolder(outputFolder) || ctx_.fs.createFolder(outputFolder))
            madeFolders_.insert(first);
    }
    // Songs of one code in two volumes would have two conversions write one file at once:
    // the first one makes it, the other is reported as not made.
    const bool outputTaken = !outputs_.insert(upperAscii(job.output)).second;
    if (job.midi.empty() || job.cursor.empty() || !madeFolders_.contains(first) || outputTaken) {
        conversions_->addFailed(std::move(job));
        return;
    }
    conversions_->add(std::move(job));
}

void KarRun::notConvertible(const std::string& lyricName) {
    const std::string code = codeFromFileName(lyricName);
    // A name that cannot serve as a code names no output file.
    const std::string output =
        isSafeCode(code)
            ? joinPath(joinPath(karFolder_, firstCharacterFolder(lyricName)), code + ".KAR")
            : std::string();
    conversions_->addFailed({code, {}, {}, {}, output});
}

KarOutcome KarRun::finish(bool stopped) {
    KarOutcome outcome = conversions_->finish([&](std::size_t done, std::size_t total) {
        ctx_.progress.progress(static_cast<long>(done), static_cast<long>(total),
                               kar_text::kProgress);
        ctx_.pumpEvents();
        return !ctx_.state.stopRequested.load();
    });
    if (stopped || outcome.dropped > 0) return outcome;
    // The converter leaves its work files in the program folder; they are ours to remove
    // only now that it no longer runs.
    ctx_.fs.forgetIndexes();
    for (const char* name : {"temp.txt", "track2.txt"}) {
        ::unlink(joinPath(ctx_.programFolder, name).c_str());  // a clean-up, like a temporary
    }
    if (outcome.notWritten.empty()) {
        message_ = kar_text::finished(karFolder_);
        ctx_.prompt.inform(message_);
    } else {
        logPath_ = writeKarLog(ctx_.fs, ctx_.programFolder, outcome.notWritten,
                               std::chrono::system_clock::now());
        message_ =
            kar_text::notAllMade(karFolder_, outcome.written, outcome.notWritten.size(), logPath_);
        ctx_.prompt.ask(MessageIcon::Exclamation, MessageButtons::Ok, message_);
    }
    return outcome;
}

}  // namespace dadaz
