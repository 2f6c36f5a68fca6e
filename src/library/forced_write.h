#pragma once

#include <string_view>

namespace dadaz {

class FileSystem;

// Replaces a file as FileSystem::writeFileAtomic does (new file written beside, renamed over
// the old one when complete), also when the old file is read-only: files the program owns
// (song list, player database) and lyric fixes are replaced whatever their mark. When the
// write fails the old file stays whole and keeps its mark.
bool writeFileForced(FileSystem& fs, std::string_view path, std::string_view bytes);

}  // namespace dadaz
