#pragma once

#include <string>
#include <vector>

#include "generator/random.h"

namespace dadaz::gen {

// Makes the text of lyric files: Thai and Latin titles, artists, keys, remarks and lyric lines,
// all in code page 874 bytes. The vocabulary is converted once, so making 100,000 lyric files
// costs no conversion per song.
class SongTextMaker {
  public:
    SongTextMaker();

    // A title without remark: Thai words (leading vowels, tone marks, now and then Thai
    // digits) or Latin words in title case, upper case or lower case.
    std::string title(Random& r, bool thai) const;
    // A remark with its brackets: "(...)", "[...]" and rarely "{...}".
    std::string remark(Random& r, bool thai) const;
    std::string artist(Random& r, bool thai) const;
    std::string key(Random& r) const;
    // One lyric display line.
    std::string lyricLine(Random& r, bool thai) const;
    // A short non-empty text for the rare fourth lines that hold something.
    std::string fourthLineText(Random& r) const;
    // The same title spelled in another letter case (Latin letters only change).
    static std::string recase(const std::string& title, Random& r);

  private:
    std::vector<std::string> thaiWords_;
    std::vector<std::string> thaiRemarks_;
    std::vector<std::string> thaiGivenNames_;
    std::vector<std::string> thaiFamilyNames_;
    std::vector<std::string> thaiBandWords_;
    std::vector<std::string> thaiDigits_;
    std::string thaiRepeat_;  // the repetition mark after a doubled word
};

}  // namespace dadaz::gen
