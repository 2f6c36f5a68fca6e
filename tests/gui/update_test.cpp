#include <QtTest>
#include <filesystem>
#include <optional>

#include "gui/window_fixture.h"
#include "update/gui/update_dialog.h"
#include "update/local_server.h"

using namespace dadaz;
using namespace dadaz::testing;

namespace {

const std::string kPackage(1500, 'P');

// A main window with its update check attached, and a web server offering a version file
// and a package.
struct UpdateFixture : WindowFixture {
    TempDir www;
    LocalServer server{www.path()};
    explicit UpdateFixture(const char* versionLine = "6.0.0") {
        writeBytes(www / "vir/vaz_izurev.txt", std::string(versionLine) + "\r\n");
        writeBytes(www / "vir/vaz_izurev.upd", kPackage);
        attachUpdate(*window);
        settings.writeString("Option", "UpdateServer", server.url() + "/");
    }
    void expectDownloadQuestion(const char* offered, Answer answer) {
        prompt.expectAsk(MessageIcon::Question, MessageButtons::YesNo,
                         "ขณะนี้โปรแกรม DAD Azar Edizuda ได้ออกรุ่นใหม่แล้ว\n\nรุ่นของท่านคือ 5.3.138\n"
                         "รุ่นที่ออกใหม่คือ " +
                             std::string(offered) + "\n\nท่านต้องการดาวน์โหลดรุ่นใหม่เดี๋ยวนี้หรือไม่?",
                         answer);
    }
    void expectInstallQuestion(Answer answer) {
        prompt.expectAsk(MessageIcon::Information, MessageButtons::YesNo,
                         "โปรแกรมได้ดาวน์โหลดไฟล์อัพเดทเสร็จเรียบร้อยแล้ว...\n\n"
                         "ท่านต้องการติดตั้งโปรแกรมอัพเดทเลยหรือไม่?",
                         answer, "Install Update...");
    }
    std::string package() const { return program / "vaz_izurev.deb"; }
};

}  // namespace

class UpdateTest : public QObject {
    Q_OBJECT

  private slots:
    void onlyANewerVersionIsOfferedAndOnlyAYesDownloadsIt() {
        struct Case {
            const char* line;
            std::optional<Answer> answer;  // the download question's, when it is asked
            bool serverSet = true;
        };
        const Case cases[] = {
            {"5.3.138", {}},
            {"5.2.999", {}},
            {"5.3", {}},
            {"5.3.x", {}},
            {"6.0.0", Answer::No},
            {"5.4.0", Answer::Yes},
            {"5.3.139", Answer::Yes, false},
        };
        for (const Case& c : cases) {
            UpdateFixture f(c.line);
            if (!c.serverSet) f.settings.writes.clear();
            if (c.answer && c.serverSet) f.expectDownloadQuestion(c.line, *c.answer);
            f.window->hooks().checkForUpdate();
            checkPrompt(f.prompt);
            const bool downloaded = c.answer == Answer::Yes && c.serverSet;
            QCOMPARE(f.window->updateReady(), downloaded);
            QCOMPARE(readBytes(f.package()), downloaded ? kPackage : "<missing>");
            QCOMPARE(std::filesystem::exists(f.program / "vaz_izurev.txt"), c.serverSet);
        }
    }

    void aServerThatNeverAnswersNeitherBlocksNorKeepsTheWindow() {
        UpdateFixture f;
        for (bool userCloses : {true, false}) {
            UpdateDialog dialog(f.prompt, f.program.path(), f.server.url() + "/never",
                                f.window.get());
            // The limit of the version file ends the check unless the test closes it first.
            dialog.setLimits({1024, std::chrono::milliseconds(userCloses ? 60000 : 300)},
                             kPackageLimits);
            bool sawDownload = false;
            QTimer poll;
            connect(&poll, &QTimer::timeout, &dialog, [&] {
                if (!dialog.downloading()) return;
                sawDownload = true;
                if (userCloses) dialog.reject();
            });
            poll.start(10);
            QCOMPARE(dialog.exec(), int(QDialog::Rejected));
            QVERIFY(sawDownload || !userCloses);
            QVERIFY(!dialog.updateReady());
        }
        checkPrompt(f.prompt);
    }

    void aPackageOverTheLimitIsRefusedAndTheUserTold() {
        UpdateFixture f;
        f.expectDownloadQuestion("6.0.0", Answer::Yes);
        f.prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::Ok,
                           "ดาวน์โหลดไฟล์อัพเดทไม่สำเร็จ\nสาเหตุ: larger than 1024 bytes\n\n"
                           "โปรแกรมจะทำงานต่อด้วยรุ่นเดิม",
                           Answer::Ok);
        UpdateDialog dialog(f.prompt, f.program.path(), f.server.url(), f.window.get());
        dialog.setLimits(kVersionFileLimits, {1024, std::chrono::seconds(60)});
        dialog.exec();
        checkPrompt(f.prompt);
        QVERIFY(!dialog.updateReady());
        QVERIFY(!std::filesystem::exists(f.package()));
        QVERIFY(!std::filesystem::exists(f.package() + ".tmp"));
    }

    void atClosingNoGoesOnWorkingAndYesHandsThePackageOver() {
        for (Answer answer : {Answer::No, Answer::Yes}) {
            UpdateFixture f;
            f.window->show();
            f.expectDownloadQuestion("6.0.0", Answer::Yes);
            f.expectInstallQuestion(answer);
            f.window->startUp();
            checkPrompt(f.prompt);
            QCOMPARE(f.window->isVisible(), answer == Answer::No);
            QCOMPARE(readBytes(f.package()), kPackage);
            if (answer == Answer::No) {
                QVERIFY(!f.window->installUpdateOnExit() && !f.window->updateReady());
                QVERIFY(f.launcher.calls.empty());
                continue;
            }
            QCOMPARE(f.launcher.calls.size(), size_t(1));
            QCOMPARE(f.launcher.calls[0].program, f.package());
            QVERIFY(f.launcher.calls[0].document);
        }
    }
};

QTEST_MAIN(UpdateTest)
#include "update_test.moc"
