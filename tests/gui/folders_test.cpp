#include <QFileDialog>
#include <QMessageBox>
#include <QtTest>
#include <filesystem>

#include "gui/window_fixture.h"
#include "shell/qt_prompt.h"

using namespace dadaz;
using namespace dadaz::testing;

namespace {

const char* const kCreateQuestion = "ไม่พบโฟลเดอร์ที่ท่านอ้างถึง!\n\nท่านต้องการสร้างโฟลเดอร์ขึ้นมาใหม่หรือไม่?";
const char* const kMoveToTitle = "เลือกที่เก็บแฟ้มที่จะย้ายไป";

bool isFolder(const std::string& path) {
    return std::filesystem::is_directory(path);
}

}  // namespace

class FoldersTest : public QObject {
    Q_OBJECT

    static void browse(WindowFixture& f, const char* button) {
        f.get<QPushButton>(button)->click();
    }
    static void setBox(WindowFixture& f, const char* box, const std::string& text) {
        f.get<QLineEdit>(box)->setText(QString::fromStdString(text));
    }
    static std::string box(WindowFixture& f, const char* name) {
        return f.get<QLineEdit>(name)->text().toStdString();
    }

  private slots:
    // The browse buttons and their keys open the picker on the box's folder; a cancelled
    // picker leaves the box as it was, also when it was empty.
    void pickersOpenOnTheBoxAndCancelKeepsIt() {
        const std::tuple<const char*, Qt::Key, const char*, const char*> cases[] = {
            {"btnBrowseMIDI", Qt::Key_F9, "txtMIDIPath", "เลือกที่เก็บ MIDI"},
            {"btnBrowseLyric", Qt::Key_F10, "txtLyricPath", "เลือกที่เก็บ Lyric"},
            {"btnBrowseCursor", Qt::Key_F11, "txtCursorPath", "เลือกที่เก็บ Cursor"}};
        for (const auto& [button, key, name, title] : cases) {
            WindowFixture f;
            const std::string start = f.program / "SONG";
            std::filesystem::create_directories(start);
            setBox(f, name, start);
            f.prompt.expectPickFolder(title, "");
            f.key(key);
            QCOMPARE(f.prompt.lastStartFolder(), start);
            QCOMPARE(box(f, name), start);
            setBox(f, name, "");
            f.prompt.expectPickFolder(title, "").expectPickFolder(title, "/music/เพลง");
            browse(f, button);
            QCOMPARE(box(f, name), std::string());
            browse(f, button);
            QCOMPARE(box(f, name), std::string("/music/เพลง"));
            checkPrompt(f.prompt);
        }
    }

    // A missing move-to folder is offered for creation first: a full path as given (its last
    // level only), anything else as "Invalid Files" in the program folder. The box changes
    // only when a folder is picked.
    void aMissingMoveToFolderIsCreatedOnYes() {
        WindowFixture f;
        TempDir other;
        struct Case {
            std::string text;
            Answer answer;
            std::string created, notCreated;
        };
        const Case cases[] = {
            {"elsewhere", Answer::No, "", f.program / "Invalid Files"},
            {"elsewhere", Answer::Yes, f.program / "Invalid Files", ""},
            {other / "Moved", Answer::Yes, other / "Moved", ""},
            {other / "a/b", Answer::Yes, "", other / "a"},
        };
        for (const Case& c : cases) {
            setBox(f, "txtMoveTo", c.text);
            f.prompt
                .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kCreateQuestion, c.answer)
                .expectPickFolder(kMoveToTitle, "");
            browse(f, "btnBrowseMoveTo");
            QCOMPARE(box(f, "txtMoveTo"), c.text);
            QCOMPARE(f.prompt.lastStartFolder(), c.text);
            if (!c.created.empty()) QVERIFY(isFolder(c.created));
            if (!c.notCreated.empty()) QVERIFY(!isFolder(c.notCreated));
        }
        // An existing folder, in any letter case, asks nothing.
        setBox(f, "txtMoveTo", f.program / "INVALID files");
        f.prompt.expectPickFolder(kMoveToTitle, other.path());
        f.key(Qt::Key_F12);
        QCOMPARE(box(f, "txtMoveTo"), other.path());
        checkPrompt(f.prompt);
    }

    void messageBoxesShowIconButtonsTitleAndPlainText() {
        WindowFixture f;
        f.window->show();
        QtPrompt prompt(f.window.get());
        using Box = QMessageBox;
        // Asked icon, buttons and title ("" = the program's); shown icon and buttons; the
        // button pressed and the answer it gives.
        const std::tuple<MessageIcon, MessageButtons, const char*, Box::Icon, Box::StandardButtons,
                         Box::StandardButton, Answer>
            cases[] = {{MessageIcon::Question, MessageButtons::YesNo, "Exit Program", Box::Question,
                        Box::Yes | Box::No, Box::No, Answer::No},
                       {MessageIcon::Exclamation, MessageButtons::YesNoCancel, "", Box::Warning,
                        Box::Yes | Box::No | Box::Cancel, Box::Cancel, Answer::Cancel},
                       {MessageIcon::Information, MessageButtons::Ok, "", Box::Information, Box::Ok,
                        Box::Ok, Answer::Ok},
                       {MessageIcon::Critical, MessageButtons::YesNo, "", Box::Critical,
                        Box::Yes | Box::No, Box::Yes, Answer::Yes}};
        const char* const text = "<b>ไม่ใช่ HTML</b>\n\nข้อ 2";
        for (const auto& [icon, buttons, title, shownIcon, shownButtons, press, answer] : cases) {
            QString seen;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                seen = box->windowTitle() + QLatin1Char('|') + box->text();
                QCOMPARE(box->icon(), shownIcon);
                QCOMPARE(box->standardButtons(), shownButtons);
                QCOMPARE(box->textFormat(), Qt::PlainText);
                box->button(press)->click();
            });
            QCOMPARE(prompt.ask(icon, buttons, text, title), answer);
            QCOMPARE(seen,
                     utf8(*title ? title : "DAD Azar Edizuda") + QLatin1Char('|') + utf8(text));
        }
    }

    void folderPickerOpensOnTheStartFolder() {
        WindowFixture f;
        f.window->show();
        QtPrompt prompt(f.window.get());
        QString shownFolder, shownTitle;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shownFolder = dialog->directory().absolutePath();
            shownTitle = dialog->windowTitle();
            dialog->reject();
        });
        QCOMPARE(prompt.pickFolder(f.program.path(), "เลือกที่เก็บ MIDI"), std::string());
        QCOMPARE(shownFolder, QString::fromStdString(f.program.path()));
        QCOMPARE(shownTitle, utf8("เลือกที่เก็บ MIDI"));
    }
};

QTEST_MAIN(FoldersTest)
#include "folders_test.moc"
