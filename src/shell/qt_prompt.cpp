#include "shell/qt_prompt.h"

#include <QFileDialog>
#include <QMessageBox>

namespace dadaz {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoDefaultNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

}  // namespace

Answer QtPrompt::ask(MessageIcon icon, MessageButtons buttons, const std::string& text,
                     const std::string& title) {
    QMessageBox box(boxIcon(icon),
                    QString::fromStdString(title.empty() ? std::string(kProgramTitle) : title),
                    QString::fromStdString(text), boxButtons(buttons), owner_);
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            // Closing the box with Escape or its close button.
            return buttons == MessageButtons::Ok            ? Answer::Ok
                   : buttons == MessageButtons::YesNoCancel ? Answer::Cancel
                                                            : Answer::No;
    }
}

std::string QtPrompt::pickFolder(const std::string& startFolder, const std::string& title) {
    QString chosen = QFileDialog::getExistingDirectory(owner_, QString::fromStdString(title),
                                                       QString::fromStdString(startFolder));
    return chosen.toStdString();
}

std::string QtPrompt::pickFile(const std::string& startFolder, const std::string& title,
                               const std::string& filterDescription) {
    QString filter = QString::fromStdString(filterDescription) + QStringLiteral(" (*)");
    QString chosen = QFileDialog::getOpenFileName(owner_, QString::fromStdString(title),
                                                  QString::fromStdString(startFolder), filter);
    return chosen.trimmed().toStdString();
}

}  // namespace dadaz
