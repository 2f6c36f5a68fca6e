#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "shell/qt_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;

class QtPromptTest : public QObject {
    Q_OBJECT

  private:
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
    };

    // Answers the next message box with `button` and notes what it showed.
    static void answerNextBox(Seen& seen, QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&seen, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            box->button(button)->click();
        });
    }

  private slots:
    void messageBoxesShowIconButtonsAndTitle() {
        QWidget owner;
        owner.show();
        QtPrompt prompt(&owner);
        Seen seen;

        answerNextBox(seen, QMessageBox::No);
        QCOMPARE(prompt.ask(MessageIcon::Question, MessageButtons::YesNo, "ออกจากโปรแกรม?",
                            "Exit Program"),
                 Answer::No);
        QCOMPARE(seen.title, QStringLiteral("Exit Program"));
        QCOMPARE(seen.text, QString::fromUtf8("ออกจากโปรแกรม?"));
        QCOMPARE(seen.icon, QMessageBox::Question);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);

        answerNextBox(seen, QMessageBox::Cancel);
        QCOMPARE(prompt.ask(MessageIcon::Exclamation, MessageButtons::YesNoCancel, "a\n\nb"),
                 Answer::Cancel);
        QCOMPARE(seen.title, QStringLiteral("DAD Azar Edizuda"));
        QCOMPARE(seen.text, QStringLiteral("a\n\nb"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

        answerNextBox(seen, QMessageBox::Ok);
        prompt.inform("<b>ไม่ใช่ HTML</b>");
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        answerNextBox(seen, QMessageBox::Yes);
        QCOMPARE(prompt.ask(MessageIcon::Critical, MessageButtons::YesNo, "x"), Answer::Yes);
        QCOMPARE(seen.icon, QMessageBox::Critical);
    }

    void folderPickerOpensOnTheStartFolder() {
        dadaz::testing::TempDir start;
        QWidget owner;
        owner.show();
        QtPrompt prompt(&owner);
        QString shownFolder, shownTitle;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shownFolder = dialog->directory().absolutePath();
            shownTitle = dialog->windowTitle();
            dialog->reject();
        });
        QCOMPARE(prompt.pickFolder(start.path(), "เลือกที่เก็บ MIDI"), std::string());
        QCOMPARE(shownFolder, QString::fromStdString(start.path()));
        QCOMPARE(shownTitle, QString::fromUtf8("เลือกที่เก็บ MIDI"));
    }
};

QTEST_MAIN(QtPromptTest)
#include "qt_prompt_test.moc"
