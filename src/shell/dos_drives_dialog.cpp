#include "shell/dos_drives_dialog.h"

#include <QGridLayout>
#include <QLabel>

#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "shell/controls.h"

namespace dadaz {

namespace {
constexpr const char* kSection = "Option";
constexpr const char* kKey = "DosDrives";
}  // namespace

DosDriveTable storedDosDrives(const SettingsStore& settings, const std::string& programFolder) {
    return DosDriveTable::fromSetting(settings.readString(kSection, kKey).value_or(""),
                                      programFolder);
}

void storeDosDrives(SettingsStore& settings, const DosDriveTable& drives) {
    settings.writeString(kSection, kKey, drives.setting());
}

DosDrivesDialog::DosDrivesDialog(DosDriveTable drives, std::string programFolder, Prompt& prompt,
                                 QWidget* parent)
    : QDialog(parent),
      drives_(std::move(drives)),
      programFolder_(std::move(programFolder)),
      prompt_(prompt) {
    setObjectName(QStringLiteral("frmDosDrives"));
    setWindowTitle(QString::fromUtf8("ไดรฟ์ของโปรแกรมคาราโอเกะ (DOS)"));
    auto* note = makeLabel(this, "lblDosDrives",
                           QString::fromUtf8("ที่เก็บแฟ้มในฐานข้อมูลเพลง (List.vk2, Tarn.vk2) "
                                             "ขึ้นต้นด้วยไดรฟ์เหล่านี้ ให้ mount ใน DOSBox ให้ตรงกัน\n"
                                             "ที่เก็บเพลงที่อยู่นอกทุกไดรฟ์ จะได้ไดรฟ์ว่างถัดไปโดยอัตโนมัติ"));
    note->setWordWrap(true);
    lstDosDrives = makeList(this, "lstDosDrives");
    cboDosDriveLetter = makeComboBox(this, "cboDosDriveLetter");
    cboDosDriveLetter->setToolTip(QString::fromUtf8("อักษรของไดรฟ์"));
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        cboDosDriveLetter->addItem(QString(QChar(letter)) + QLatin1Char(':'));
    }
    btnMapDosDrive = makeButton(this, "btnMapDosDrive", QString::fromUtf8("เลือกโฟลเดอร์..."),
                                QString::fromUtf8("เลือกโฟลเดอร์ของไดรฟ์นี้"));
    btnUnmapDosDrive = makeButton(this, "btnUnmapDosDrive", QString::fromUtf8("ลบไดรฟ์"),
                                  QString::fromUtf8("ลบไดรฟ์ที่เลือกในรายการ"));
    btnDefaultDosDrives = makeButton(this, "btnDefaultDosDrives", QString::fromUtf8("ค่าเริ่มต้น"),
                                     QString::fromUtf8("ไดรฟ์ C: คือที่เก็บโปรแกรมนี้"));
    btnOK = makeButton(this, "btnOK", QString::fromUtf8("ตกลง"));
    btnCancel = makeButton(this, "btnCancel", QString::fromUtf8("ยกเลิก"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(note, 0, 0, 1, 4);
    grid->addWidget(lstDosDrives, 1, 0, 1, 4);
    grid->addWidget(cboDosDriveLetter, 2, 0);
    grid->addWidget(btnMapDosDrive, 2, 1);
    grid->addWidget(btnUnmapDosDrive, 2, 2);
    grid->addWidget(btnDefaultDosDrives, 2, 3);
    grid->addWidget(btnOK, 3, 2);
    grid->addWidget(btnCancel, 3, 3);
    resize(520, 300);

    connect(btnMapDosDrive, &QPushButton::clicked, this, &DosDrivesDialog::mapChosenLetter);
    connect(btnUnmapDosDrive, &QPushButton::clicked, this, &DosDrivesDialog::unmapSelected);
    connect(btnDefaultDosDrives, &QPushButton::clicked, this, [this] {
        drives_ = DosDriveTable(programFolder_);
        showTable();
    });
    connect(lstDosDrives, &QListWidget::currentRowChanged, this,
            [this](int row) { btnUnmapDosDrive->setEnabled(row >= 0); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    showTable();
}

void DosDrivesDialog::showTable() {
    lstDosDrives->clear();
    for (const auto& [letter, folder] : drives_.drives()) {
        auto* item = new QListWidgetItem(QString(QChar(letter)) + QStringLiteral(": = ") +
                                         QString::fromStdString(folder));
        item->setData(Qt::UserRole, QChar(letter));
        lstDosDrives->addItem(item);
    }
    btnUnmapDosDrive->setEnabled(false);
    // Offer the letter a new drive would get.
    if (const char next = drives_.nextFreeLetter(); next != 0) {
        cboDosDriveLetter->setCurrentIndex(next - 'C');
    }
    // A table without drives would put no path at all into the database.
    btnOK->setEnabled(!drives_.drives().empty());
}

void DosDrivesDialog::mapChosenLetter() {
    const char letter = static_cast<char>('C' + cboDosDriveLetter->currentIndex());
    const auto mapped = drives_.drives().find(letter);
    const std::string start = mapped != drives_.drives().end() ? mapped->second : programFolder_;
    const std::string title = std::string("เลือกโฟลเดอร์ของไดรฟ์ ") + letter + ":";
    const std::string folder = prompt_.pickFolder(start, title);
    if (folder.empty()) return;
    drives_.map(letter, folder);
    showTable();
}

void DosDrivesDialog::unmapSelected() {
    const QListWidgetItem* item = lstDosDrives->currentItem();
    if (item == nullptr) return;
    drives_.unmap(item->data(Qt::UserRole).toChar().toLatin1());
    showTable();
}

}  // namespace dadaz
