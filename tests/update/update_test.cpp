#include <gtest/gtest.h>

#include <filesystem>

#include "support/recording_launcher.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "update/local_server.h"
#include "update/update_check.h"

using namespace dadaz;
using namespace dadaz::testing;

namespace {

using Kind = VersionFileVerdict::Kind;

struct OneSetting : SettingsStore {
    std::optional<std::string> value;
    void writeString(const std::string&, const std::string&, const std::string& v) override {
        value = v;
    }
    std::optional<std::string> readString(const std::string& section,
                                          const std::string& key) const override {
        return section == "Option" && key == "UpdateServer" ? value : std::nullopt;
    }
};

TEST(UpdateCheck, TheFirstLineOfTheVersionFileIsComparedWithThisRelease) {
    struct Case {
        const char* file;
        Kind kind;
        const char* offered;
    };
    const Case cases[] = {
        {"5.3.138\r\n", Kind::Current, "5.3.138"},
        {"5.2.999", Kind::Current, "5.2.999"},
        {"4.99.999\r\n", Kind::Current, "4.99.999"},
        {"5.4.0\r\n", Kind::Newer, "5.4.0"},
        {"6.0.0", Kind::Newer, "6.0.0"},
        {"5.3.139\r\n9.9.9", Kind::Newer, "5.3.139"},
        {"\xEF\xBB\xBF 5.10.0 \r\n", Kind::Newer, "5.10.0"},
        {"5.3\r\n", Kind::Unreadable, ""},
        {"6.0.x", Kind::Unreadable, ""},
        {"6..0", Kind::Unreadable, ""},
        {"6.0.0.1", Kind::Unreadable, ""},
        {"+6.0.0", Kind::Unreadable, ""},
        {"99999999999.0.0", Kind::Unreadable, ""},
        {"<html>", Kind::Unreadable, ""},
        {"", Kind::Unreadable, ""},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeBytes(dir / "v.txt", c.file);
        VersionFileVerdict verdict = readVersionFile(dir / "v.txt");
        EXPECT_EQ(verdict.kind, c.kind) << c.file;
        if (c.kind != Kind::Unreadable) {
            EXPECT_EQ(versionText(verdict.offered), c.offered);
        }
    }
}

TEST(UpdateCheck, OnlyAnHttpServerSettingIsUsed) {
    OneSetting settings;
    EXPECT_FALSE(updateServer(settings));
    const std::pair<const char*, const char*> cases[] = {
        {"", nullptr},
        {"ftp://example.org", nullptr},
        {"file:///etc", nullptr},
        {"https://example.org/", "https://example.org"},
        {"HTTP://example.org", "HTTP://example.org"},
    };
    for (const auto& [setting, server] : cases) {
        settings.writeString("Option", "UpdateServer", setting);
        std::optional<std::string> found = updateServer(settings);
        EXPECT_EQ(found.value_or("none"), server ? server : "none") << setting;
    }
    EXPECT_EQ(packageUrl("https://example.org"), "https://example.org/vir/vaz_izurev.upd");
}

struct DownloadTest : ::testing::Test {
    TempDir www, local;
    LocalServer server{www.path()};
    DownloadTest() {
        writeBytes(www / "vir/vaz_izurev.txt", "6.0.0\r\n");
        writeBytes(www / "big.txt", std::string(1025, 'b'));
    }
};

TEST_F(DownloadTest, OnlyAWholeFileWithinTheLimitsReplacesTheTarget) {
    const std::string file = server.url() + "/vir/vaz_izurev.txt";
    struct Case {
        std::string url;
        const char* content;  // nullptr: refused
        const char* error = "";
        std::chrono::milliseconds timeLimit{10000};
    };
    const Case cases[] = {
        {file, "6.0.0\r\n"},
        {server.url() + "/stream/1024", "stream"},
        {server.url() + "/redirect?to=" + file, "6.0.0\r\n"},
        {server.url() + "/vir/missing.txt", nullptr, "404"},
        {server.url() + "/big.txt", nullptr, "larger than 1024 bytes"},
        {server.url() + "/stream/1025", nullptr, "larger than 1024 bytes"},
        {server.url() + "/redirect?to=file:///etc/hostname", nullptr},
        {server.url() + "/redirect?to=ftp://127.0.0.1/x", nullptr},
        {"file:///etc/hostname", nullptr},
        {server.url() + "/never", nullptr, "", std::chrono::milliseconds(300)},
    };
    const std::string target = local / "vaz_izurev.txt";
    for (const Case& c : cases) {
        writeBytes(target, "old");
        DownloadResult result = downloadFile(c.url, target, {1024, c.timeLimit});
        EXPECT_EQ(result.ok, c.content != nullptr) << c.url << ": " << result.error;
        std::string expected = !c.content                           ? "old"
                               : std::string(c.content) == "stream" ? std::string(1024, 'x')
                                                                    : c.content;
        EXPECT_EQ(readBytes(target), expected) << c.url;
        EXPECT_NE(result.error.find(c.error), std::string::npos) << c.url << ": " << result.error;
        EXPECT_FALSE(std::filesystem::exists(target + ".tmp")) << c.url;
    }
}

TEST_F(DownloadTest, ABackgroundDownloadEndsAtOnceWhenItsOwnerGoes) {
    bool reported = false;
    {
        BackgroundDownload download(server.url() + "/never", local / "x", kPackageLimits,
                                    [&](const DownloadResult&) { reported = true; });
        EXPECT_TRUE(download.running());
    }
    EXPECT_FALSE(reported);
    EXPECT_FALSE(std::filesystem::exists(local / "x.tmp"));
}

TEST(UpdateCheck, TheInstallOfferHandsThePackageToTheDesktopOnlyAfterYes) {
    TempDir program;
    for (Answer answer : {Answer::No, Answer::Yes}) {
        ScriptedPrompt prompt;
        RecordingLauncher launcher;
        prompt.expectAsk(MessageIcon::Information, MessageButtons::YesNo, installQuestion(), answer,
                         "Install Update...");
        if (answer == Answer::Yes)
            prompt.expectAsk(MessageIcon::Exclamation, MessageButtons::Ok,
                             "ไม่สามารถเปิดไฟล์อัพเดทได้\n" + (program / "vaz_izurev.deb") +
                                 "\n\nท่านสามารถติดตั้งไฟล์นี้เองได้ภายหลัง",
                             Answer::Ok);
        // No package left to open: the program goes on.
        EXPECT_FALSE(offerInstall(prompt, launcher, program.path()));
        EXPECT_TRUE(launcher.calls.empty());
        EXPECT_TRUE(prompt.finished());
    }
}

}  // namespace
