#include <QtTest>

#include "model/uilanguage.h"
#include "views/widgets/fixturescounterform.h"

class CounterTexts : public QObject
{
    Q_OBJECT

    // The counts given to the form and the two texts it must show.
    static void addCountColumns()
    {
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("visibleTotal");
        QTest::addColumn<QString>("selection");
    }

private slots:
    // The English plural forms come from the English translation, as in the program.
    void init() { QCOMPARE(UiLanguage::install(qApp, {QStringLiteral("en")}), QString("en")); }

    void labelsStartEmpty()
    {
        FixturesCounterForm form;
        QCOMPARE(form.visibleTotalText(), QString());
        QCOMPARE(form.selectionText(), QString());
    }

    void countsAreShownInWords_data()
    {
        addCountColumns();
        QTest::newRow("one of one") << 1 << 1 << 0 << "1 Fixture Definition"
                                    << "";
        QTest::newRow("all visible, all selected") << 2 << 2 << 2 << "2 Fixture Definitions"
                                                   << " (2 Selected)";
        QTest::newRow("filtered with selection") << 12 << 40 << 3 << "12 of 40 Fixture Definitions"
                                                 << " (3 Selected)";
        QTest::newRow("none of one visible") << 0 << 1 << 0 << "0 of 1 Fixture Definition"
                                             << "";
        QTest::newRow("none of many visible") << 0 << 7 << 1 << "0 of 7 Fixture Definitions"
                                              << " (1 Selected)";
        QTest::newRow("empty library clears even a selection") << 0 << 0 << 5 << ""
                                                               << "";
    }

    void countsAreShownInWords()
    {
        QFETCH(int, visible);
        QFETCH(int, total);
        QFETCH(int, selected);
        FixturesCounterForm form;
        form.updateCounts(9, 10, 4); // earlier texts must be replaced or cleared
        form.updateCounts(visible, total, selected);
        QTEST(form.visibleTotalText(), "visibleTotal");
        QTEST(form.selectionText(), "selection");
    }

    void germanCountsUseTheSingularOnlyForOne_data()
    {
        addCountColumns();
        QTest::newRow("one of one") << 1 << 1 << 1 << "1 Fixture-Definition"
                                    << " (1 ausgewählt)";
        QTest::newRow("all visible") << 2 << 2 << 0 << "2 Fixture-Definitionen"
                                     << "";
        QTest::newRow("none of one") << 0 << 1 << 0 << "0 von 1 Fixture-Definition"
                                     << "";
        QTest::newRow("filtered") << 12 << 40 << 3 << "12 von 40 Fixture-Definitionen"
                                  << " (3 ausgewählt)";
    }

    void germanCountsUseTheSingularOnlyForOne()
    {
        QFETCH(int, visible);
        QFETCH(int, total);
        QFETCH(int, selected);
        // German is chosen from a list as the system gives it, past a language we lack.
        QCOMPARE(UiLanguage::install(qApp, {QStringLiteral("xx-YY"), QStringLiteral("de-AT")}),
                 QString("de"));
        FixturesCounterForm form;
        form.updateCounts(visible, total, selected);
        QTEST(form.visibleTotalText(), "visibleTotal");
        QTEST(form.selectionText(), "selection");
    }

    void languagesWithoutTranslationFallBackToEnglish()
    {
        QCOMPARE(UiLanguage::choose({QStringLiteral("fr-FR"), QStringLiteral("C")}), QString("en"));
        QCOMPARE(UiLanguage::choose({}), QString("en"));
        // English before German means English, though German is available.
        QCOMPARE(UiLanguage::choose({QStringLiteral("en-GB"), QStringLiteral("de")}),
                 QString("en"));
        QCOMPARE(UiLanguage::choose({QStringLiteral("de_CH")}), QString("de"));
    }
};

QTEST_MAIN(CounterTexts)
#include "test_counter_texts.moc"
