#pragma once

#include <cstdint>
#include <string>

namespace dadaz {

// Where a long run reports its progress. The window draws the bar; the command-line tool
// prints a line now and then; tests record or ignore it.
class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    // done of total, with the run's text ("สร้างรายการเพลง ") drawn before the percentage.
    virtual void progress(long done, long total, const std::string& text) = 0;
    // The label under the bar (current song, counts, elapsed time).
    virtual void status(const std::string& text) = 0;
    // The bar's fill colour for the part of the run that follows, as 0xRRGGBB (the
    // colour values of the old program, &HBBGGRR, have their bytes the other way round).
    virtual void barColour(std::uint32_t rgb) { (void)rgb; }
};

class NullProgress : public ProgressSink {
  public:
    void progress(long, long, const std::string&) override {}
    void status(const std::string&) override {}
};

// "#,##0": 12345 gives "12,345".
std::string formatCount(long long value);
// The whole percentage of done / total as the progress bars show it ("text NN %").
std::string progressText(const std::string& text, long done, long total);

}  // namespace dadaz
