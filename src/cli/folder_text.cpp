#include "cli/folder_text.h"

#include <filesystem>

std::string folderText(const std::string& path) {
    std::string text = std::filesystem::absolute(path).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}
