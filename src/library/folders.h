#pragma once

#include <string>

namespace dadaz {

// The four library folders as the folder boxes hold them when a run starts (no trailing "/").
struct Folders {
    std::string midi;
    std::string lyric;
    std::string cursor;
    std::string moveTo;
};

}  // namespace dadaz
