#include <QLineEdit>
#include <QtTest>

#include "gui/window_fixture.h"
#include "shell/tooltips.h"
#include "ui/tool_tip.h"

using namespace dadaz;
using namespace dadaz::testing;

namespace {

// Rests the mouse on a control and waits for its tip.
QLabel* hover(ToolTip& tips, QWidget* control) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), control->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(control, &enter);
    auto* window = static_cast<QLabel*>(tips.tipWindow());
    if (!QTest::qWaitFor([&] { return window->isVisible(); })) return nullptr;
    return window;
}

}  // namespace

class ToolTipTest : public QObject {
    Q_OBJECT

  private slots:
    void registeringTextsAndWidths() {
        QWidget form;
        auto* box = new QLineEdit(&form);
        auto* other = new QLineEdit(&form);
        ToolTip tips;
        QVERIFY(!tips.addTool(box, QStringLiteral("early")));  // no window yet
        QCOMPARE(tips.toolCount(), 0);
        QVERIFY(tips.create(&form));
        QVERIFY(tips.addTool(box, QStringLiteral("first")));
        // Registered already: refused, the text stays.
        QVERIFY(!tips.addTool(box, QStringLiteral("second")));
        QCOMPARE(tips.toolText(box), QStringLiteral("first"));
        tips.setToolTipHeader(QStringLiteral("Head"));
        QVERIFY(tips.addTool(other, QStringLiteral("text")));
        QCOMPARE(tips.toolText(other), QStringLiteral("Head\ntext"));
        QCOMPARE(tips.toolCount(), 2);
        // An empty text removes the tool.
        tips.setToolText(box, {});
        QVERIFY(!tips.hasToolTip(box));
        QCOMPARE(tips.toolText(box), QString());
        QCOMPARE(tips.toolCount(), 1);
        delete other;
        QCOMPARE(tips.toolCount(), 0);

        // A width below 1 means no limit: a long line is not wrapped.
        tips.setMaxTipWidth(0);
        QCOMPARE(tips.maxTipWidth(), -1);
        tips.setDelayTime(ToolTip::Initial, 0);
        tips.setToolTipHeaderShow(false);
        tips.addTool(box, QString(80, QLatin1Char('w')) + QStringLiteral(" end"));
        form.show();
        QLabel* shown = hover(tips, box);
        QVERIFY(shown);
        QVERIFY(shown->width() > 240);
        QVERIFY(!shown->wordWrap());
    }

    void theMainWindowsHelpTextsWrapAt240AndStay20Seconds() {
        WindowFixture f;
        f.window->show();
        ToolTip& tips = f.window->toolTips();
        // Every control of the window can carry a tip.
        for (const char* name : {"txtMIDIPath", "btnBrowseMoveTo", "radSongSearch", "fraFolder",
                                 "lstSongSearch", "chkSearchAll", "lblSongSearchResult"})
            QVERIFY2(tips.hasToolTip(f.get(name)), name);
        QCOMPARE(tips.delayTime(ToolTip::AutoPop), 20000);
        tips.setDelayTime(ToolTip::Initial, 0);
        int shownTips = 0;
        for (Mode mode : {Mode::AddRenameLister, Mode::SongSearch}) {
            f.window->selectMode(mode);
            for (const auto& [name, text] : mainWindowHelpTexts()) {
                QWidget* control = f.get(name.toLatin1().constData());
                QCOMPARE(tips.toolText(control), text);
                if (!control->isVisible()) continue;
                ++shownTips;
                QLabel* shown = hover(tips, control);
                QVERIFY2(shown, qPrintable(name));
                QCOMPARE(shown->text(), text);
                QVERIFY(shown->width() <= 240);
                auto* stay = tips.findChild<QTimer*>(QStringLiteral("autoPopTimer"));
                QVERIFY(stay->isActive() && stay->interval() == 20000);
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(control, &leave);
                QVERIFY(!shown->isVisible());
            }
        }
        QCOMPARE(shownTips, int(mainWindowHelpTexts().size()));
        // The search box's text has 7 lines; at 240 pixels it takes more.
        QLabel* search = hover(tips, f.get("txtSongSearch"));
        QVERIFY(search->height() > 10 * search->fontMetrics().lineSpacing());
    }
};

QTEST_MAIN(ToolTipTest)
#include "tooltip_test.moc"
