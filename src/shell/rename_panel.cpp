#include "shell/rename_panel.h"

#include <QGridLayout>

#include "shell/controls.h"

namespace dadaz {

RenamePanel::RenamePanel(QWidget* parent)
    : CaptionFrame(QStringLiteral("fraRename"), QString::fromUtf8("เปลี่ยนชื่อแฟ้มหรือรหัสเพลง"), parent) {
    auto* digitLabel = new QLabel(QString::fromUtf8("จำนวนหลัก"), this);
    txtRenameDigit = makeTextBox(this, "txtRenameDigit", "6");
    chkCustomPattern = makeCheckBox(this, "chkCustomPattern", "รูปแบบชื่อแฟ้ม (รหัสเพลง)");
    txtCustomPattern = makeTextBox(this, "txtCustomPattern", "000000");
    chkLeaveDigit = makeCheckBox(this, "chkLeaveDigit", "ยกเว้นการเปลี่ยนชื่อแฟ้ม กับ");
    txtLeaveDigit = makeTextBox(this, "txtLeaveDigit", "3");
    auto* leaveLabel = new QLabel(QString::fromUtf8("ตัวอักษรแรกของรหัสเดิม"), this);
    btnStopRename = makeButton(this, "btnStopRename", "หยุด");
    btnRename = makeButton(this, "btnRename", "เริ่ม");
    lblRenameProgress = makeLabel(this, "lblRenameProgress", "ความคืบหน้า");
    picRenameProgress = new ProgressBarWidget(QStringLiteral("picRenameProgress"), this);

    txtCustomPattern->setEnabled(false);
    txtLeaveDigit->setEnabled(false);
    hideKeepingPlace({lblRenameProgress, picRenameProgress});
    for (QLineEdit* box : {txtRenameDigit, txtLeaveDigit}) box->setMaximumWidth(50);
    txtCustomPattern->setMaximumWidth(140);
    btnRename->setMinimumWidth(90);

    auto* grid = new QGridLayout(this);
    grid->addWidget(digitLabel, 0, 0);
    grid->addWidget(txtRenameDigit, 0, 1);
    grid->addWidget(chkCustomPattern, 1, 0);
    grid->addWidget(txtCustomPattern, 1, 1, 1, 2);
    grid->addWidget(chkLeaveDigit, 2, 0);
    grid->addWidget(txtLeaveDigit, 2, 1);
    grid->addWidget(leaveLabel, 2, 2);
    grid->addWidget(btnStopRename, 0, 4, 2, 1);
    grid->addWidget(btnRename, 0, 4, 2, 1);
    btnRename->raise();
    grid->addWidget(lblRenameProgress, 3, 0);
    grid->addWidget(picRenameProgress, 3, 1, 1, 4);
    grid->setColumnStretch(3, 1);
}

}  // namespace dadaz
