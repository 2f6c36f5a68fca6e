#include "shell/controls.h"

namespace dadaz {

namespace {

template <typename Control>
Control* named(Control* control, const char* name, const QString& tip) {
    control->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty()) control->setToolTip(tip);
    return control;
}

}  // namespace

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip) {
    auto* button = named(new QPushButton(caption, parent), name, tip);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) {
    return named(new QLabel(caption, parent), name, {});
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    return named(new QLineEdit(text, parent), name, tip);
}

QPlainTextEdit* makeTextArea(QWidget* parent, const char* name, const QString& tip) {
    auto* area = named(new QPlainTextEdit(parent), name, tip);
    area->setReadOnly(true);
    return area;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip) {
    return named(new QCheckBox(caption, parent), name, tip);
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QString& caption,
                         const QString& tip) {
    return named(new QRadioButton(caption, parent), name, tip);
}

QListWidget* makeList(QWidget* parent, const char* name, const QString& tip) {
    return named(new QListWidget(parent), name, tip);
}

QComboBox* makeComboBox(QWidget* parent, const char* name) {
    return named(new QComboBox(parent), name, {});
}

void hideKeepingPlace(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) {
        QSizePolicy policy = control->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        control->setSizePolicy(policy);
        control->hide();
    }
}

}  // namespace dadaz
