#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "library/folders.h"
#include "platform/shortpath.h"
#include "shell/caption_frame.h"
#include "shell/shell_context.h"

namespace dadaz {

// fraFolder: the four library folders, their pickers, and saving them at closing.
class FolderPanel : public CaptionFrame {
    Q_OBJECT
  public:
    FolderPanel(ShellContext& context, QWidget* parent = nullptr);

    // The four folder texts as the boxes hold them now.
    Folders folders() const;
    void setFolders(const Folders& folders);

    // The browse buttons' actions (F9 to F12 run them too).
    void browseMidi();
    void browseLyric();
    void browseCursor();
    void browseMoveTo();

    // Writes the four texts, empty ones too, to the "Option" section.
    void saveSettings(SettingsStore& store) const;

    // The DOS drive table as stored, and its dialog (btnDosDrives), which stores it on OK.
    DosDriveTable dosDrives() const;
    void editDosDrives();

    QLabel* lblMIDIPath;
    QLabel* lblLyricPath;
    QLabel* lblCursorPath;
    QLabel* lblMoveTo;
    QLineEdit* txtMIDIPath;
    QLineEdit* txtLyricPath;
    QLineEdit* txtCursorPath;
    QLineEdit* txtMoveTo;
    QPushButton* btnBrowseMIDI;
    QPushButton* btnBrowseLyric;
    QPushButton* btnBrowseCursor;
    QPushButton* btnBrowseMoveTo;
    QPushButton* btnDosDrives;

  private:
    // Opens the folder picker on the box's text; a cancelled picker leaves the box as it was.
    void browseInto(QLineEdit* box, const char* title);

    ShellContext& context_;
};

}  // namespace dadaz
