#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dadaz {

// Each control is created with its own name as its object name, so that code and tests find
// it by that name.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip = {});
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption);
QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text = {},
                       const QString& tip = {});
QPlainTextEdit* makeTextArea(QWidget* parent, const char* name, const QString& tip = {});
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip = {});
QRadioButton* makeOption(QWidget* parent, const char* name, const QString& caption,
                         const QString& tip = {});
QListWidget* makeList(QWidget* parent, const char* name, const QString& tip = {});
QComboBox* makeComboBox(QWidget* parent, const char* name);

// Hides the controls but keeps their place in the layout, so nothing moves when they show.
void hideKeepingPlace(std::initializer_list<QWidget*> controls);

}  // namespace dadaz
