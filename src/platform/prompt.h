#pragma once

#include <string>

namespace dadaz {

enum class MessageIcon { Information, Question, Exclamation, Critical };
// YesNoDefaultNo: Yes and No with No as the default, for questions whose Yes cannot be undone.
enum class MessageButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };
enum class Answer { Ok, Yes, No, Cancel };

// Questions a run asks the user. Texts are UTF-8, lines separated by "\n". The window
// implements it with message boxes and pickers; tests script the answers.
class Prompt {
  public:
    virtual ~Prompt() = default;
    // An empty title means the program's title.
    virtual Answer ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
                       const std::string& title = {}) = 0;
    void inform(const std::string& text, const std::string& title = {}) {
        ask(MessageIcon::Information, MessageButtons::Ok, text, title);
    }
    // The chosen folder, or empty when cancelled.
    virtual std::string pickFolder(const std::string& startFolder, const std::string& title) = 0;
    // The chosen file, or empty when cancelled.
    virtual std::string pickFile(const std::string& startFolder, const std::string& title,
                                 const std::string& filterDescription) = 0;
};

}  // namespace dadaz
