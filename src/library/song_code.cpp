#include "library/song_code.h"

#include "platform/filesystem.h"

namespace dadaz {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte length of the first character of `text`.
std::size_t firstCharacterLength(std::string_view text) {
    std::size_t length = text.empty() ? 0 : 1;
    while (length < text.size() && isContinuationByte(text[length])) ++length;
    return length;
}

}  // namespace

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if (!isContinuationByte(c)) ++count;
    }
    return count;
}

std::string dropLastCharacters(std::string_view text, std::size_t count) {
    std::size_t end = text.size();
    while (count > 0 && end > 0) {
        --end;
        while (end > 0 && isContinuationByte(text[end])) --end;
        --count;
    }
    return std::string(text.substr(0, end));
}

std::string codeFromFileName(std::string_view fileName) {
    return dropLastCharacters(fileName, 4);
}

bool hasExtension(std::string_view fileName, std::string_view extension) {
    if (fileName.size() < extension.size()) return false;
    return upperAscii(fileName.substr(fileName.size() - extension.size())) == extension;
}

bool isSafeCode(std::string_view code) {
    if (code.empty() || code.front() == '.') return false;
    if (code.find("..") != std::string_view::npos) return false;
    for (char c : code) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
        if (c == '/' || c == '\\' || c == '*' || c == '?') return false;
    }
    return true;
}

bool fitsPlayerDatabase(std::string_view code) {
    return !code.empty() && characterCount(code) <= kPlayerCodeLength;
}

std::string firstCharacterFolder(std::string_view code) {
    return std::string(code.substr(0, firstCharacterLength(code)));
}

}  // namespace dadaz
