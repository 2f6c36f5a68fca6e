// Command lines of any bytes (arguments separated by NUL, the first byte choosing the command):
// what is accepted has all three library folders or none and no empty value, and written out
// again as a command line it reads back the same.
#include <cstdint>
#include <functional>

#include "cli/arguments.h"
#include "fuzz_support.h"

using namespace dadaz;
using namespace dadaz::cli;

namespace {

using Line = std::vector<std::string>;

void addValue(Line& line, const char* option, const std::string& value) {
    if (!value.empty()) line.insert(line.end(), {option, value});
}

void addFlag(Line& line, const char* option, bool set) {
    if (set) line.push_back(option);
}

Line folderLine(const FolderOptions& f) {
    std::string error;
    FUZZ_CHECK(checkFolderOptions(f, error));
    FUZZ_CHECK(!f.programFolder.empty());
    Line line{"--program-folder", f.programFolder};
    addValue(line, "--midi", f.midi);
    addValue(line, "--lyric", f.lyric);
    addValue(line, "--cursor", f.cursor);
    addValue(line, "--move-to", f.moveTo);
    return line;
}

void addSongs(Line& line, const std::vector<std::string>& songs) {
    FUZZ_CHECK(!songs.empty());
    line.push_back("--");
    line.insert(line.end(), songs.begin(), songs.end());
}

// Each command: its reader, and the command line that gives back what it read (empty when the
// reader refused).
struct Command {
    std::function<bool(int, char**, std::string&, Line&)> read;
};

template <typename Arguments>
Command command(bool (*parse)(int, char**, Arguments&, std::string&),
                Line (*write)(const Arguments&)) {
    return {[parse, write](int argc, char** argv, std::string& error, Line& canonical) {
        Arguments args;
        if (!parse(argc, argv, args, error)) return false;
        canonical = write(args);
        return true;
    }};
}

Line removalLine(const RemovalArguments& a) {
    Line line = folderLine(a.folders);
    addFlag(line, "--yes", a.yes);
    addSongs(line, a.songs);
    return line;
}

Line exportLine(const ExportArguments& a) {
    FUZZ_CHECK(a.folders.moveTo.empty() && !a.to.empty() && !(a.all && a.kar));
    FUZZ_CHECK(!a.structure || a.all);
    Line line = folderLine(a.folders);
    line.insert(line.end(), {"--to", a.to});
    line.push_back(a.kar ? "--kar" : a.all ? "--all" : "--midi-only");
    addFlag(line, "--structure", a.structure);
    addSongs(line, a.songs);
    return line;
}

Line duplicatesLine(const DuplicatesArguments& a) {
    FUZZ_CHECK(a.folders.moveTo.empty() && !a.by.empty() && (a.remove || !a.move));
    Line line = folderLine(a.folders);
    line.insert(line.end(), {"--by", a.by});
    addValue(line, "--selection", a.selection);
    if (a.remove) line.push_back(a.move ? "--move" : "--delete");
    addFlag(line, "--yes", a.yes);
    addFlag(line, "--rebuild", a.rebuild);
    return line;
}

Line addLine(const AddArguments& a) {
    FUZZ_CHECK(!a.target.empty());
    Line line = folderLine(a.folders);
    addValue(line, "--source", a.source);
    line.insert(line.end(), {"--target", a.target});
    if (a.custom) line.insert(line.end(), {"--prefix", a.prefix, "--pattern", a.pattern});
    addFlag(line, "--yes", a.yes);
    addFlag(line, "--songlist", a.songList);
    return line;
}

Line renumberLine(const RenumberArguments& a) {
    FUZZ_CHECK(!(a.patternGiven && (a.leaveGiven || a.digitsGiven)));
    FUZZ_CHECK(a.patternGiven || !a.folderAfter);
    Line line = folderLine(a.folders);
    if (a.digitsGiven) line.insert(line.end(), {"--digits", a.digits});
    if (a.patternGiven) line.insert(line.end(), {"--pattern", a.pattern});
    if (a.leaveGiven) line.insert(line.end(), {"--leave", a.leave});
    addFlag(line, "--folder-after", a.folderAfter);
    addFlag(line, "--yes", a.yes);
    addFlag(line, "--dry-run", a.dryRun);
    for (const std::string* value : {&a.digits, &a.pattern, &a.leave})
        FUZZ_CHECK(value->empty() == (value == &a.digits    ? !a.digitsGiven
                                      : value == &a.pattern ? !a.patternGiven
                                                            : !a.leaveGiven));
    return line;
}

Line songlistLine(const SonglistArguments& a) {
    FUZZ_CHECK(a.karFolder.empty() ||
               (!a.ownList && a.databaseFolder.empty() && a.driveSpecs.empty()));
    Line line = folderLine(a.folders);
    addValue(line, "--kar", a.karFolder);
    addValue(line, "--db-folder", a.databaseFolder);
    addFlag(line, "--check", a.check);
    addFlag(line, "--own-list", a.ownList);
    for (const std::string& spec : a.driveSpecs) {
        FUZZ_CHECK(!spec.empty());
        line.insert(line.end(), {"--dos-drive", spec});
    }
    return line;
}

Line searchLine(const SearchArguments& a) {
    FUZZ_CHECK(!a.programFolder.empty() && !(a.all && a.lyric) && a.repeat >= 0);
    Line line{"--program-folder", a.programFolder};
    addFlag(line, "--all", a.all);
    addFlag(line, "--lyric", a.lyric);
    if (a.repeat > 0) line.insert(line.end(), {"--repeat", std::to_string(a.repeat)});
    line.insert(line.end(), {"--", a.query});
    return line;
}

const Command kCommands[] = {
    command(parseSearchArguments, searchLine),
    command(parseRemovalArguments, removalLine),
    command(parseExportArguments, exportLine),
    command(parseDuplicatesArguments, duplicatesLine),
    command(parseAddArguments, addLine),
    command(parseRenumberArguments, renumberLine),
    command(parseSonglistArguments, songlistLine),
};

// Runs a reader on a command line (the command's name first, as main() hands it over).
bool read(const Command& c, const Line& args, std::string& error, Line& canonical) {
    std::vector<std::string> owned{"command"};
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : owned) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return c.read(static_cast<int>(owned.size()), argv.data(), error, canonical);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const Command& c = kCommands[data[0] % std::size(kCommands)];
    Line args;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (std::size_t at = 0; at <= rest.size();) {
        const std::size_t end = std::min(rest.find('\0', at), rest.size());
        args.emplace_back(rest.substr(at, end - at));
        at = end + 1;
    }
    std::string error;
    Line canonical;
    if (!read(c, args, error, canonical)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(error.empty());
    if (&c == &kCommands[0]) {
        // Every count given to --repeat before the query is a whole number, nothing more.
        for (std::size_t i = 0; i + 1 < args.size() && args[i] != "--"; ++i) {
            if (args[i] == "--program-folder")
                ++i;
            else if (args[i] == "--repeat")
                FUZZ_CHECK(args[++i].find_first_not_of("0123456789") == std::string::npos);
            else if (!args[i].starts_with("--"))
                break;
        }
    }
    Line again;
    FUZZ_CHECK(read(c, canonical, error, again) && again == canonical);
    return 0;
}
