#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dadaz {

class FileSystem;

// The outside program that makes a karaoke (.KAR) file from a song's three files. The user
// puts it into the program folder; we only start it.
struct KarConverter {
    enum class State {
        Missing,      // no "MakeKar.exe" in the program folder
        NeedsWine,    // a Windows program, and no wine (or winepath) on the PATH
        NotRunnable,  // neither a Windows program nor an executable file
        Ready,
    };
    State state = State::Missing;
    std::string program;  // its real path
    bool windowsProgram = false;
    std::string wine;      // Windows program only
    std::string winepath;  // Windows program only

    bool ready() const { return state == State::Ready; }
};

extern const char* const kKarConverterName;  // "MakeKar.exe"

// Looks for "MakeKar.exe" (any letter case) in the program folder: a file that starts with
// "MZ" runs through wine, any other executable file directly.
KarConverter findKarConverter(const FileSystem& fs, const std::string& programFolder);

// One conversion, real paths: the converter gets them in this order, MIDI, lyric, cursor,
// output.
struct KarJob {
    std::string code;
    std::string midi, lyric, cursor, output;
};

struct KarOutcome {
    std::size_t written = 0;
    std::vector<KarJob> notWritten;  // in the order the jobs were added
    std::size_t dropped = 0;         // never started: the run was stopped

    bool complete() const { return notWritten.empty() && dropped == 0; }
};

// Conversions of one run: at most `maxRunning` converters at once (by default one per core),
// each waited for; a KAR file counts as written when the converter ended well and the file
// is there and not empty. A file a failed conversion left behind is removed, unless it was
// there before the conversion started.
class KarConversions {
  public:
    explicit KarConversions(KarConverter converter, unsigned maxRunning = 0);
    // Drops the conversions not yet started and waits for the running ones.
    ~KarConversions();
    KarConversions(const KarConversions&) = delete;
    KarConversions& operator=(const KarConversions&) = delete;

    // Queues a conversion; never waits.
    void add(KarJob job);
    // A song that cannot be converted at all (a file missing, no output folder).
    void addFailed(KarJob job);
    // Waits for every conversion. `onWait` runs on the calling thread about every 16 ms with
    // the conversions finished and the conversions asked for; returning false drops the ones
    // not yet started (the running ones are still waited for).
    KarOutcome finish(const std::function<bool(std::size_t done, std::size_t total)>& onWait);

    // The argument list a conversion starts with; `windowsPath` gives wine's form of a path.
    static std::vector<std::string> command(
        const KarConverter& converter, const KarJob& job,
        const std::function<std::string(const std::string&)>& windowsPath);

  private:
    struct Queued {
        std::size_t index;
        KarJob job;
        bool outputExisted;
    };
    void work();
    bool convert(const Queued& queued);
    std::string windowsPath(const std::string& path);

    KarConverter converter_;
    unsigned maxRunning_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Queued> queue_;
    std::vector<std::thread> workers_;
    std::size_t asked_ = 0;
    std::size_t finished_ = 0;
    unsigned idle_ = 0;
    bool closed_ = false;
    std::map<std::size_t, KarJob> failed_;
    std::size_t written_ = 0;
    std::size_t dropped_ = 0;
    std::map<std::string, std::string> windowsFolders_;  // wine's form of each folder
};

// Writes the songs whose KAR file was not made into "Log/KAR{DDMMYYYYHHNN}.txt" under the
// program folder (code and output file, one song a line). Returns its path; empty when it
// could not be written.
std::string writeKarLog(FileSystem& fs, const std::string& programFolder,
                        const std::vector<KarJob>& notWritten,
                        std::chrono::system_clock::time_point when);

}  // namespace dadaz
