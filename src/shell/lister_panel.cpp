#include "shell/lister_panel.h"

#include <QGridLayout>

#include "shell/controls.h"

namespace dadaz {

ListerPanel::ListerPanel(QWidget* parent)
    : CaptionFrame(QStringLiteral("fraLister"), QString::fromUtf8("สร้างรายการเพลง"), parent) {
    lblLister = makeLabel(this, "lblLister", "สร้างรายการเพลง (เรียงลำดับตามชื่อเพลง)");
    btnStopLister = makeButton(this, "btnStopLister", "หยุด");
    btnLister = makeButton(this, "btnLister", "เริ่ม");
    btnSongBook = makeButton(this, "btnSongBook", "สมุดรายชื่อเพลง");
    lblListerProgress = makeLabel(this, "lblListerProgress", "ความคืบหน้า");
    picListerProgress = new ProgressBarWidget(QStringLiteral("picListerProgress"), this);
    picListerProgress->setColor(QColor(192, 192, 255));
    lblOperate = makeLabel(this, "lblOperate", "กำลังทำงานอยู่ที่เพลง");
    lblCurrentSong = makeLabel(this, "lblCurrentSong", {});
    hideKeepingPlace({lblListerProgress, picListerProgress, lblOperate, lblCurrentSong});
    btnLister->setMinimumWidth(90);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblLister, 0, 0, 1, 2);
    grid->addWidget(btnStopLister, 0, 2);
    grid->addWidget(btnLister, 0, 2);
    btnLister->raise();
    grid->addWidget(btnSongBook, 0, 3);
    grid->addWidget(lblListerProgress, 1, 0);
    grid->addWidget(picListerProgress, 1, 1, 1, 2);
    grid->addWidget(lblOperate, 2, 0);
    grid->addWidget(lblCurrentSong, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);
}

}  // namespace dadaz
