#include "shell/progress_bar_widget.h"

#include <QFontMetrics>
#include <QPainter>

namespace dadaz {

ProgressBarWidget::ProgressBarWidget(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setMinimumHeight(20);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void ProgressBarWidget::setColor(const QColor& color) {
    color_ = color;
    update();
}

void ProgressBarWidget::setProgress(long done, long total, const QString& text) {
    done_ = done;
    total_ = total;
    shownText_ = QString::fromStdString(progressText(text.toStdString(), done, total));
    repaint();
}

void ProgressBarWidget::clear() {
    done_ = 0;
    total_ = 0;
    shownText_.clear();
    repaint();
}

int ProgressBarWidget::barWidth() const {
    if (total_ <= 0) return 0;
    double share = static_cast<double>(done_) / static_cast<double>(total_);
    return static_cast<int>(width() * std::min(share, 1.0));
}

void ProgressBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.fillRect(0, 0, barWidth(), height(), color_);
    if (shownText_.isEmpty()) return;
    QFontMetrics metrics(font());
    int x = width() / 2 - metrics.horizontalAdvance(shownText_) / 2;
    // Top of the text at height / 2.25 less half the height of "0", as the runs always drew it.
    int top = static_cast<int>(height() / 2.25 -
                               metrics.boundingRect(QStringLiteral("0")).height() / 2.0);
    painter.setPen(Qt::black);
    painter.drawText(x, top + metrics.ascent(), shownText_);
}

void WidgetProgressSink::progress(long done, long total, const std::string& text) {
    if (bar_) bar_->setProgress(done, total, QString::fromStdString(text));
}

void WidgetProgressSink::barColour(std::uint32_t rgb) {
    if (bar_) bar_->setColor(QColor::fromRgb(static_cast<QRgb>(rgb)));
}

void WidgetProgressSink::status(const std::string& text) {
    if (!status_) return;
    status_->setText(QString::fromStdString(text));
    status_->repaint();
}

}  // namespace dadaz
