#pragma once

// A prompt for tests that look at what a run said rather than script it: every question is
// answered as told (Yes by default), the folder picker gives `folder`, and every text is kept
// with its icon, in order.

#include <string>
#include <vector>

#include "platform/prompt.h"

namespace dadaz::testing {

class AnsweringPrompt : public Prompt {
  public:
    Answer ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
               const std::string& = {}) override {
        shown.push_back({icon, text});
        if (buttons == MessageButtons::Ok) return Answer::Ok;
        return yes ? Answer::Yes : Answer::No;
    }
    std::string pickFolder(const std::string&, const std::string&) override { return folder; }
    std::string pickFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

    struct Shown {
        MessageIcon icon;
        std::string text;
    };
    std::vector<Shown> shown;
    bool yes = true;
    std::string folder;

    // The texts shown, in order; with an icon, only those shown with it.
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const Shown& s : shown) all.push_back(s.text);
        return all;
    }
    std::vector<std::string> texts(MessageIcon icon) const {
        std::vector<std::string> some;
        for (const Shown& s : shown)
            if (s.icon == icon) some.push_back(s.text);
        return some;
    }
    // Every text in one, for failure messages.
    std::string all() const {
        std::string joined;
        for (const Shown& s : shown) joined += "[" + s.text + "]";
        return joined;
    }
    bool showed(MessageIcon icon) const { return !texts(icon).empty(); }
};

}  // namespace dadaz::testing
