#include "shell/song_search_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "shell/controls.h"

namespace dadaz {

SongSearchPanel::SongSearchPanel(QWidget* parent)
    : CaptionFrame(QStringLiteral("fraSongSearch"), QString::fromUtf8("แสดงและค้นหาเพลง"), parent) {
    txtSongSearch = makeTextBox(this, "txtSongSearch");
    chkSearchAll = makeCheckBox(this, "chkSearchAll", "ค้นหาทุกส่วน", "ค้นหาทุกส่วน [F7]");
    chkSearchLyric = makeCheckBox(this, "chkSearchLyric", "ค้นหาในเนื้อเพลง", "ค้นหาในเนื้อเพลง [F8]");
    btnCancelSearch = makeButton(this, "btnCancelSearch", "ยกเลิก");
    cboArtist = makeComboBox(this, "cboArtist");
    lstSongSearch = new SongLineList(this);
    lstSongSearch->setObjectName(QStringLiteral("lstSongSearch"));
    lblSongSearchResult = makeLabel(this, "lblSongSearchResult", {});
    txtLoadingSong = makeTextBox(this, "txtLoadingSong", "กำลังโหลดฐานข้อมูลเพลง,  กรุณารอสักครู่...");
    txtLoadingSong->setReadOnly(true);
    btnPreviousPage = makeButton(this, "btnPreviousPage", "หน้าที่แล้ว");
    lblPage = makeLabel(this, "lblPage", {});
    btnNextPage = makeButton(this, "btnNextPage", "หน้าต่อไป");

    txtSongContent = makeTextArea(this, "txtSongContent");
    lstSongContent = makeList(this, "lstSongContent", "เนื้อเพลง");
    txtEditLyric = makeTextBox(this, "txtEditLyric", {}, "เนื้อเพลงใหม่ ที่ต้องการแก้ไข");
    txtEditLyric->setReadOnly(true);
    btnAcceptEdit = makeButton(this, "btnAcceptEdit", "แก้ไข", "แก้ไขเนื้อเพลงใหม่");
    txtBeforeEdit = makeTextBox(this, "txtBeforeEdit", {}, "จำนวนตัวอักษรในเนื้อเพลงก่อนแก้ไข");
    txtAfterEdit = makeTextBox(this, "txtAfterEdit", {}, "จำนวนตัวอักษรในเนื้อเพลงขณะนี้");
    for (QLineEdit* box : {txtBeforeEdit, txtAfterEdit}) {
        box->setReadOnly(true);
        box->setMaximumWidth(70);
        box->setAlignment(Qt::AlignCenter);
    }
    btnCancelEdit = makeButton(this, "btnCancelEdit", "ยกเลิก", "ยกเลิกการแก้ไขเนื้อเพลง");
    btnLyricSave = makeButton(this, "btnLyricSave", "บันทึก", "บันทึกข้อมูลที่แก้ไขแล้ว");

    btnPlaySong = makeButton(this, "btnPlaySong", "เล่นเพลง");
    btnStopSong = makeButton(this, "btnStopSong", "หยุดเล่นเพลง");
    btnEditLyric = makeButton(this, "btnEditLyric", "แก้ไขเนื้อเพลง", "แก้ไขเนื้อเพลงที่เลือก");
    btnReplaceSong = makeButton(this, "btnReplaceSong", "แทนที่", "แทนที่เพลงที่เลือกด้วย...");
    btnMoveSong = makeButton(this, "btnMoveSong", "ย้าย", "ย้ายเพลงที่เลือกออกจากระบบ");
    btnDeleteSong = makeButton(this, "btnDeleteSong", "ลบ", "ลบเพลงที่เลือกออกจากระบบ");
    btnExportSong = makeButton(this, "btnExportSong", "ส่งออก", "ส่งออกเพลงที่เลือกไปยัง...");
    btnAddSelectList = makeButton(this, "btnAddSelectList", "เพิ่มในรายการโปรด",
                                  "เพิ่มเพลงที่เลือกไว้ในแฟ้มบันทึกรายการเพลงโปรด");
    btnOpenSelectList = makeButton(this, "btnOpenSelectList", "เปิดรายการโปรด",
                                   "เปิดแฟ้มที่บันทึกรายการเพลงโปรดที่เลือกไว้แล้ว");
    chkConfirmRemove = makeCheckBox(this, "chkConfirmRemove", "ยืนยันแทนที่, ย้าย, ลบแฟ้ม");

    // Shown by the runs and the selection when they have something to show.
    for (QWidget* w :
         std::initializer_list<QWidget*>{btnCancelSearch, cboArtist, txtLoadingSong, lstSongContent,
                                         txtEditLyric, btnAcceptEdit, txtBeforeEdit, txtAfterEdit})
        w->hide();
    hideKeepingPlace({lblSongSearchResult, btnPreviousPage, lblPage, btnNextPage});
    for (QWidget* w : std::initializer_list<QWidget*>{
             btnCancelEdit, btnLyricSave, btnPlaySong, btnStopSong, btnEditLyric, btnReplaceSong,
             btnMoveSong, btnDeleteSong, btnExportSong, btnAddSelectList})
        w->setEnabled(false);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(txtSongSearch, 1);
    searchRow->addWidget(chkSearchAll);
    searchRow->addWidget(chkSearchLyric);
    searchRow->addWidget(btnCancelSearch);

    auto* left = new QVBoxLayout;
    left->addWidget(cboArtist);
    left->addWidget(lstSongSearch, 1);
    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(lblSongSearchResult, 1);
    resultRow->addWidget(txtLoadingSong, 1);
    resultRow->addWidget(btnPreviousPage);
    resultRow->addWidget(lblPage);
    resultRow->addWidget(btnNextPage);
    left->addLayout(resultRow);

    auto* right = new QVBoxLayout;
    right->addWidget(txtSongContent, 1);
    right->addWidget(lstSongContent, 1);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(txtEditLyric, 1);
    editRow->addWidget(btnAcceptEdit);
    right->addLayout(editRow);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(txtBeforeEdit);
    countRow->addWidget(txtAfterEdit);
    countRow->addStretch();
    countRow->addWidget(btnCancelEdit);
    countRow->addWidget(btnLyricSave);
    right->addLayout(countRow);

    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 11);
    middle->addLayout(right, 9);

    auto* buttons = new QGridLayout;
    QPushButton* row1[] = {btnPlaySong, btnStopSong, btnEditLyric, btnReplaceSong, btnMoveSong};
    QPushButton* row2[] = {btnDeleteSong, btnExportSong, btnAddSelectList, btnOpenSelectList};
    for (int i = 0; i < 5; ++i) buttons->addWidget(row1[i], 0, i);
    for (int i = 0; i < 4; ++i) buttons->addWidget(row2[i], 1, i);
    buttons->addWidget(chkConfirmRemove, 1, 4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
}

}  // namespace dadaz
