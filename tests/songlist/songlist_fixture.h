#pragma once

// Small song libraries on disk and a run context around them, for the song list tests.

#include <string>
#include <vector>

#include "library/run_context.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace dadaz::testing {

// Lines given in UTF-8, written in code page 874, each ended by CR LF.
inline std::string lyricText(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += utf8ToCp874(line) + "\r\n";
    return bytes;
}

// Writes a song's files under the three song folders; a missing file is left out.
struct SongFiles {
    std::string midiFolder, lyricFolder, cursorFolder;
    void add(const std::string& code, const std::vector<std::string>& lyric, bool midi = true,
             bool cursor = true) const {
        const std::string c = code.substr(0, 1);
        writeBytes(lyricFolder + "/" + c + "/" + code + ".LYR", lyricText(lyric));
        if (midi) writeBytes(midiFolder + "/" + c + "/" + code + ".MID", "MThd");
        if (cursor) writeBytes(cursorFolder + "/" + c + "/" + code + ".CUR", "cursor");
    }
};

class RecordingProgress : public ProgressSink {
  public:
    void progress(long done, long total, const std::string& text) override {
        bars.push_back(progressText(text, done, total));
    }
    void status(const std::string& text) override { labels.push_back(text); }
    std::vector<std::string> bars;
    std::vector<std::string> labels;
};

// A program folder with a separate-folder library in SONG, LYRICS and CURSOR and an existing
// "Invalid Files" folder, plus everything a run needs.
struct LibraryFixture {
    TempDir dir;
    std::string program = dir.path();
    SongFiles songs{program + "/SONG", program + "/LYRICS", program + "/CURSOR"};
    FileSystem fs;
    ScriptedPrompt prompt;
    RecordingProgress progress;
    RecordingLauncher launcher;
    SessionState state;
    RunContext ctx{
        program,
        {program + "/SONG", program + "/LYRICS", program + "/CURSOR", program + "/Invalid Files"},
        fs,
        prompt,
        progress,
        launcher,
        state};

    LibraryFixture() {
        for (const char* folder : {"SONG", "LYRICS", "CURSOR", "Invalid Files"}) {
            fs.createFolder(program + "/" + folder);
        }
    }

    std::string read(const std::string& name) const { return readBytes(program + "/" + name); }
    // The closing message of a run that wrote the database into the program folder, with
    // the DOS drive it used ("C" the program folder, "" none).
    std::string closingMessage(const std::string& drive = "C") const {
        return "สร้างรายการเพลงเสร็จเรียบร้อยแล้ว\n\nบันทึกแฟ้ม List.vk2, Tarn.vk2 ไว้ที่\n     " + program +
               "\nบันทึกแฟ้ม SongList.txt ไว้ที่\n     " + program + drivesParagraph(drive, program);
    }
    static std::string drivesParagraph(const std::string& drive, const std::string& folder) {
        if (drive.empty()) return "";
        return "\n\nที่เก็บแฟ้มในฐานข้อมูลเพลงใช้ไดรฟ์ต่อไปนี้ (mount ใน DOSBox ให้ตรงกัน)\n     " + drive +
               ": = " + folder;
    }
    // A run that could not do everything closes with a warning instead of the plain note.
    void expectClosing(const std::string& message, Answer openList = Answer::No,
                       MessageIcon icon = MessageIcon::Information) {
        prompt.expectAsk(icon, MessageButtons::Ok, message, Answer::Ok);
        prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, "ท่านต้องการเปิดแฟ้มรายการเพลง?",
                         openList);
    }
    void expectClosing() { expectClosing(closingMessage()); }
    void expectCritical(const std::string& message) {
        prompt.expectAsk(MessageIcon::Critical, MessageButtons::Ok, message, Answer::Ok);
    }
};

// The song lines of a SongList.txt (after the note and column lines), in UTF-8.
inline std::vector<std::string> songLines(const std::string& fileBytes) {
    std::vector<std::string> lines = splitLines(fileBytes);
    if (lines.size() >= 2) lines.erase(lines.begin(), lines.begin() + 2);
    for (auto& line : lines) line = cp874ToUtf8(line);
    return lines;
}

// Record `index` of a player database file.
inline std::string record(const std::string& fileBytes, std::size_t index) {
    return fileBytes.substr(index * 256, 256);
}

}  // namespace dadaz::testing
