#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "app/features.h"
#include "platform/program_folder.h"
#include "shell/main_window.h"
#include "shell/thai_font.h"
#include "update/version.h"

namespace {

// Saves a picture of the window in each mode, for checking the layout and the Thai text.
bool saveScreenshots(dadaz::MainWindow& window, const QString& folder) {
    struct Shot {
        dadaz::Mode mode;
        const char* file;
    };
    const Shot shots[] = {{dadaz::Mode::AddRenameLister, "mode-add-rename-list.png"},
                          {dadaz::Mode::SongSearch, "mode-song-search.png"},
                          {dadaz::Mode::FindDuplicate, "mode-find-duplicate.png"}};
    QDir().mkpath(folder);
    bool ok = true;
    for (const Shot& shot : shots) {
        window.selectMode(shot.mode);
        QApplication::processEvents();
        const QString path = QDir(folder).filePath(QString::fromLatin1(shot.file));
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    window.selectMode(dadaz::Mode::AddRenameLister);
    return ok;
}

// Whether the options ask only for the help or the version text, which a console without a
// display must be able to show: the window system is not opened for them.
bool asksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" ||
            arg == "-v") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("DAD Azar Edizuda"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption programFolderOption(
        QStringLiteral("program-folder"),
        QStringLiteral(
            "The program folder whose sub-folders hold the library (default: the "
            "folder of a built program, ~/.local/share/DADAzarEdizuda of an installed one)."),
        QStringLiteral("DIR"));
    QCommandLineOption screenshotsOption(QStringLiteral("screenshots"),
                                         QStringLiteral("Save a picture of each mode and quit."),
                                         QStringLiteral("DIR"));
    screenshotsOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(programFolderOption);
    parser.addOption(screenshotsOption);
    const QString version = QString::fromStdString(dadaz::versionText(dadaz::kProgramVersion));
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication console(argc, argv);
        QCoreApplication::setApplicationVersion(version);
        parser.process(console);  // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    // The installed desktop entry and icon the window belongs to, for the desktop's task list.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(dadaz::kAppId));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromLatin1(dadaz::kAppId)));
    QCoreApplication::setApplicationVersion(version);
    parser.process(app);

    QString folder;
    if (parser.isSet(programFolderOption)) {
        folder = parser.value(programFolderOption);
    } else {
        std::string error;
        const auto fallback = dadaz::defaultProgramFolder(
            QCoreApplication::applicationDirPath().toStdString(), error);
        if (!fallback) {
            std::fprintf(stderr, "DADAzarEdizuda: cannot make the program folder: %s\n",
                         error.c_str());
            return 2;
        }
        folder = QString::fromStdString(*fallback);
    }
    QFileInfo folderInfo(folder);
    if (!folderInfo.isDir()) {
        std::fprintf(stderr, "DADAzarEdizuda: program folder not found: %s\n", qPrintable(folder));
        return 2;
    }
    folder = QDir::cleanPath(folderInfo.absoluteFilePath());

    dadaz::useThaiFont(app);
    dadaz::MainWindow window(folder.toStdString());
    dadaz::attachFeatures(window);
    window.show();
    if (parser.isSet(screenshotsOption)) {
        const QString shotsFolder = parser.value(screenshotsOption);
        QTimer::singleShot(0, &window, [&] {
            window.runFolderDetection();
            bool ok = saveScreenshots(window, shotsFolder);
            QCoreApplication::exit(ok ? 0 : 1);
        });
    } else {
        QTimer::singleShot(0, &window, [&] { window.startUp(); });
    }
    return app.exec();
}
