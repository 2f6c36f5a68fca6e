#pragma once

#include <QButtonGroup>
#include <QRadioButton>

#include "shell/caption_frame.h"

namespace dadaz {

enum class Mode { AddRenameLister, SongSearch, FindDuplicate };

// fraSelector: the three mode option buttons.
class SelectorPanel : public CaptionFrame {
    Q_OBJECT
  public:
    explicit SelectorPanel(QWidget* parent = nullptr);

    QRadioButton* option(Mode mode) const;
    Mode current() const;

    QRadioButton* radAddRenameLister;
    QRadioButton* radSongSearch;
    QRadioButton* radFindDuplicate;

  signals:
    // An option button became selected (by a click, a key or the program).
    void modeSelected(Mode mode);

  private:
    QButtonGroup* group_;
};

}  // namespace dadaz
