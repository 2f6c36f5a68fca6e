#include <QImage>
#include <QLabel>
#include <QtTest>

#include "shell/progress_bar_widget.h"

using namespace dadaz;

class ProgressBarTest : public QObject {
    Q_OBJECT

  private slots:
    void fillsItsShareInTheRunsColour() {
        ProgressBarWidget bar(QStringLiteral("picAddSongProgress"));
        bar.setFixedSize(400, 24);
        bar.setColor(QColor(255, 255, 192));
        bar.show();
        bar.setProgress(1, 4, QString::fromUtf8("เพิ่มเพลงใหม่ "));
        QCOMPARE(bar.barWidth(), 100);
        QCOMPARE(bar.shownText(), QString::fromUtf8("เพิ่มเพลงใหม่ 25 %"));
        QImage picture = bar.grab().toImage();
        QCOMPARE(picture.pixelColor(2, 2), QColor(255, 255, 192));
        QCOMPARE(picture.pixelColor(98, 21), QColor(255, 255, 192));
        QCOMPARE(picture.pixelColor(102, 21), QColor(Qt::white));
        QCOMPARE(picture.pixelColor(398, 2), QColor(Qt::white));

        // The text lies centred: the middle columns hold dark pixels, the far ends do not.
        auto darkIn = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = 0; y < picture.height(); ++y)
                    if (picture.pixelColor(x, y).lightness() < 100) return true;
            return false;
        };
        QVERIFY(darkIn(180, 220));
        QVERIFY(!darkIn(0, 60));
        QVERIFY(!darkIn(340, 400));
    }

    void wholePercentAndOddTotals() {
        ProgressBarWidget bar(QStringLiteral("picListerProgress"));
        bar.setFixedSize(300, 20);
        bar.setProgress(2, 3, QStringLiteral("x "));
        QCOMPARE(bar.shownText(), QStringLiteral("x 66 %"));
        QCOMPARE(bar.barWidth(), 200);
        bar.setProgress(5, 0, QStringLiteral("x "));  // nothing to count: no division by zero
        QCOMPARE(bar.barWidth(), 0);
        bar.setProgress(7, 5, QStringLiteral("x "));  // a count past the total stays in the box
        QCOMPARE(bar.barWidth(), 300);
        bar.clear();
        QCOMPARE(bar.shownText(), QString());
    }

    void sinkDrawsTheBarAndTheStatusLabel() {
        ProgressBarWidget bar(QStringLiteral("picRenameProgress"));
        QLabel label;
        WidgetProgressSink sink(&bar, &label);
        sink.progress(50, 100, "เปลี่ยนชื่อแฟ้ม ");
        sink.status("00001     เพลงที่ 50 จาก 100");
        QCOMPARE(bar.shownText(), QString::fromUtf8("เปลี่ยนชื่อแฟ้ม 50 %"));
        QCOMPARE(label.text(), QString::fromUtf8("00001     เพลงที่ 50 จาก 100"));
        WidgetProgressSink nowhere(nullptr, nullptr);
        nowhere.progress(1, 2, "x");
        nowhere.status("y");
    }
};

QTEST_MAIN(ProgressBarTest)
#include "progress_bar_test.moc"
