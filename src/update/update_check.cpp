#include "update/update_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace dadaz {

std::optional<std::string> updateServer(const SettingsStore& settings) {
    std::optional<std::string> server = settings.readString("Option", "UpdateServer");
    if (!server) return std::nullopt;
    std::string lower;
    for (char c : server->substr(0, 8)) lower += static_cast<char>(std::tolower(c));
    if (!lower.starts_with("http://") && !lower.starts_with("https://")) return std::nullopt;
    while (server->ends_with('/')) server->pop_back();
    return server;
}

std::string versionFileUrl(const std::string& server) {
    return server + "/vir/vaz_izurev.txt";
}

std::string packageUrl(const std::string& server) {
    return server + "/vir/vaz_izurev.upd";
}

VersionFileVerdict readVersionFile(const std::string& path, const Version& own) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    VersionFileVerdict unreadable;
    if (!file || !std::getline(file, line)) {
        unreadable.reason = "empty version file";
        return unreadable;
    }
    // The first line ends at a CR as well, as in every text file the program reads.
    line.resize(std::min(line.size(), line.find('\r')));
    std::optional<Version> offered = parseVersionLine(line);
    if (!offered) {
        unreadable.reason = "not a version: " + line.substr(0, 40);
        return unreadable;
    }
    return {isNewer(*offered, own) ? VersionFileVerdict::Kind::Newer
                                   : VersionFileVerdict::Kind::Current,
            *offered,
            {}};
}

std::string downloadQuestion(const Version& own, const Version& offered) {
    return "ขณะนี้โปรแกรม DAD Azar Edizuda ได้ออกรุ่นใหม่แล้ว\n\nรุ่นของท่านคือ " + versionText(own) +
           "\nรุ่นที่ออกใหม่คือ " + versionText(offered) + "\n\nท่านต้องการดาวน์โหลดรุ่นใหม่เดี๋ยวนี้หรือไม่?";
}

std::string downloadFailedMessage(const std::string& reason) {
    return "ดาวน์โหลดไฟล์อัพเดทไม่สำเร็จ\nสาเหตุ: " + reason + "\n\nโปรแกรมจะทำงานต่อด้วยรุ่นเดิม";
}

std::string installQuestion() {
    return "โปรแกรมได้ดาวน์โหลดไฟล์อัพเดทเสร็จเรียบร้อยแล้ว...\n\nท่านต้องการติดตั้งโปรแกรมอัพเดทเลยหรือไม่?";
}

bool offerInstall(Prompt& prompt, Launcher& launcher, const std::string& programFolder) {
    if (prompt.ask(MessageIcon::Information, MessageButtons::YesNo, installQuestion(),
                   kInstallTitle) != Answer::Yes)
        return false;
    const std::string package = programFolder + "/" + kPackageFileName;
    std::error_code error;
    if (std::filesystem::is_regular_file(package, error) && launcher.openDocument(package))
        return true;
    prompt.ask(MessageIcon::Exclamation, MessageButtons::Ok,
               "ไม่สามารถเปิดไฟล์อัพเดทได้\n" + package + "\n\nท่านสามารถติดตั้งไฟล์นี้เองได้ภายหลัง");
    return false;
}

}  // namespace dadaz
