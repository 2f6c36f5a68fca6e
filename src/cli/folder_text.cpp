#include "cli/folder_text.h"

#include <filesystem>

#include "library/folder_detection.h"
#include "library/song_paths.h"
#include "platform/filesystem.h"

std::string folderText(const std::string& path) {
    std::string text = std::filesystem::absolute(path).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

dadaz::Folders libraryFolders(dadaz::FileSystem& fs, const std::string& programFolder,
                              const dadaz::cli::FolderOptions& given) {
    dadaz::Folders folders;
    if (!given.midi.empty())
        folders = {folderText(given.midi), folderText(given.lyric), folderText(given.cursor),
                   programFolder + "/Invalid Files"};
    else
        folders = dadaz::detectFolders(fs, programFolder).folders;
    if (!given.moveTo.empty()) folders.moveTo = folderText(given.moveTo);
    return folders;
}

bool songFromArgument(const std::string& text, const dadaz::SongPaths& paths,
                      dadaz::CurrentSong& song, std::string& error) {
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
