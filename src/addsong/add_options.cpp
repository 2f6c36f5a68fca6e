#include "addsong/add_options.h"

#include <algorithm>

#include "library/song_code.h"
#include "platform/filesystem.h"

namespace dadaz {

namespace {

// Characters of the first file name listed in `folder` less four (its extension); 0 for an
// empty or missing folder.
std::size_t sampleCodeLength(const FileSystem& fs, const std::string& folder) {
    const std::vector<DirEntry> files = fs.listFiles(folder);
    if (files.empty()) return 0;
    const std::size_t length = characterCount(files.front().name);
    return length > 4 ? length - 4 : 0;
}

std::string zerosFor(std::size_t codeLength) {
    return codeLength > 1 ? std::string(codeLength - 1, '0') : std::string();
}

}  // namespace

PatternSuggestion suggestPattern(const FileSystem& fs, const std::string& midiFolder,
                                 AddTarget target, const std::string& manualFolder) {
    PatternSuggestion suggestion;
    if (midiFolder.empty() && target != AddTarget::KeepNames) {
        if (target == AddTarget::Manual) suggestion.prefix = manualFolder;
        return suggestion;  // no library folders yet
    }
    switch (target) {
        case AddTarget::Automatic: {
            std::optional<std::size_t> fewest;
            for (const DirEntry& folder : fs.listFolders(midiFolder)) {
                const std::size_t files = fs.countFiles(joinPath(midiFolder, folder.name));
                if (!fewest || files < *fewest) {
                    fewest = files;
                    suggestion.prefix = folder.name;
                }
            }
            if (suggestion.prefix) {
                suggestion.pattern =
                    zerosFor(sampleCodeLength(fs, joinPath(midiFolder, *suggestion.prefix)));
            }
            break;
        }
        case AddTarget::Manual:
            suggestion.prefix = manualFolder;
            // A typed name that is no plain folder name names no folder to look into.
            if (isSafeCode(manualFolder)) {
                suggestion.pattern =
                    zerosFor(sampleCodeLength(fs, joinPath(midiFolder, manualFolder)));
            }
            break;
        case AddTarget::KeepNames:
            suggestion.prefix = "?";
            break;
    }
    return suggestion;
}

std::string runDigitPattern(bool customPattern, std::string_view patternBox) {
    if (customPattern) return std::string(patternBox);
    std::string zeros(characterCount(patternBox), '0');
    if (zeros.size() < 3) zeros.insert(0, 6, '0');
    return zeros;
}

std::string formatNumber(long long number, std::string_view pattern) {
    std::string digits = std::to_string(number);
    if (digits.size() < pattern.size()) digits.insert(0, pattern.size() - digits.size(), '0');
    return digits;
}

bool isZeroPattern(std::string_view pattern) {
    return std::all_of(pattern.begin(), pattern.end(), [](char c) { return c == '0'; });
}

}  // namespace dadaz
