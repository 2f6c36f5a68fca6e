#include "support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace dadaz::testing {

ScriptedPrompt& ScriptedPrompt::expectAsk(MessageIcon icon, MessageButtons buttons,
                                          std::string text, Answer answer, std::string title) {
    steps_.push_back({Step::Kind::Ask, std::move(text), icon, buttons, std::move(title), answer,
                      {}});
    return *this;
}

ScriptedPrompt& ScriptedPrompt::expectInform(std::string text, std::string title) {
    return expectAsk(MessageIcon::Information, MessageButtons::Ok, std::move(text), Answer::Ok,
                     std::move(title));
}

ScriptedPrompt& ScriptedPrompt::expectPickFolder(std::string title, std::string result) {
    steps_.push_back({Step::Kind::PickFolder, std::move(title), MessageIcon::Information,
                      MessageButtons::Ok, {}, Answer::Ok, std::move(result)});
    return *this;
}

ScriptedPrompt& ScriptedPrompt::expectPickFile(std::string title, std::string result) {
    steps_.push_back({Step::Kind::PickFile, std::move(title), MessageIcon::Information,
                      MessageButtons::Ok, {}, Answer::Ok, std::move(result)});
    return *this;
}

Answer ScriptedPrompt::ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
                           const std::string& title) {
    asked_.push_back(text);
    if (steps_.empty() || steps_.front().kind != Step::Kind::Ask) {
        ADD_FAILURE() << "unexpected question:\n" << text;
        return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
    Step step = steps_.front();
    steps_.pop_front();
    EXPECT_EQ(step.text, text);
    EXPECT_EQ(static_cast<int>(step.icon), static_cast<int>(icon)) << text;
    EXPECT_EQ(static_cast<int>(step.buttons), static_cast<int>(buttons)) << text;
    EXPECT_EQ(step.title, title) << text;
    return step.answer;
}

std::string ScriptedPrompt::pickFolder(const std::string& startFolder, const std::string& title) {
    asked_.push_back(title);
    lastStartFolder_ = startFolder;
    if (steps_.empty() || steps_.front().kind != Step::Kind::PickFolder) {
        ADD_FAILURE() << "unexpected folder picker: " << title;
        return {};
    }
    Step step = steps_.front();
    steps_.pop_front();
    EXPECT_EQ(step.text, title);
    return step.result;
}

std::string ScriptedPrompt::pickFile(const std::string& startFolder, const std::string& title,
                                     const std::string&) {
    asked_.push_back(title);
    lastStartFolder_ = startFolder;
    if (steps_.empty() || steps_.front().kind != Step::Kind::PickFile) {
        ADD_FAILURE() << "unexpected file picker: " << title;
        return {};
    }
    Step step = steps_.front();
    steps_.pop_front();
    EXPECT_EQ(step.text, title);
    return step.result;
}

}  // namespace dadaz::testing
