#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "update/update_check.h"

// dadaz check-update --server URL: asks the server for its version file and compares it with
// this release: "newer X.Y.Z" or "current" (exit 0), or "failed: reason" (exit 1).
int cmdCheckUpdate(int argc, char** argv) {
    std::string server;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--server") == 0 && i + 1 < argc) {
            server = argv[++i];
        } else {
            server.clear();
            break;
        }
    }
    if (server.empty()) {
        std::fprintf(stderr, "usage: dadaz check-update --server URL\n");
        return 2;
    }
    while (server.ends_with('/')) server.pop_back();

    std::string folderTemplate = (std::filesystem::temp_directory_path() / "dadaz-XXXXXX").string();
    if (!mkdtemp(folderTemplate.data())) {
        std::printf("failed: cannot make a temporary folder\n");
        return 1;
    }
    const std::string target = folderTemplate + "/" + dadaz::kVersionFileName;
    dadaz::DownloadResult result =
        dadaz::downloadFile(dadaz::versionFileUrl(server), target, dadaz::kVersionFileLimits);
    dadaz::VersionFileVerdict verdict;
    if (result.ok) verdict = dadaz::readVersionFile(target);
    std::error_code ignored;
    std::filesystem::remove_all(folderTemplate, ignored);

    using Kind = dadaz::VersionFileVerdict::Kind;
    if (!result.ok) {
        std::printf("failed: %s\n", result.error.c_str());
        return 1;
    }
    if (verdict.kind == Kind::Unreadable) {
        std::printf("failed: %s\n", verdict.reason.c_str());
        return 1;
    }
    if (verdict.kind == Kind::Newer)
        std::printf("newer %s\n", dadaz::versionText(verdict.offered).c_str());
    else
        std::printf("current\n");
    return 0;
}
