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

struct Arguments {
    std::string programFolder = ".";
    std::string midi, lyric, cursor, to;
    int forms = 0;
    bool all = false, structure = false, kar = false;
    std::vector<std::string> songs;
};

bool parse(int argc, char** argv, Arguments& args, std::string& error) {
    bool songsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (songsOnly || !arg.starts_with("--")) {
            args.songs.push_back(arg);
            continue;
        }
        std::string* value = nullptr;
        if (arg == "--") {
            songsOnly = true;
        } else if (arg == "--midi-only") {
            ++args.forms;
        } else if (arg == "--all") {
            ++args.forms;
            args.all = true;
        } else if (arg == "--kar") {
            ++args.forms;
            args.kar = true;
        } else if (arg == "--structure") {
            args.structure = true;
        } else if (arg == "--program-folder") {
            value = &args.programFolder;
        } else if (arg == "--midi") {
            value = &args.midi;
        } else if (arg == "--lyric") {
            value = &args.lyric;
        } else if (arg == "--cursor") {
            value = &args.cursor;
        } else if (arg == "--to") {
            value = &args.to;
        } else {
            error = "unknown option " + arg;
            return false;
        }
        if (!value) continue;
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = arg + " needs a value";
            return false;
        }
        *value = argv[++i];
    }
    const bool someFolders = !args.midi.empty() || !args.lyric.empty() || !args.cursor.empty();
    if (someFolders && (args.midi.empty() || args.lyric.empty() || args.cursor.empty())) {
        error = "--midi, --lyric and --cursor go together";
    } else if (args.to.empty()) {
        error = "--to DIR is needed";
    } else if (args.forms != 1) {
        error = "choose one of --midi-only, --all and --kar";
    } else if (args.structure && !args.all) {
        error = "--structure goes with --all";
    } else if (args.songs.empty()) {
        error = "no song given";
    }
    return error.empty();
}

// CODE[@VOLUME]: the volume by its name under the root, or by its path.
bool songOf(const std::string& text, const dadaz::SongPaths& paths, dadaz::CurrentSong& song,
            std::string& error) {
    const auto at = text.find('@');
    const std::string code = text.substr(0, at);
    if (!paths.multiFolder()) {
        if (at != std::string::npos)
            error = text + ": a volume is only for the multi-folder layout";
        song = {code, {}};
        return at == std::string::npos;
    }
    if (at == std::string::npos || at + 1 == text.size()) {
        error = text + ": the multi-folder layout needs CODE@VOLUME";
        return false;
    }
    const std::string volume = text.substr(at + 1);
    song = {code, volume.find('/') != std::string::npos
                      ? folderText(volume)
                      : dadaz::joinPath(folderText(paths.root()), volume)};
    return true;
}

}  // namespace

int cmdExport(int argc, char** argv) {
    Arguments args;
    std::string error;
    if (!parse(argc, argv, args, error)) return usageError(error);

    dadaz::FileSystem fs;
    const std::string programFolder = folderText(args.programFolder);
    const dadaz::Folders folders =
        libraryFolders(fs, programFolder, args.midi, args.lyric, args.cursor);
    const dadaz::SongPaths paths(fs, folders);
    std::vector<dadaz::CurrentSong> songs(args.songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (!songOf(args.songs[i], paths, songs[i], error)) return usageError(error);
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
