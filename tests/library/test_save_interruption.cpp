#include "archivehelpers.h"
#include "libraryhelpers.h"

#include "library/blflarchive.h"
#include "model/qblfixturedefinition.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// A save killed at any moment leaves a library that loads and holds either the old or the new
// definitions, never a mixture or a torn file.
class TestSaveInterruption : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static DefinitionList library(quint32 seed, int count)
    {
        DefinitionList defs;
        QRandomGenerator random(seed);
        for (int i = 0; i < count; ++i) {
            QStringList channels;
            const int channelCount = 1 + int(random.bounded(12));
            for (int c = 0; c < channelCount; ++c)
                channels << QString::number(random.generate64(), 36);
            defs.push_back(makeDefinition(
                QStringLiteral("%1 %2").arg(seed).arg(QString::number(random.generate64(), 36)),
                channels));
        }
        return defs;
    }

    // Forks a child that saves defs into file; returns its exit status after it ended on its
    // own or was killed after killAfterUs microseconds (negative: never).
    static int saveInChild(const QString &file, const DefinitionList &defs, qint64 killAfterUs)
    {
        const pid_t child = fork();
        if (child < 0)
            return -1;
        if (child == 0) {
            BLFLArchive archive(file);
            QList<QBLFixtureDefinition *> list = rawList(defs);
            archive.setDefinitions(&list);
            _exit(archive.save() ? 0 : 1);
        }
        if (killAfterUs >= 0) {
            usleep(useconds_t(killAfterUs));
            kill(child, SIGKILL);
        }
        int status = 0;
        if (waitpid(child, &status, 0) != child)
            return -1;
        return status;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    }

    void aLibraryKilledMidSaveAlwaysLoadsAsTheOldOrTheNewContent()
    {
        constexpr int Definitions = 2000;
        constexpr int Kills = 100;
        const QString folder = m_dir.filePath(QStringLiteral("killed"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/library.blfl");

        // Two contents that the rounds alternate between: whichever the file holds is "old".
        const DefinitionList contents[2] = {library(1, Definitions), library(2, Definitions)};
        const QList<DefinitionSnapshot> expected[2] = {snapshots(rawList(contents[0])),
                                                       snapshots(rawList(contents[1]))};
        QCOMPARE(saveLibrary(file, rawList(contents[0])), QString());
        int current = 0;
        // File contents already loaded and found equal to one of the two, with its index.
        QHash<QByteArray, int> verified;

        auto check = [&](int round, int next) {
            const QByteArray bytes = readFile(file);
            auto known = verified.constFind(bytes);
            if (known == verified.cend()) {
                bool ok = false;
                const QList<DefinitionSnapshot> loaded = loadLibrary(file, &ok);
                if (!ok)
                    return QStringLiteral("round %1: the file does not load").arg(round);
                if (loaded != expected[current] && loaded != expected[next])
                    return QStringLiteral("round %1: neither old nor new content").arg(round);
                known = verified.insert(bytes, loaded == expected[current] ? current : next);
            } else if (*known != current && *known != next) {
                return QStringLiteral("round %1: unexpected content").arg(round);
            }
            current = *known;
            return QString();
        };
        QCOMPARE(check(-1, 1), QString());
        QCOMPARE(current, 0);

        // One undisturbed save gives the span to aim the first kills at; it adapts as saves
        // end before their kill (the machine's load changes how long a save takes).
        QElapsedTimer timer;
        timer.start();
        const int undisturbed = saveInChild(file, contents[1], -1);
        QVERIFY(WIFEXITED(undisturbed) && WEXITSTATUS(undisturbed) == 0);
        const qint64 undisturbedUs = qMax<qint64>(timer.nsecsElapsed() / 1000, 1000);
        double spanUs = double(undisturbedUs);
        QCOMPARE(check(0, 1), QString());
        QCOMPARE(current, 1);

        QRandomGenerator random(7);
        int kills = 0, rounds = 0, keptOld = 0, becameNew = 0, finishedFirst = 0;
        while (kills < Kills && rounds < 4 * Kills) {
            ++rounds;
            const int before = current;
            const int next = 1 - current;
            const int status = saveInChild(file, contents[next], qint64(random.bounded(spanUs)));
            QVERIFY2(status != -1, "fork or waitpid failed");
            if (WIFSIGNALED(status)) {
                ++kills;
                spanUs *= 1.02;
            } else {
                QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                ++finishedFirst;
                spanUs *= 0.9;
            }
            const QString problem = check(rounds, next);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            if (WIFSIGNALED(status))
                ++(current == before ? keptOld : becameNew);
        }
        QCOMPARE(kills, Kills);

        // Whatever the last state is, it loads in full.
        bool ok = false;
        QCOMPARE(loadLibrary(file, &ok), expected[current]);
        QVERIFY(ok);

        // A killed save may leave its own temporary file behind, nothing else.
        QStringList strays = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        strays.removeAll(QStringLiteral("library.blfl"));
        for (const QString &name : strays)
            QVERIFY2(name.startsWith(QStringLiteral("library.blfl.")), qPrintable(name));
        QVERIFY(strays.size() <= kills);

        qInfo("definitions: %d", Definitions);
        qInfo("undisturbed_save: %lld ms", undisturbedUs / 1000);
        qInfo("rounds: %d", rounds);
        qInfo("kills: %d", kills);
        qInfo("saves_finished_before_kill: %d", finishedFirst);
        qInfo("distinct_files_loaded_ok: %lld", qint64(verified.size()));
        qInfo("killed_kept_old: %d", keptOld);
        qInfo("killed_became_new: %d", becameNew);
        qInfo("stray_temp_files: %lld", qint64(strays.size()));
    }
};

QTEST_GUILESS_MAIN(TestSaveInterruption)
#include "test_save_interruption.moc"
