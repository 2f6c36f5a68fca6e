#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/prompt.h"

namespace dadaz::testing {

// A prompt that expects exactly the scripted questions, in order, and gives the scripted
// answers. An unexpected or different question is a mismatch: it fails the running
// GoogleTest test at once, and window tests (QtTest) check mismatches() at their end.
class ScriptedPrompt : public Prompt {
  public:
    struct Step {
        enum class Kind { Ask, PickFolder, PickFile } kind;
        std::string text;  // the question text, or the picker's title
        MessageIcon icon = MessageIcon::Information;
        MessageButtons buttons = MessageButtons::Ok;
        std::string title;  // Ask only: the expected title ("" = the program's)
        Answer answer = Answer::Ok;
        std::string result;  // pickers: the chosen path ("" = cancelled)
    };

    ScriptedPrompt& expectAsk(MessageIcon icon, MessageButtons buttons, std::string text,
                              Answer answer, std::string title = {});
    ScriptedPrompt& expectInform(std::string text, std::string title = {});
    ScriptedPrompt& expectPickFolder(std::string title, std::string result);
    ScriptedPrompt& expectPickFile(std::string title, std::string result);

    Answer ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
               const std::string& title = {}) override;
    std::string pickFolder(const std::string& startFolder, const std::string& title) override;
    std::string pickFile(const std::string& startFolder, const std::string& title,
                         const std::string& filterDescription) override;

    // Called with each question's text before it is answered, so a test can act inside a run.
    std::function<void(const std::string&)> beforeAsk;

    // True when every scripted step was asked; tests check it at their end.
    bool finished() const { return steps_.empty(); }
    const std::vector<std::string>& mismatches() const { return mismatches_; }
    // Every question asked so far (texts), for messages in failures.
    const std::vector<std::string>& asked() const { return asked_; }
    // The start folder passed to the last picker.
    const std::string& lastStartFolder() const { return lastStartFolder_; }

  private:
    void mismatch(const std::string& what);
    std::string pick(Step::Kind kind, const std::string& startFolder, const std::string& title);
    std::deque<Step> steps_;
    std::vector<std::string> mismatches_;
    std::vector<std::string> asked_;
    std::string lastStartFolder_;
};

}  // namespace dadaz::testing
