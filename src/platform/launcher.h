#pragma once

#include <string>
#include <vector>

namespace dadaz {

// Opens documents and starts other programs without waiting for them.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // Opens a file with the desktop's default application.
    virtual bool openDocument(const std::string& path) = 0;
    // Starts a program; `hidden` asks for no window.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& args,
                              bool hidden) = 0;
};

// The real one: xdg-open for documents, posix_spawn for programs.
class SystemLauncher : public Launcher {
  public:
    bool openDocument(const std::string& path) override;
    bool startProgram(const std::string& program, const std::vector<std::string>& args,
                      bool hidden) override;
};

}  // namespace dadaz
