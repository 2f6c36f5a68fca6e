#pragma once

#include <string>

namespace dadaz::testing {

// A fresh folder under the system's temporary folder, removed with everything in it (also
// read-only files) when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Writes bytes to a file, creating its parent folders.
void writeBytes(const std::string& path, const std::string& bytes);
// Whole file, or "<missing>" when it cannot be read.
std::string readBytes(const std::string& path);

}  // namespace dadaz::testing
