#include "support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace dadaz::testing {

namespace {
const char* iconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return "information";
        case MessageIcon::Question:
            return "question";
        case MessageIcon::Exclamation:
            return "exclamation";
        case MessageIcon::Critical:
            return "critical";
    }
    return "?";
}
}  // namespace

void ScriptedPrompt::mismatch(const std::string& what) {
    mismatches_.push_back(what);
    if (::testing::UnitTest::GetInstance()->current_test_info() != nullptr) ADD_FAILURE() << what;
}

ScriptedPrompt& ScriptedPrompt::expectAsk(MessageIcon icon, MessageButtons buttons,
                                          std::string text, Answer answer, std::string title) {
    steps_.push_back(
        {Step::Kind::Ask, std::move(text), icon, buttons, std::move(title), answer, {}});
    return *this;
}

ScriptedPrompt& ScriptedPrompt::expectInform(std::string text, std::string title) {
    return expectAsk(MessageIcon::Information, MessageButtons::Ok, std::move(text), Answer::Ok,
                     std::move(title));
}

ScriptedPrompt& ScriptedPrompt::expectPickFolder(std::string title, std::string result) {
    steps_.push_back({Step::Kind::PickFolder,
                      std::move(title),
                      MessageIcon::Information,
                      MessageButtons::Ok,
                      {},
                      Answer::Ok,
                      std::move(result)});
    return *this;
}

ScriptedPrompt& ScriptedPrompt::expectPickFile(std::string title, std::string result) {
    steps_.push_back({Step::Kind::PickFile,
                      std::move(title),
                      MessageIcon::Information,
                      MessageButtons::Ok,
                      {},
                      Answer::Ok,
                      std::move(result)});
    return *this;
}

Answer ScriptedPrompt::ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
                           const std::string& title) {
    if (beforeAsk) beforeAsk(text);
    asked_.push_back(text);
    if (steps_.empty() || steps_.front().kind != Step::Kind::Ask) {
        mismatch("unexpected question:\n" + text);
        return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
    Step step = steps_.front();
    steps_.pop_front();
    if (step.text != text) mismatch("expected question:\n" + step.text + "\nasked:\n" + text);
    if (step.icon != icon)
        mismatch(std::string("expected icon ") + iconName(step.icon) + ", got " + iconName(icon) +
                 " for:\n" + text);
    if (step.buttons != buttons) mismatch("other buttons than expected for:\n" + text);
    if (step.title != title)
        mismatch("expected title \"" + step.title + "\", got \"" + title + "\"");
    return step.answer;
}

std::string ScriptedPrompt::pick(Step::Kind kind, const std::string& startFolder,
                                 const std::string& title) {
    asked_.push_back(title);
    lastStartFolder_ = startFolder;
    const char* what = kind == Step::Kind::PickFolder ? "folder picker" : "file picker";
    if (steps_.empty() || steps_.front().kind != kind) {
        mismatch(std::string("unexpected ") + what + ": " + title);
        return {};
    }
    Step step = steps_.front();
    steps_.pop_front();
    if (step.text != title)
        mismatch("expected " + std::string(what) + " \"" + step.text + "\", got \"" + title + "\"");
    return step.result;
}

std::string ScriptedPrompt::pickFolder(const std::string& startFolder, const std::string& title) {
    return pick(Step::Kind::PickFolder, startFolder, title);
}

std::string ScriptedPrompt::pickFile(const std::string& startFolder, const std::string& title,
                                     const std::string&) {
    return pick(Step::Kind::PickFile, startFolder, title);
}

}  // namespace dadaz::testing
