#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "library/run_context.h"
#include "library/song_paths.h"
#include "songlist/kar_converter.h"

namespace dadaz {

// The KAR form of the song list run: a karaoke file for every valid song, made by the
// outside converter into {chosen folder}/Kar/{c}/{code}.KAR.
class KarRun {
  public:
    // `presetFolder`: the folder chosen in advance (the command-line tool); no picker and no
    // question then.
    KarRun(RunContext& ctx, std::string presetFolder);
    ~KarRun();

    // Chooses the folder, asks, and empties "Kar" under it (only that folder; refused when
    // "Kar" is not a folder). False when the run ends here; the reason is in message().
    bool prepare();
    // Queues the conversion of a valid triple; never waits for it.
    void convert(const SongPaths& paths, const LyricFolder& folder, const std::string& lyricName);
    // A song the scan could not use (its lyric file unreadable): no KAR file, counted and
    // logged as not written.
    void notConvertible(const std::string& lyricName);
    // Waits for every conversion (the stop button drops those not yet started) and, unless
    // stopped, removes the converter's work files and tells the user how it went.
    KarOutcome finish(bool stopped);

    const std::string& karFolder() const { return karFolder_; }
    const std::string& logPath() const { return logPath_; }
    const std::string& message() const { return message_; }

  private:
    void critical(const std::string& text);

    RunContext& ctx_;
    std::string presetFolder_;
    std::string karFolder_;
    std::string logPath_;
    std::string message_;
    std::unique_ptr<KarConversions> conversions_;
    std::set<std::string> madeFolders_;  // first-character folders known to exist
    std::set<std::string> outputs_;      // upper-cased output files asked for so far
};

}  // namespace dadaz
