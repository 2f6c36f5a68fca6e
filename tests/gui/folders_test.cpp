#include <QLineEdit>
#include <QtTest>
#include <filesystem>

#include "gui/gui_test_support.h"
#include "shell/main_window.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::checkPrompt;
using dadaz::testing::control;

namespace {

const char* const kCreateQuestion = "ไม่พบโฟลเดอร์ที่ท่านอ้างถึง!\n\nท่านต้องการสร้างโฟลเดอร์ขึ้นมาใหม่หรือไม่?";

bool isFolder(const std::string& path) {
    return std::filesystem::is_directory(path);
}

}  // namespace

class FoldersTest : public QObject {
    Q_OBJECT

  private:
    struct Fixture {
        dadaz::testing::TempDir program;
        dadaz::testing::ScriptedPrompt prompt;
        dadaz::testing::RecordingSettings settings;
        std::unique_ptr<MainWindow> window;
        Fixture() {
            window = std::make_unique<MainWindow>(program.path());
            window->setPrompt(prompt);
            window->setSettingsStore(settings);
        }
        QLineEdit* box(const char* name) { return control<QLineEdit>(window.get(), name); }
        void click(const char* name) { control<QPushButton>(window.get(), name)->click(); }
    };

  private slots:
    void pickersOpenOnTheBoxAndCancelKeepsIt() {
        struct Case {
            const char* button;
            const char* box;
            const char* title;
        };
        const Case cases[] = {{"btnBrowseMIDI", "txtMIDIPath", "เลือกที่เก็บ MIDI"},
                              {"btnBrowseLyric", "txtLyricPath", "เลือกที่เก็บ Lyric"},
                              {"btnBrowseCursor", "txtCursorPath", "เลือกที่เก็บ Cursor"}};
        for (const Case& c : cases) {
            Fixture f;
            const QString start = QString::fromStdString(f.program / "SONG");
            std::filesystem::create_directories(f.program / "SONG");
            f.box(c.box)->setText(start);
            f.prompt.expectPickFolder(c.title, "");
            f.click(c.button);
            QCOMPARE(f.prompt.lastStartFolder(), start.toStdString());
            QCOMPARE(f.box(c.box)->text(), start);

            f.box(c.box)->clear();
            f.prompt.expectPickFolder(c.title, "");
            f.click(c.button);
            QCOMPARE(f.box(c.box)->text(), QString());

            f.prompt.expectPickFolder(c.title, "/music/เพลง");
            f.click(c.button);
            QCOMPARE(f.box(c.box)->text(), QString::fromUtf8("/music/เพลง"));
            checkPrompt(f.prompt);
        }
    }

    void moveToWithoutADriveCreatesInvalidFilesInTheProgramFolder() {
        Fixture f;
        f.box("txtMoveTo")->setText(QStringLiteral("elsewhere"));
        f.prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo, kCreateQuestion,
                           Answer::Yes);
        f.prompt.expectPickFolder("เลือกที่เก็บแฟ้มที่จะย้ายไป", "");
        f.click("btnBrowseMoveTo");
        checkPrompt(f.prompt);
        QVERIFY(isFolder(f.program / "Invalid Files"));
        QCOMPARE(f.box("txtMoveTo")->text(), QStringLiteral("elsewhere"));
        QCOMPARE(f.prompt.lastStartFolder(), std::string("elsewhere"));
    }

    void moveToAFullPathCreatesItsLastLevelOnly() {
        Fixture f;
        dadaz::testing::TempDir other;
        const std::string wanted = other / "Moved";
        f.box("txtMoveTo")->setText(QString::fromStdString(wanted));
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kCreateQuestion, Answer::Yes)
            .expectPickFolder("เลือกที่เก็บแฟ้มที่จะย้ายไป", wanted);
        f.click("btnBrowseMoveTo");
        QVERIFY(isFolder(wanted));
        QVERIFY(!isFolder(f.program / "Invalid Files"));
        QCOMPARE(f.box("txtMoveTo")->text(), QString::fromStdString(wanted));

        const std::string deep = other / "a/b";
        f.box("txtMoveTo")->setText(QString::fromStdString(deep));
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kCreateQuestion, Answer::Yes)
            .expectPickFolder("เลือกที่เก็บแฟ้มที่จะย้ายไป", "");
        f.click("btnBrowseMoveTo");
        QVERIFY(!isFolder(other / "a"));
        checkPrompt(f.prompt);
    }

    void moveToAnsweredNoOrExistingCreatesNothing() {
        Fixture f;
        f.box("txtMoveTo")->setText(QStringLiteral("elsewhere"));
        f.prompt
            .expectAsk(MessageIcon::Question, MessageButtons::YesNo, kCreateQuestion, Answer::No)
            .expectPickFolder("เลือกที่เก็บแฟ้มที่จะย้ายไป", "");
        f.click("btnBrowseMoveTo");
        QVERIFY(!isFolder(f.program / "Invalid Files"));

        // An existing folder (any letter case) asks nothing.
        std::filesystem::create_directories(f.program / "Invalid Files");
        f.box("txtMoveTo")->setText(QString::fromStdString(f.program / "INVALID files"));
        f.prompt.expectPickFolder("เลือกที่เก็บแฟ้มที่จะย้ายไป", "");
        f.click("btnBrowseMoveTo");
        checkPrompt(f.prompt);
    }

    void foldersAreReadFromTheBoxesWhenAsked() {
        Fixture f;
        f.box("txtMIDIPath")->setText(QStringLiteral("/a"));
        QCOMPARE(f.window->folders().midi, std::string("/a"));
        f.box("txtMIDIPath")->setText(QStringLiteral("/b"));
        QCOMPARE(f.window->makeRunContext("Lister").folders.midi, std::string("/b"));
    }
};

QTEST_MAIN(FoldersTest)
#include "folders_test.moc"
