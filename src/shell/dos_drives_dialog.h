#pragma once

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <string>

#include "platform/shortpath.h"

namespace dadaz {

class Prompt;
class SettingsStore;

// The DOS drive table as the settings hold it ("DosDrives" in "Option"); the default table
// (drive C: the program folder) when none is stored.
DosDriveTable storedDosDrives(const SettingsStore& settings, const std::string& programFolder);
void storeDosDrives(SettingsStore& settings, const DosDriveTable& drives);

// frmDosDrives: edits the table of the folders the DOS karaoke program sees as its drives,
// which the player database's paths begin with. OK stores it.
class DosDrivesDialog : public QDialog {
    Q_OBJECT
  public:
    DosDrivesDialog(DosDriveTable drives, std::string programFolder, Prompt& prompt,
                    QWidget* parent = nullptr);

    const DosDriveTable& drives() const { return drives_; }

    QListWidget* lstDosDrives;
    QComboBox* cboDosDriveLetter;
    QPushButton* btnMapDosDrive;
    QPushButton* btnUnmapDosDrive;
    QPushButton* btnDefaultDosDrives;
    QPushButton* btnOK;
    QPushButton* btnCancel;

  private:
    // Picks the folder of the drive chosen in the letter box.
    void mapChosenLetter();
    void unmapSelected();
    void showTable();

    DosDriveTable drives_;
    std::string programFolder_;
    Prompt& prompt_;
};

}  // namespace dadaz
