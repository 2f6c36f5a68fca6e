#pragma once

#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "platform/progress.h"

namespace dadaz {

// The progress box of a long run: a box filled from the left to width x done / total in the
// run's colour, with "text NN %" centred over it.
class ProgressBarWidget : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressBarWidget(const QString& objectName, QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor color() const { return color_; }
    // Draws at once (runs call this between files, with the event loop not running).
    void setProgress(long done, long total, const QString& text);
    void clear();

    long done() const { return done_; }
    long total() const { return total_; }
    // What the box shows: the run's text, the whole percentage and " %".
    QString shownText() const { return shownText_; }
    // Width of the filled part in pixels.
    int barWidth() const;

    QSize sizeHint() const override { return {300, 22}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_{255, 255, 192};
    long done_ = 0;
    long total_ = 0;
    QString shownText_;
};

// Sends a run's progress to its box and its status texts to a label (either may be missing).
class WidgetProgressSink : public ProgressSink {
  public:
    WidgetProgressSink(ProgressBarWidget* bar, QLabel* status) : bar_(bar), status_(status) {}
    void progress(long done, long total, const std::string& text) override;
    void status(const std::string& text) override;
    void barColour(std::uint32_t rgb) override;

  private:
    QPointer<ProgressBarWidget> bar_;
    QPointer<QLabel> status_;
};

}  // namespace dadaz
