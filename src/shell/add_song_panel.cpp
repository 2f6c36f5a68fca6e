#include "shell/add_song_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "shell/controls.h"

namespace dadaz {

AddSongPanel::AddSongPanel(QWidget* parent)
    : CaptionFrame(QStringLiteral("fraAddSong"), QString::fromUtf8("เพิ่มเพลงใหม่"), parent) {
    lblAddSong = makeLabel(this, "lblAddSong", "เพิ่มเพลง (สร้างรหัสเพลงต่อท้าย เพลงที่มีอยู่)");
    txtAddSong = makeTextBox(this, "txtAddSong");
    btnBrowseNewSong = makeButton(this, "btnBrowseNewSong", "...", "เลือกที่เก็บแฟ้มเพลงที่จะเพิ่ม");
    lblSelectFolder = makeLabel(this, "lblSelectFolder", "เลือกโฟลเดอร์ที่เก็บเพลง");
    radAutoSelect = makeOption(this, "radAutoSelect", "เลือกอัตโนมัติ");
    radManualSelect = makeOption(this, "radManualSelect", "กำหนดเอง");
    radFromFileSelect = makeOption(this, "radFromFileSelect", "เลือกตามรหัสแฟ้ม");
    txtFolderSelect = makeTextBox(this, "txtFolderSelect", {}, "โฟลเดอร์ที่กำหนดให้เพิ่มเพลง");
    chkManualConfig = makeCheckBox(this, "chkManualConfig", "รูปแบบแฟ้มกำหนดเอง",
                                   "เลือกกำหนดรูปแบบแฟ้มที่จะนำไปเพิ่มใหม่เอง");
    txtFirstFileName = makeTextBox(this, "txtFirstFileName");
    txtLastFileName = makeTextBox(this, "txtLastFileName");
    btnAddSong = makeButton(this, "btnAddSong", "เพิ่มเพลง", "เพิ่มเพลงเข้าสู่ระบบ");
    lblAddSongProgress = makeLabel(this, "lblAddSongProgress", "ความคืบหน้า");
    picAddSongProgress = new ProgressBarWidget(QStringLiteral("picAddSongProgress"), this);
    picAddSongProgress->setColor(QColor(255, 255, 192));

    auto* targets = new QButtonGroup(this);
    for (QRadioButton* option : {radAutoSelect, radManualSelect, radFromFileSelect})
        targets->addButton(option);

    // Until the add-song options are wired, the boxes that only they unlock stay locked.
    txtFolderSelect->setEnabled(false);
    txtFirstFileName->setEnabled(false);
    txtLastFileName->setEnabled(false);
    btnAddSong->setEnabled(false);
    hideKeepingPlace({lblAddSongProgress, picAddSongProgress});

    btnBrowseNewSong->setFixedWidth(32);
    txtFolderSelect->setMaximumWidth(60);
    txtFirstFileName->setMaximumWidth(60);
    txtLastFileName->setMaximumWidth(120);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblAddSong, 0, 0, 1, 4);
    grid->addWidget(txtAddSong, 1, 0, 1, 3);
    grid->addWidget(btnBrowseNewSong, 1, 3);
    grid->addWidget(lblSelectFolder, 2, 0);
    grid->addWidget(radAutoSelect, 2, 1);
    auto* manual = new QHBoxLayout;
    manual->addWidget(radManualSelect);
    manual->addWidget(txtFolderSelect);
    manual->addStretch();
    grid->addLayout(manual, 2, 2);
    grid->addWidget(radFromFileSelect, 3, 1);
    grid->addWidget(chkManualConfig, 4, 0);
    auto* pattern = new QHBoxLayout;
    pattern->addWidget(txtFirstFileName);
    pattern->addWidget(txtLastFileName);
    pattern->addStretch();
    grid->addLayout(pattern, 4, 1, 1, 2);
    grid->addWidget(btnAddSong, 4, 3);
    grid->addWidget(lblAddSongProgress, 5, 0);
    grid->addWidget(picAddSongProgress, 5, 1, 1, 3);
    grid->setColumnStretch(2, 1);
}

}  // namespace dadaz
