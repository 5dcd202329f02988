#include <QtTest>

#include "views/widgets/busyindicatoroverlay.h"

class BusyOverlay : public QObject
{
    Q_OBJECT

private slots:
    void theOverlayLetsMouseEventsThrough()
    {
        BusyIndicatorOverlay overlay;
        QVERIFY(overlay.testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void switchingOffHidesTheIndicatorAndOnShowsItAgain()
    {
        QWidget pane;
        auto *overlay = new BusyIndicatorOverlay(&pane);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QVERIFY(overlay->isIndicatorVisible());
        overlay->setActive(false);
        QVERIFY(!overlay->isIndicatorVisible());
        QVERIFY(overlay->isVisible());
        overlay->setActive(true);
        QVERIFY(overlay->isIndicatorVisible());
    }
};

QTEST_MAIN(BusyOverlay)
#include "test_busy_overlay.moc"
