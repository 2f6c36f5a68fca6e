#include "shell/selector_panel.h"

#include <QVBoxLayout>

#include "shell/controls.h"

namespace dadaz {

SelectorPanel::SelectorPanel(QWidget* parent)
    : CaptionFrame(QStringLiteral("fraSelector"), QString::fromUtf8("เลือกรายการ"), parent) {
    radAddRenameLister =
        makeOption(this, "radAddRenameLister", "เพิ่มเพลง / เปลี่ยนรหัสเพลง / สร้างรายการเพลง",
                   "เพิ่มเพลง / เปลี่ยนชื่อเพลง / สร้างรายการเพลง [F3]");
    radSongSearch = makeOption(this, "radSongSearch", "แสดงและค้นหาเพลง", "แสดงและค้นหาเพลง [F4]");
    radFindDuplicate =
        makeOption(this, "radFindDuplicate", "ค้นหาเพลงซ้ำจากชื่อเพลง", "ค้นหาเพลงซ้ำจากชื่อเพลง [F5]");
    group_ = new QButtonGroup(this);
    group_->addButton(radAddRenameLister, static_cast<int>(Mode::AddRenameLister));
    group_->addButton(radSongSearch, static_cast<int>(Mode::SongSearch));
    group_->addButton(radFindDuplicate, static_cast<int>(Mode::FindDuplicate));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(radAddRenameLister);
    layout->addWidget(radSongSearch);
    layout->addWidget(radFindDuplicate);

    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) emit modeSelected(static_cast<Mode>(id));
    });
}

QRadioButton* SelectorPanel::option(Mode mode) const {
    switch (mode) {
        case Mode::AddRenameLister:
            return radAddRenameLister;
        case Mode::SongSearch:
            return radSongSearch;
        case Mode::FindDuplicate:
            return radFindDuplicate;
    }
    return radAddRenameLister;
}

Mode SelectorPanel::current() const {
    int id = group_->checkedId();
    return id < 0 ? Mode::AddRenameLister : static_cast<Mode>(id);
}

}  // namespace dadaz
