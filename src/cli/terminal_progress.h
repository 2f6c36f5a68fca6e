#pragma once

#include <cstdio>
#include <string>

#include "platform/progress.h"

// Progress on a terminal: one line on the error output, rewritten only when it changes.
class TerminalProgress : public dadaz::ProgressSink {
  public:
    void progress(long done, long total, const std::string& text) override {
        const std::string line = dadaz::progressText(text, done, total);
        if (line == last_) return;
        last_ = line;
        std::fprintf(stderr, "\r%s   ", line.c_str());
        std::fflush(stderr);
    }
    void status(const std::string&) override {}
    ~TerminalProgress() override {
        if (!last_.empty()) std::fprintf(stderr, "\n");
    }

  private:
    std::string last_;
};
