#include "ui/tool_tip.h"

#include <QCursor>
#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace dadaz {

namespace {

// Where the tip appears: below and right of the mouse pointer, as the platform's tips do.
constexpr QPoint kOffsetFromCursor(2, 18);

}  // namespace

ToolTip::ToolTip(QObject* parent)
    : QObject(parent), waitTimer_(new QTimer(this)), autoPopTimer_(new QTimer(this)) {
    waitTimer_->setSingleShot(true);
    autoPopTimer_->setSingleShot(true);
    autoPopTimer_->setObjectName(QStringLiteral("autoPopTimer"));
    autoPopTimer_->setInterval(5000);
    connect(waitTimer_, &QTimer::timeout, this, &ToolTip::show);
    connect(autoPopTimer_, &QTimer::timeout, this, &ToolTip::hide);
}

ToolTip::~ToolTip() {
    delete window_.data();
}

bool ToolTip::create(QWidget* form) {
    if (window_) return true;
    if (!form) return false;
    window_ = new QLabel(form, Qt::ToolTip | Qt::BypassGraphicsProxyWidget);
    window_->setObjectName(QStringLiteral("clsToolTip"));
    window_->setForegroundRole(QPalette::ToolTipText);
    window_->setBackgroundRole(QPalette::ToolTipBase);
    window_->setAutoFillBackground(true);
    window_->setFrameStyle(QFrame::Box | QFrame::Plain);
    window_->setTextFormat(Qt::PlainText);
    window_->setIndent(0);
    window_->setMargin(3);
    return true;
}

bool ToolTip::addTool(QWidget* control, const QString& text) {
    if (!window_ || !control || hasToolTip(control)) return false;
    tools_.insert(control, {});
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] {
        tools_.remove(control);
        if (pending_ == control) hide();
    });
    if (!text.isEmpty()) setText(control, text);
    return true;
}

bool ToolTip::removeTool(QWidget* control) {
    if (!window_ || !tools_.remove(control)) return false;
    control->removeEventFilter(this);
    disconnect(control, nullptr, this, nullptr);
    if (pending_ == control) hide();
    return true;
}

bool ToolTip::hasToolTip(QWidget* control) const {
    return window_ && tools_.contains(control);
}

int ToolTip::toolCount() const {
    return window_ ? static_cast<int>(tools_.size()) : 0;
}

QString ToolTip::toolText(QWidget* control) const {
    return window_ ? tools_.value(control) : QString();
}

void ToolTip::setToolText(QWidget* control, const QString& text) {
    if (text.isEmpty())
        removeTool(control);
    else
        setText(control, text);
}

void ToolTip::setText(QWidget* control, const QString& text) {
    if (!hasToolTip(control)) return;
    tools_[control] = withHeader(text);
    if (pending_ == control && window_->isVisible()) show();
}

QString ToolTip::withHeader(const QString& text) const {
    if (!showHeader_ || header_.isEmpty()) return text;
    return header_ + QLatin1Char('\n') + text;
}

void ToolTip::setToolTipHeader(const QString& header) {
    header_ = header;
    showHeader_ = true;
}

QColor ToolTip::backColor() const {
    return window_ ? window_->palette().color(QPalette::ToolTipBase) : QColor();
}

void ToolTip::setBackColor(const QColor& colour) {
    if (!window_) return;
    QPalette palette = window_->palette();
    palette.setColor(QPalette::ToolTipBase, colour);
    window_->setPalette(palette);
}

QColor ToolTip::foreColor() const {
    return window_ ? window_->palette().color(QPalette::ToolTipText) : QColor();
}

void ToolTip::setForeColor(const QColor& colour) {
    if (!window_) return;
    QPalette palette = window_->palette();
    palette.setColor(QPalette::ToolTipText, colour);
    window_->setPalette(palette);
}

int ToolTip::delayTime(int type) const {
    if (!window_) return 0;
    switch (type & 3) {
        case Reshow:
            return reshowMs_;
        case AutoPop:
            return autoPopTimer_->interval();
        default:
            return initialMs_;
    }
}

void ToolTip::setDelayTime(int type, int milliseconds) {
    if (!window_) return;
    milliseconds = std::max(milliseconds, 0);
    switch (type & 3) {
        case Automatic:
            initialMs_ = milliseconds;
            reshowMs_ = milliseconds / 5;
            autoPopTimer_->setInterval(milliseconds * 10);
            break;
        case Reshow:
            reshowMs_ = milliseconds;
            break;
        case AutoPop:
            autoPopTimer_->setInterval(milliseconds);
            break;
        case Initial:
            initialMs_ = milliseconds;
            break;
    }
}

int ToolTip::margin(int side) const {
    if (!window_) return 0;
    switch (side) {
        case Left:
            return margins_.left();
        case Top:
            return margins_.top();
        case Right:
            return margins_.right();
        case Bottom:
            return margins_.bottom();
    }
    return 0;
}

void ToolTip::setMargin(int side, int pixels) {
    if (!window_) return;
    switch (side) {
        case Left:
            margins_.setLeft(pixels);
            break;
        case Top:
            margins_.setTop(pixels);
            break;
        case Right:
            margins_.setRight(pixels);
            break;
        case Bottom:
            margins_.setBottom(pixels);
            break;
        default:
            return;
    }
    window_->setContentsMargins(margins_);
}

int ToolTip::maxTipWidth() const {
    return window_ ? maxWidth_ : 0;
}

void ToolTip::setMaxTipWidth(int width) {
    if (!window_) return;
    maxWidth_ = width < 1 ? -1 : width;
}

bool ToolTip::eventFilter(QObject* watched, QEvent* event) {
    auto* control = static_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::Enter: {
            if (tools_.value(control).isEmpty()) break;
            // Moving on from a tip that shows brings the next one up sooner.
            const bool showing = window_ && window_->isVisible();
            hide();
            pending_ = control;
            waitTimer_->start(showing ? reshowMs_ : initialMs_);
            break;
        }
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Hide:
            if (pending_ == control) hide();
            break;
        case QEvent::ToolTip:
            // The tool's own tip window answers, not the widget's plain tooltip.
            return !tools_.value(control).isEmpty();
        default:
            break;
    }
    return false;
}

void ToolTip::show() {
    if (!window_ || !pending_ || !pending_->isVisible()) return;
    const QString text = tools_.value(pending_);
    if (text.isEmpty()) return;
    window_->setText(text);
    // Lines longer than the maximum width wrap at word boundaries within it.
    window_->setWordWrap(false);
    window_->setMinimumSize(0, 0);
    window_->setMaximumWidth(QWIDGETSIZE_MAX);
    window_->adjustSize();
    if (maxWidth_ > 0 && window_->width() > maxWidth_) {
        window_->setWordWrap(true);
        window_->setFixedWidth(maxWidth_);
        window_->setMinimumHeight(window_->heightForWidth(maxWidth_));
    }
    window_->adjustSize();
    QPoint position = QCursor::pos() + kOffsetFromCursor;
    if (const QScreen* screen = pending_->screen()) {
        const QRect area = screen->availableGeometry();
        position.setX(std::min(position.x(), area.right() - window_->width()));
        position.setY(std::min(position.y(), area.bottom() - window_->height()));
    }
    window_->move(position);
    window_->show();
    autoPopTimer_->start();
}

void ToolTip::hide() {
    waitTimer_->stop();
    autoPopTimer_->stop();
    pending_ = nullptr;
    if (window_) window_->hide();
}

}  // namespace dadaz
