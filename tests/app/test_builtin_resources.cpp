#include <QFile>
#include <QIcon>
#include <QMovie>
#include <QPixmap>
#include <QtTest>

// Every picture the window and its panes name must be linked into the program.
class BuiltinResources : public QObject
{
    Q_OBJECT

private slots:
    void everyIconLoadsAtSixteenAndThirtyTwoPixels_data()
    {
        QTest::addColumn<QString>("name");
        const char *names[] = {"AllSelected", "Brenlow32",       "Down",   "Fixture",
                               "Import",      "NothingSelected", "Up",     "cancel",
                               "channel_del", "channel_new",     "clone",  "download",
                               "fixture_del", "fixture_new",     "new",    "open",
                               "save",        "save_as",         "search", "upload"};
        for (const char *name : names)
            QTest::newRow(name) << QStringLiteral(":/pixmaps/%1.ico").arg(QLatin1String(name));
    }

    void everyIconLoadsAtSixteenAndThirtyTwoPixels()
    {
        QFETCH(QString, name);
        QVERIFY2(QFile::exists(name), qPrintable(name));
        QVERIFY(!QPixmap(name).isNull());
        const QList<QSize> sizes = QIcon(name).availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
        // A drawn icon has both opaque and transparent pixels at the smallest size.
        const QImage small = QIcon(name).pixmap(16, 16).toImage();
        bool opaque = false, clear = false;
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x) {
                const int alpha = qAlpha(small.pixel(x, y));
                opaque = opaque || alpha == 255;
                clear = clear || alpha == 0;
            }
        QVERIFY(opaque);
        QVERIFY(clear);
    }

    void theBusyAnimationHasSeveralFrames()
    {
        QMovie movie(QStringLiteral(":/pixmaps/ajax-loader.gif"));
        QVERIFY(movie.isValid());
        QVERIFY(movie.frameCount() >= 8);
        QVERIFY(movie.jumpToFrame(0));
        const QImage first = movie.currentImage();
        for (int i = 0; i < 3; ++i)
            QVERIFY(movie.jumpToNextFrame());
        QVERIFY(first != movie.currentImage());
        QVERIFY(first.width() <= 40);
    }

    void theProductPictureIsWiderThanHigh()
    {
        const QPixmap picture(QStringLiteral(":/pixmaps/KDR-450P.png"));
        QVERIFY(!picture.isNull());
        QVERIFY(picture.width() > 2 * picture.height());
    }

    void theNoticesNameTheProgramQtAndLibarchive()
    {
        QFile notices(QStringLiteral(":/licenses/LICENSES/NOTICES.txt"));
        QVERIFY(notices.open(QIODevice::ReadOnly));
        const QByteArray text = notices.readAll();
        QVERIFY(text.contains("KDR-450P Fixture Library Editor"));
        QVERIFY(text.contains("Qt"));
        QVERIFY(text.contains("libarchive"));
    }
};

QTEST_MAIN(BuiltinResources)
#include "test_builtin_resources.moc"
