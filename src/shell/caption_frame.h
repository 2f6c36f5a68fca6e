#pragma once

#include <QColor>
#include <QGroupBox>

namespace dadaz {

// A frame with a caption, as the main window's panels have. It reports clicks, double clicks
// and the mouse coming over it, and its caption colour can be changed on its own.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
  public:
    CaptionFrame(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    void setCaptionColor(const QColor& color);
    QColor captionColor() const { return captionColor_; }

  signals:
    void clicked();
    void doubleClicked();
    void mouseOver();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

  private:
    QColor captionColor_;
};

}  // namespace dadaz
