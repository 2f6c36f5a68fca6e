#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <filesystem>

#include "gui/gui_test_support.h"
#include "shell/file_system_check_dialog.h"
#include "shell/main_window.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace dadaz;
using dadaz::testing::control;

class DetectionTest : public QObject {
    Q_OBJECT

  private:
    struct Boxes {
        QString midi, lyric, cursor, moveTo, addSong;
    };

    // Runs the detection window of a main window on `program` and reads the boxes.
    static Boxes detect(const std::string& program) {
        MainWindow window(program);
        dadaz::testing::ScriptedPrompt prompt;  // the window asks nothing
        window.setPrompt(prompt);
        window.show();
        window.runFolderDetection(10);
        if (!prompt.mismatches().empty()) qWarning("%s", prompt.mismatches().front().c_str());
        auto text = [&](const char* name) { return control<QLineEdit>(&window, name)->text(); };
        return {text("txtMIDIPath"), text("txtLyricPath"), text("txtCursorPath"), text("txtMoveTo"),
                text("txtAddSong")};
    }

    static QString q(const std::string& text) { return QString::fromStdString(text); }

  private slots:
    void noSubFoldersGivesTheProgramFolder() {
        dadaz::testing::TempDir program;
        Boxes boxes = detect(program.path());
        QCOMPARE(boxes.midi, q(program.path()));
        QCOMPARE(boxes.lyric, q(program.path()));
        QCOMPARE(boxes.cursor, q(program.path()));
        QCOMPARE(boxes.moveTo, q(program / "Invalid Files"));
        // "New Song" is the source even though it does not exist.
        QCOMPARE(boxes.addSong, q(program / "New Song"));
        QVERIFY(!std::filesystem::exists(program / "New Song"));
        QVERIFY(!std::filesystem::exists(program / "Invalid Files"));
    }

    void dataAndInvalidFilesKeepTheirSpelling() {
        dadaz::testing::TempDir program;
        for (const char* name : {"Data", "Lyric", "cursor", "invalid FILES", "New Song"})
            std::filesystem::create_directories(program / name);
        Boxes boxes = detect(program.path());
        QCOMPARE(boxes.midi, q(program / "Data"));
        QCOMPARE(boxes.lyric, q(program / "Lyric"));
        QCOMPARE(boxes.cursor, q(program / "cursor"));
        QCOMPARE(boxes.moveTo, q(program / "invalid FILES"));
        QCOMPARE(boxes.addSong, q(program / "New Song"));
    }

    void theWindowBlinksAndClosesItself() {
        dadaz::testing::TempDir program;
        std::filesystem::create_directories(program / "SONG");
        FileSystem fs;
        FileSystemCheckDialog dialog(fs, program.path());
        QCOMPARE(dialog.objectName(), QStringLiteral("frmFileSystemCheck"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("File System Checker"));
        auto* notice = control<QLabel>(&dialog, "lblFileSystemCheck");
        QVERIFY(notice);
        QCOMPARE(notice->text(), QString::fromUtf8("กำลังตรวจสอบระบบแฟ้ม..."));
        auto* blink = dialog.findChild<QTimer*>(QStringLiteral("Timer1"));
        auto* closer = dialog.findChild<QTimer*>(QStringLiteral("Timer2"));
        QCOMPARE(blink->interval(), 250);
        QCOMPARE(closer->interval(), 1500);
        QVERIFY(closer->isSingleShot());
        QVERIFY(dialog.isModal());

        dialog.show();
        QTRY_VERIFY(dialog.scanned());
        QCOMPARE(dialog.detected().folders.midi, program / "SONG");
        QVERIFY(closer->isActive());
        QTRY_VERIFY(notice->isHidden());
        QTRY_VERIFY(!notice->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 5000);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(DetectionTest)
#include "detection_test.moc"
