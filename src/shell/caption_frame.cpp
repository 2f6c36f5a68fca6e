#include "shell/caption_frame.h"

#include <QMouseEvent>

namespace dadaz {

CaptionFrame::CaptionFrame(const QString& objectName, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent) {
    setObjectName(objectName);
    setMouseTracking(true);
    captionColor_ = palette().color(QPalette::WindowText);
}

void CaptionFrame::setCaptionColor(const QColor& color) {
    captionColor_ = color;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void CaptionFrame::mouseReleaseEvent(QMouseEvent* event) {
    QGroupBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void CaptionFrame::mouseDoubleClickEvent(QMouseEvent* event) {
    QGroupBox::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

void CaptionFrame::mouseMoveEvent(QMouseEvent* event) {
    QGroupBox::mouseMoveEvent(event);
    emit mouseOver();
}

void CaptionFrame::enterEvent(QEnterEvent* event) {
    QGroupBox::enterEvent(event);
    emit mouseOver();
}

}  // namespace dadaz
