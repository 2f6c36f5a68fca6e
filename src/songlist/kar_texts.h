#pragma once

#include <cstddef>
#include <string>

#include "songlist/kar_converter.h"

namespace dadaz {

// Texts of the KAR form of the song list run and of the converter (UTF-8).
namespace kar_text {

extern const char* const kChoiceKar;
extern const char* const kFolderPickerTitle;
extern const char* const kProgress;
// "โปรแกรมจะสร้างแฟ้มคาราโอเกะ (KAR) ไว้ที่..." with the KAR folder.
std::string confirmFolder(const std::string& karFolder);
// "Kar" under the chosen folder is a file (or cannot be emptied or made).
std::string folderNotUsable(const std::string& karFolder);
// "Kar" is, or holds, a folder of the library or the program folder: it is never emptied.
std::string folderHoldsLibrary(const std::string& karFolder, const std::string& libraryFolder);
// Why the converter cannot be started; empty when it can.
std::string converterUnavailable(const KarConverter& converter);
// The About box's note while the converter waits for wine; empty otherwise.
std::string aboutBoxNote(const KarConverter& converter);
// The end of a KAR run that made every file.
std::string finished(const std::string& karFolder);
// The end of a run that could not make them all: how many are missing and where the log is.
std::string notAllMade(const std::string& karFolder, std::size_t made, std::size_t notMade,
                       const std::string& logPath);
// The paragraph naming the songs without KAR file and the log.
std::string notMadeParagraph(std::size_t notMade, const std::string& logPath);

}  // namespace kar_text
}  // namespace dadaz
