#pragma once

#include <QColor>
#include <QHash>
#include <QLabel>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace dadaz {

// clsToolTip: one tooltip window for a form, showing the long several-line help texts of the
// form's controls (tools) wrapped at a maximum width. Every operation does nothing (false, 0
// or an empty text) until create() made the window.
class ToolTip : public QObject {
    Q_OBJECT
  public:
    // Kinds of delay, as delayTime() takes them (only the two lowest bits count).
    enum Delay { Automatic = 0, Reshow = 1, AutoPop = 2, Initial = 3 };
    // Sides of margin().
    enum Side { Left = 0, Top = 1, Right = 2, Bottom = 3 };

    explicit ToolTip(QObject* parent = nullptr);
    ~ToolTip() override;

    // Makes the tooltip window on `form` once; true when it exists.
    bool create(QWidget* form);
    // The tooltip window (null before create()).
    QWidget* tipWindow() const { return window_; }

    // Registers a control; false when there is no window, no control, or it is registered
    // already (its text then stays as it was). A non-empty text becomes its tool text.
    bool addTool(QWidget* control, const QString& text = {});
    bool removeTool(QWidget* control);
    bool hasToolTip(QWidget* control) const;
    int toolCount() const;
    // Empty when the control is not registered.
    QString toolText(QWidget* control) const;
    // A non-empty text replaces the tool's text (the header first when it shows); an empty
    // text removes the tool.
    void setToolText(QWidget* control, const QString& text);

    QString toolTipHeader() const { return header_; }
    // Also turns the header on.
    void setToolTipHeader(const QString& header);
    bool toolTipHeaderShow() const { return showHeader_; }
    void setToolTipHeaderShow(bool show) { showHeader_ = show; }

    QColor backColor() const;
    void setBackColor(const QColor& colour);
    QColor foreColor() const;
    void setForeColor(const QColor& colour);
    // Milliseconds; setting Automatic sets the other three from it.
    int delayTime(int type) const;
    void setDelayTime(int type, int milliseconds);
    // Pixels between the window's edge and its text.
    int margin(int side) const;
    void setMargin(int side, int pixels);
    // Texts wrap at this width in pixels; -1 means no limit (set by any width below 1).
    int maxTipWidth() const;
    void setMaxTipWidth(int width);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString withHeader(const QString& text) const;
    void setText(QWidget* control, const QString& text);
    void show();
    void hide();

    QPointer<QLabel> window_;
    QHash<QWidget*, QString> tools_;
    QString header_;
    bool showHeader_ = false;
    int maxWidth_ = -1;
    QMargins margins_;
    int initialMs_ = 500;
    int reshowMs_ = 100;
    QTimer* waitTimer_;           // the initial or reshow delay of the tool under the mouse
    QTimer* autoPopTimer_;        // how long a shown tip stays
    QWidget* pending_ = nullptr;  // the tool the mouse rests on
};

}  // namespace dadaz
