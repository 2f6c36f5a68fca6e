#include "cli/arguments.h"

#include <cctype>
#include <charconv>

namespace dadaz::cli {

namespace {

enum class EmptyValue { Refused, Accepted };

// The value of the option at argv[i], advancing i past it; false when none follows or it is an
// empty text where one is refused.
bool takeValue(int argc, char** argv, int& i, std::string& into,
               EmptyValue empty = EmptyValue::Refused) {
    if (i + 1 >= argc) return false;
    into = argv[++i];
    return empty == EmptyValue::Accepted || !into.empty();
}

std::string needsValue(const std::string& option) {
    return option + " needs a value";
}

// One argument of a command that also takes the folder options: the folder option if it is one,
// else `other`, which returns false on an unknown argument (having set `error`).
template <typename Other>
bool takeArgument(int argc, char** argv, int& i, FolderOptions& folders, MoveToOption moveTo,
                  std::string& error, Other other) {
    switch (takeFolderOption(argc, argv, i, folders, moveTo, error)) {
        case OptionTaken::Yes:
            return true;
        case OptionTaken::MissingValue:
            return false;
        case OptionTaken::No:
            break;
    }
    return other();
}

}  // namespace

OptionTaken takeFolderOption(int argc, char** argv, int& i, FolderOptions& folders,
                             MoveToOption moveTo, std::string& error) {
    const std::string option = argv[i];
    std::string* value = nullptr;
    if (option == "--program-folder")
        value = &folders.programFolder;
    else if (option == "--midi")
        value = &folders.midi;
    else if (option == "--lyric")
        value = &folders.lyric;
    else if (option == "--cursor")
        value = &folders.cursor;
    else if (option == "--move-to" && moveTo == MoveToOption::Accepted)
        value = &folders.moveTo;
    if (!value) return OptionTaken::No;
    if (!takeValue(argc, argv, i, *value)) {
        error = needsValue(option);
        return OptionTaken::MissingValue;
    }
    return OptionTaken::Yes;
}

bool checkFolderOptions(const FolderOptions& folders, std::string& error) {
    const bool some = !folders.midi.empty() || !folders.lyric.empty() || !folders.cursor.empty();
    if (some && (folders.midi.empty() || folders.lyric.empty() || folders.cursor.empty())) {
        error = "--midi, --lyric and --cursor go together";
        return false;
    }
    return true;
}

bool parseRemovalArguments(int argc, char** argv, RemovalArguments& args, std::string& error) {
    bool songsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (songsOnly || !arg.starts_with("--")) {
            args.songs.push_back(arg);
            continue;
        }
        const bool known =
            takeArgument(argc, argv, i, args.folders, MoveToOption::Accepted, error, [&] {
                if (arg == "--")
                    songsOnly = true;
                else if (arg == "--yes")
                    args.yes = true;
                else
                    error = "unknown option " + arg;
                return error.empty();
            });
        if (!known) return false;
    }
    if (!checkFolderOptions(args.folders, error)) return false;
    if (args.songs.empty()) error = "no song given";
    return error.empty();
}

bool parseExportArguments(int argc, char** argv, ExportArguments& args, std::string& error) {
    bool songsOnly = false;
    int forms = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (songsOnly || !arg.starts_with("--")) {
            args.songs.push_back(arg);
            continue;
        }
        const bool known =
            takeArgument(argc, argv, i, args.folders, MoveToOption::Refused, error, [&] {
                if (arg == "--") {
                    songsOnly = true;
                } else if (arg == "--midi-only") {
                    ++forms;
                } else if (arg == "--all") {
                    ++forms;
                    args.all = true;
                } else if (arg == "--kar") {
                    ++forms;
                    args.kar = true;
                } else if (arg == "--structure") {
                    args.structure = true;
                } else if (arg == "--to") {
                    if (!takeValue(argc, argv, i, args.to)) error = needsValue(arg);
                } else {
                    error = "unknown option " + arg;
                }
                return error.empty();
            });
        if (!known) return false;
    }
    if (!checkFolderOptions(args.folders, error)) return false;
    if (args.to.empty())
        error = "--to DIR is needed";
    else if (forms != 1)
        error = "choose one of --midi-only, --all and --kar";
    else if (args.structure && !args.all)
        error = "--structure goes with --all";
    else if (args.songs.empty())
        error = "no song given";
    return error.empty();
}

bool parseDuplicatesArguments(int argc, char** argv, DuplicatesArguments& args,
                              std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool known =
            takeArgument(argc, argv, i, args.folders, MoveToOption::Refused, error, [&] {
                if (arg == "--yes") {
                    args.yes = true;
                } else if (arg == "--rebuild") {
                    args.rebuild = true;
                } else if (arg == "--delete" || arg == "--move") {
                    if (args.remove) error = "--delete and --move exclude each other";
                    args.remove = true;
                    args.move = arg == "--move";
                } else if (arg == "--by" || arg == "--selection") {
                    if (!takeValue(argc, argv, i, arg == "--by" ? args.by : args.selection))
                        error = needsValue(arg);
                } else {
                    error = "unknown argument " + arg;
                }
                return error.empty();
            });
        if (!known) return false;
    }
    if (!checkFolderOptions(args.folders, error)) return false;
    if (args.by.empty()) error = "--by is needed";
    return error.empty();
}

bool parseAddArguments(int argc, char** argv, AddArguments& args, std::string& error) {
    bool prefixGiven = false, patternGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool known =
            takeArgument(argc, argv, i, args.folders, MoveToOption::Accepted, error, [&] {
                bool ok = true;
                if (arg == "--yes")
                    args.yes = true;
                else if (arg == "--songlist")
                    args.songList = true;
                else if (arg == "--source")
                    ok = takeValue(argc, argv, i, args.source);
                else if (arg == "--target")
                    ok = takeValue(argc, argv, i, args.target);
                // A custom name may have no prefix, or a pattern the run then refuses.
                else if (arg == "--prefix")
                    ok = prefixGiven = takeValue(argc, argv, i, args.prefix, EmptyValue::Accepted);
                else if (arg == "--pattern")
                    ok = patternGiven =
                        takeValue(argc, argv, i, args.pattern, EmptyValue::Accepted);
                else
                    error = "unknown argument " + arg;
                if (!ok) error = needsValue(arg);
                return error.empty();
            });
        if (!known) return false;
    }
    args.custom = prefixGiven;
    if (prefixGiven != patternGiven) error = "--prefix and --pattern go together";
    return error.empty() && checkFolderOptions(args.folders, error);
}

bool parseRenumberArguments(int argc, char** argv, RenumberArguments& args, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool known =
            takeArgument(argc, argv, i, args.folders, MoveToOption::Accepted, error, [&] {
                bool ok = true;
                if (arg == "--yes") {
                    args.yes = true;
                } else if (arg == "--dry-run") {
                    args.dryRun = true;
                } else if (arg == "--folder-after") {
                    args.folderAfter = true;
                } else if (arg == "--digits") {
                    ok = args.digitsGiven = takeValue(argc, argv, i, args.digits);
                } else if (arg == "--pattern") {
                    ok = args.patternGiven = takeValue(argc, argv, i, args.pattern);
                } else if (arg == "--leave") {
                    ok = args.leaveGiven = takeValue(argc, argv, i, args.leave);
                } else {
                    error = "unknown argument " + arg;
                }
                if (!ok) error = needsValue(arg);
                return error.empty();
            });
        if (!known) return false;
    }
    if (!checkFolderOptions(args.folders, error)) return false;
    if (args.patternGiven && args.leaveGiven)
        error = "--pattern and --leave exclude each other";
    else if (!args.patternGiven && args.folderAfter)
        error = "--folder-after goes with --pattern";
    else if (args.patternGiven && args.digitsGiven)
        error = "--pattern sets the digit count; leave out --digits";
    return error.empty();
}

bool parseSonglistArguments(int argc, char** argv, SonglistArguments& args, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool known =
            takeArgument(argc, argv, i, args.folders, MoveToOption::Accepted, error, [&] {
                bool ok = true;
                if (arg == "--check") {
                    args.check = true;
                } else if (arg == "--own-list") {
                    args.ownList = true;
                } else if (arg == "--kar") {
                    ok = takeValue(argc, argv, i, args.karFolder);
                } else if (arg == "--db-folder") {
                    ok = takeValue(argc, argv, i, args.databaseFolder);
                } else if (arg == "--dos-drive") {
                    ok = takeValue(argc, argv, i, args.driveSpecs.emplace_back());
                } else {
                    error = "unknown argument " + arg;
                }
                if (!ok) error = needsValue(arg);
                return error.empty();
            });
        if (!known) return false;
    }
    if (!checkFolderOptions(args.folders, error)) return false;
    if (!args.karFolder.empty() &&
        (args.ownList || !args.databaseFolder.empty() || !args.driveSpecs.empty()))
        error = "--kar makes no list: --own-list, --db-folder and --dos-drive do not go with it";
    return error.empty();
}

namespace {

// "--" and a letter: an option's name. Anything else is text to search for.
bool isOptionLike(const std::string& arg) {
    return arg.size() > 2 && arg.starts_with("--") &&
           std::isalpha(static_cast<unsigned char>(arg[2]));
}

// A whole decimal number of at least 1, and nothing after it.
bool parsePositiveCount(const std::string& text, long& count) {
    const char* end = text.data() + text.size();
    const auto [stop, fault] = std::from_chars(text.data(), end, count);
    return fault == std::errc() && stop == end && count >= 1;
}

}  // namespace

bool parseSearchArguments(int argc, char** argv, SearchArguments& args, std::string& error) {
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (!isOptionLike(arg)) break;
        std::string value;
        if (arg == "--program-folder") {
            if (!takeValue(argc, argv, i, args.programFolder)) error = needsValue(arg);
        } else if (arg == "--repeat") {
            if (!takeValue(argc, argv, i, value, EmptyValue::Accepted))
                error = needsValue(arg);
            else if (!parsePositiveCount(value, args.repeat))
                error = "--repeat takes a count of at least 1";
        } else if (arg == "--all") {
            args.all = true;
        } else if (arg == "--lyric") {
            args.lyric = true;
        } else {
            error = "unknown option " + arg + " (a query that looks like an option follows --)";
        }
        if (!error.empty()) return false;
    }
    if (i == argc) {
        error = "QUERY is missing (\"\" lists the first page)";
        return false;
    }
    args.query = argv[i++];
    if (i < argc) {
        error = std::string("one QUERY only; ") + argv[i] + " follows it";
    } else if (args.all && args.lyric) {
        error = "--all and --lyric exclude each other";
    }
    return error.empty();
}

}  // namespace dadaz::cli
