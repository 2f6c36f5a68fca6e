#include "cli/folder_text.h"

#include <filesystem>

#include "library/folder_detection.h"

std::string folderText(const std::string& path) {
    std::string text = std::filesystem::absolute(path).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

dadaz::Folders libraryFolders(dadaz::FileSystem& fs, const std::string& programFolder,
                              const std::string& midi, const std::string& lyric,
                              const std::string& cursor, const std::string& moveTo) {
    dadaz::Folders folders;
    if (!midi.empty())
        folders = {folderText(midi), folderText(lyric), folderText(cursor),
                   programFolder + "/Invalid Files"};
    else
        folders = dadaz::detectFolders(fs, programFolder).folders;
    if (!moveTo.empty()) folders.moveTo = folderText(moveTo);
    return folders;
}
