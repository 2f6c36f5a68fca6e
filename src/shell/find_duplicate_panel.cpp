#include "shell/find_duplicate_panel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "shell/controls.h"

namespace dadaz {

FindDuplicatePanel::FindDuplicatePanel(QWidget* parent)
    : CaptionFrame(QStringLiteral("fraFindDuplicate"), QString::fromUtf8("ค้นหาเพลงซ้ำจากชื่อเพลง"),
                   parent) {
    radFindSong = makeOption(this, "radFindSong", "ชื่อเพลง", "ค้นหาเฉพาะชื่อเพลงที่ช้ำกัน");
    radFindSongArtist =
        makeOption(this, "radFindSongArtist", "ชื่อเพลงและชื่อศิลปิน", "ค้นหาทั้งชื่อเพลงและชื่อศิลปินที่ช้ำกัน");
    radFindSongMidi =
        makeOption(this, "radFindSongMidi", "ชื่อเพลงและ Midi", "ค้นหาจากชื่อเพลงและขนาดของไฟล์ Midi");
    radFindAll = makeOption(this, "radFindAll", "ทุกอย่าง", "ค้นหาเฉพาะเพลงที่ทุกอย่างเหมือนกัน");
    btnFindDuplicate = makeButton(this, "btnFindDuplicate", "เริ่มค้นหาเพลงซ้ำ");
    btnFindDuplicate->setMinimumWidth(140);
    lblSearchResult = makeLabel(this, "lblSearchResult", "ผลการค้นหา พบ");
    lblResultCounter = makeLabel(this, "lblResultCounter", "0 เพลง");
    lblSelected = makeLabel(this, "lblSelected", "เลือกลบ");
    lblSelectedCount = makeLabel(this, "lblSelectedCount", "0 เพลง");
    lstSearchResult = makeList(this, "lstSearchResult",
                               "คำเตือน : กรุณาเลือกลบเพลงที่ไม่ต้องการเท่านั้น ในหนึ่งเพลง ห้ามลบออกทั้งหมด");
    lstSearchResult->setSelectionMode(QAbstractItemView::MultiSelection);
    picRemoveDuplicate = new ProgressBarWidget(QStringLiteral("picRemoveDuplicate"), this);
    picRemoveDuplicate->setColor(QColor(255, 128, 128));
    picRemoveDuplicate->setFixedSize(360, 26);
    txtLyricContent = makeTextArea(this, "txtLyricContent", "เนื้อเพลง");
    btnPlayMIDI = makeButton(this, "btnPlayMIDI", "เล่นเพลง");
    btnStopMIDI = makeButton(this, "btnStopMIDI", "หยุดเล่นเพลง");
    btnSaveSelect = makeButton(this, "btnSaveSelect", "บันทึกข้อมูลการเลือกเพลง");
    btnClear = makeButton(this, "btnClear", "ยกเลิกเพลงที่เลือกทั้งหมด");
    btnDeleteFile = makeButton(this, "btnDeleteFile", "ลบเพลงที่เลือกไว้ทั้งหมด");
    btnMoveFile = makeButton(this, "btnMoveFile", "ย้ายเพลงที่เลือกไว้ทั้งหมด");
    btnShowNewWindow = makeButton(this, "btnShowNewWindow", "แสดงผลการค้นหาในหน้าต่างใหม่ [F6]");

    auto* criteria = new QButtonGroup(this);
    for (QRadioButton* option : {radFindSong, radFindSongArtist, radFindSongMidi, radFindAll})
        criteria->addButton(option);
    radFindSong->setChecked(true);

    hideKeepingPlace({lblSelected, lblSelectedCount});
    picRemoveDuplicate->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{btnPlayMIDI, btnStopMIDI, btnSaveSelect, btnClear,
                                         btnDeleteFile, btnMoveFile, btnShowNewWindow})
        w->setEnabled(false);

    auto* criteriaRow = new QHBoxLayout;
    for (QRadioButton* option : {radFindSong, radFindSongArtist, radFindSongMidi, radFindAll})
        criteriaRow->addWidget(option);
    criteriaRow->addStretch();
    criteriaRow->addWidget(btnFindDuplicate);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(lblSearchResult);
    countRow->addWidget(lblResultCounter);
    countRow->addStretch();
    countRow->addWidget(lblSelected);
    countRow->addWidget(lblSelectedCount);

    // The removal's progress box lies centred over the list.
    auto* listArea = new QGridLayout;
    listArea->addWidget(lstSearchResult, 0, 0);
    listArea->addWidget(picRemoveDuplicate, 0, 0, Qt::AlignCenter);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(countRow);
    left->addLayout(listArea, 1);
    middle->addLayout(left, 3);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QString::fromUtf8("เนื้อเพลง"), this));
    right->addWidget(txtLyricContent, 1);
    middle->addLayout(right, 2);

    auto* buttons = new QGridLayout;
    buttons->addWidget(btnPlayMIDI, 0, 0);
    buttons->addWidget(btnStopMIDI, 0, 1);
    buttons->addWidget(btnShowNewWindow, 0, 2, 1, 2);
    buttons->addWidget(btnSaveSelect, 1, 0);
    buttons->addWidget(btnClear, 1, 1);
    buttons->addWidget(btnDeleteFile, 1, 2);
    buttons->addWidget(btnMoveFile, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(criteriaRow);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
}

}  // namespace dadaz
