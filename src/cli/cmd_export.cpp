#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/folder_text.h"
#include "library/folder_detection.h"
#include "library/song_paths.h"
#include "operations/song_export.h"
#include "platform/filesystem.h"
#include "songlist/kar_texts.h"

namespace {

using dadaz::ExportForm;

const char* const kUsage =
    "usage: dadaz export [--program-folder DIR] [--midi DIR --lyric DIR --cursor DIR] --to DIR\n"
    "                    (--midi-only | --all [--structure] | --kar) [--] CODE[@VOLUME]...\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "export: %s\n%s", message.c_str(), kUsage);
    return 2;
}

}  // namespace

int cmdExport(int argc, char** argv) {
    dadaz::cli::ExportArguments args;
    std::string error;
    if (!dadaz::cli::parseExportArguments(argc, argv, args, error)) return usageError(error);

    dadaz::FileSystem fs;
    const std::string programFolder = folderText(args.folders.programFolder);
    const dadaz::Folders folders = libraryFolders(fs, programFolder, args.folders);
    const dadaz::SongPaths paths(fs, folders);
    std::vector<dadaz::CurrentSong> songs(args.songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (!songFromArgument(args.songs[i], paths, songs[i], error)) return usageError(error);
    }
    const std::string to = folderText(args.to);
    if (!fs.isFolder(to)) {
        std::fprintf(stderr, "ไม่พบโฟลเดอร์ %s\n", to.c_str());
        return 1;
    }

    const ExportForm form = args.kar         ? ExportForm::Kar
                            : !args.all      ? ExportForm::MidiOnly
                            : args.structure ? ExportForm::AllStructured
                                             : ExportForm::AllFlat;
    dadaz::ExportReport report;
    if (form == ExportForm::Kar) {
        const dadaz::KarConverter converter = dadaz::findKarConverter(fs, programFolder);
        if (!converter.ready()) {
            std::fprintf(stderr, "%s\n", dadaz::kar_text::converterUnavailable(converter).c_str());
            return 1;
        }
        dadaz::KarConversions conversions(converter);
        report = dadaz::convertSongs(conversions, fs, programFolder, paths, songs, to);
    } else {
        report = dadaz::copySongs(fs, paths, songs, to, form);
    }
    const std::string text = dadaz::export_text::closing(form, to, songs, report);
    std::fprintf(report.complete() ? stdout : stderr, "%s\n", text.c_str());
    return report.complete() ? 0 : 1;
}
