#include "shell/folder_panel.h"

#include <QGridLayout>

#include "shell/controls.h"
#include "shell/dos_drives_dialog.h"

namespace dadaz {

FolderPanel::FolderPanel(ShellContext& context, QWidget* parent)
    : CaptionFrame(QStringLiteral("fraFolder"), QString::fromUtf8("เลือกที่เก็บแฟ้ม"), parent),
      context_(context) {
    lblMIDIPath = makeLabel(this, "lblMIDIPath", "แฟ้ม MIDI");
    lblLyricPath = makeLabel(this, "lblLyricPath", "แฟ้ม Lyric");
    lblCursorPath = makeLabel(this, "lblCursorPath", "แฟ้ม Cursor");
    lblMoveTo = makeLabel(this, "lblMoveTo", "ย้ายไปไว้ที่");
    txtMIDIPath = makeTextBox(this, "txtMIDIPath", {}, "ที่เก็บแฟ้ม Midi");
    txtLyricPath = makeTextBox(this, "txtLyricPath", {}, "ที่เก็บแฟ้ม Lyric");
    txtCursorPath = makeTextBox(this, "txtCursorPath", {}, "ที่เก็บแฟ้ม Cursor");
    txtMoveTo = makeTextBox(this, "txtMoveTo", {}, "ที่เก็บแฟ้มที่ไม่เกี่ยวข้อง, ที่โปรแกรมจะทำการย้ายไปไว้");
    btnBrowseMIDI = makeButton(this, "btnBrowseMIDI", "...", "เลือกที่เก็บแฟ้ม Midi [F9]");
    btnBrowseLyric = makeButton(this, "btnBrowseLyric", "...", "เลือกที่เก็บแฟ้ม Lyric [F10]");
    btnBrowseCursor = makeButton(this, "btnBrowseCursor", "...", "เลือกที่เก็บแฟ้ม Cursor [F11]");
    btnBrowseMoveTo = makeButton(this, "btnBrowseMoveTo", "...", "เลือกที่เก็บแฟ้ม ที่ไม่เกี่ยวข้อง [F12]");

    auto* grid = new QGridLayout(this);
    QLabel* labels[] = {lblMIDIPath, lblLyricPath, lblCursorPath, lblMoveTo};
    QLineEdit* boxes[] = {txtMIDIPath, txtLyricPath, txtCursorPath, txtMoveTo};
    QPushButton* buttons[] = {btnBrowseMIDI, btnBrowseLyric, btnBrowseCursor, btnBrowseMoveTo};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(labels[row], row, 0);
        grid->addWidget(boxes[row], row, 1);
        buttons[row]->setFixedWidth(32);
        grid->addWidget(buttons[row], row, 2);
    }
    btnDosDrives = makeButton(this, "btnDosDrives", QString::fromUtf8("ไดรฟ์ DOS..."),
                              QString::fromUtf8("กำหนดไดรฟ์ของโปรแกรมคาราโอเกะ (DOS) "
                                                "ที่ใช้ในแฟ้ม List.vk2, Tarn.vk2"));
    grid->addWidget(btnDosDrives, 4, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    connect(btnBrowseMIDI, &QPushButton::clicked, this, &FolderPanel::browseMidi);
    connect(btnBrowseLyric, &QPushButton::clicked, this, &FolderPanel::browseLyric);
    connect(btnBrowseCursor, &QPushButton::clicked, this, &FolderPanel::browseCursor);
    connect(btnBrowseMoveTo, &QPushButton::clicked, this, &FolderPanel::browseMoveTo);
    connect(btnDosDrives, &QPushButton::clicked, this, &FolderPanel::editDosDrives);
}

Folders FolderPanel::folders() const {
    return {txtMIDIPath->text().toStdString(), txtLyricPath->text().toStdString(),
            txtCursorPath->text().toStdString(), txtMoveTo->text().toStdString()};
}

void FolderPanel::setFolders(const Folders& folders) {
    txtMIDIPath->setText(QString::fromStdString(folders.midi));
    txtLyricPath->setText(QString::fromStdString(folders.lyric));
    txtCursorPath->setText(QString::fromStdString(folders.cursor));
    txtMoveTo->setText(QString::fromStdString(folders.moveTo));
}

void FolderPanel::browseInto(QLineEdit* box, const char* title) {
    const QString remembered = box->text();
    std::string chosen = context_.prompt->pickFolder(remembered.toStdString(), title);
    box->setText(chosen.empty() ? remembered : QString::fromStdString(chosen));
}

void FolderPanel::browseMidi() {
    browseInto(txtMIDIPath, "เลือกที่เก็บ MIDI");
}
void FolderPanel::browseLyric() {
    browseInto(txtLyricPath, "เลือกที่เก็บ Lyric");
}
void FolderPanel::browseCursor() {
    browseInto(txtCursorPath, "เลือกที่เก็บ Cursor");
}

void FolderPanel::browseMoveTo() {
    const std::string text = txtMoveTo->text().toStdString();
    // The user may have made or removed folders meanwhile.
    context_.fs->forgetIndexes();
    if (!context_.fs->isFolder(text)) {
        Answer answer =
            context_.prompt->ask(MessageIcon::Question, MessageButtons::YesNo,
                                 "ไม่พบโฟลเดอร์ที่ท่านอ้างถึง!\n\nท่านต้องการสร้างโฟลเดอร์ขึ้นมาใหม่หรือไม่?");
        if (answer == Answer::Yes) {
            // A full path is created as given; anything else gets the default folder in the
            // program folder. Only the last level is made; a failure shows later, when a run
            // needs the folder.
            if (!text.empty() && text.front() == '/')
                context_.fs->createFolder(text);
            else
                context_.fs->createFolder(joinPath(context_.programFolder, "Invalid Files"));
        }
    }
    browseInto(txtMoveTo, "เลือกที่เก็บแฟ้มที่จะย้ายไป");
}

void FolderPanel::saveSettings(SettingsStore& store) const {
    const Folders current = folders();
    store.writeString("Option", "MIDIPath", current.midi);
    store.writeString("Option", "LyricPath", current.lyric);
    store.writeString("Option", "CursorPath", current.cursor);
    store.writeString("Option", "MoveTo", current.moveTo);
}

DosDriveTable FolderPanel::dosDrives() const {
    return storedDosDrives(*context_.settings, context_.programFolder);
}

void FolderPanel::editDosDrives() {
    DosDrivesDialog dialog(dosDrives(), context_.programFolder, *context_.prompt, window());
    if (dialog.exec() == QDialog::Accepted) storeDosDrives(*context_.settings, dialog.drives());
}

}  // namespace dadaz
