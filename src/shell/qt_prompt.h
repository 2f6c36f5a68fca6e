#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompt.h"

namespace dadaz {

// The program's title, shown on message boxes that have no title of their own.
inline constexpr const char* kProgramTitle = "DAD Azar Edizuda";

// Message boxes and pickers of the platform, owned by the main window.
class QtPrompt : public Prompt {
  public:
    explicit QtPrompt(QWidget* owner) : owner_(owner) {}

    Answer ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
               const std::string& title = {}) override;
    // Opens on `startFolder` when it is not empty; the picker's title is the instruction text.
    std::string pickFolder(const std::string& startFolder, const std::string& title) override;
    std::string pickFile(const std::string& startFolder, const std::string& title,
                         const std::string& filterDescription) override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace dadaz
