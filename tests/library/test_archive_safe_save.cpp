#include "archivehelpers.h"
#include "libraryhelpers.h"

#include "library/blflarchive.h"
#include "model/qblfixturedefinition.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Saving never destroys the previous file, and paths in any script open.
class TestArchiveSafeSave : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static DefinitionList bigLibrary() { return randomDefinitions(3, 200, 24); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    }

    void aSaveThatFailsHalfwayLeavesTheOldFileIntact()
    {
        const QString folder = m_dir.filePath(QStringLiteral("limited"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/library.blfl");
        DefinitionList small;
        small.push_back(makeDefinition(QStringLiteral("Old"), {QStringLiteral("Dim")}));
        QCOMPARE(saveLibrary(file, rawList(small)), QString());
        const QByteArray before = readFile(file);

        // The child may write at most 8 KiB per file: the save runs out of room midway.
        const DefinitionList big = bigLibrary();
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{8192, 8192};
            setrlimit(RLIMIT_FSIZE, &limit);
            BLFLArchive archive(file);
            QList<QBLFixtureDefinition *> list = rawList(big);
            archive.setDefinitions(&list);
            _exit(archive.save() ? 0 : (archive.errorString().isEmpty() ? 2 : 1));
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 1); // save reported the failure with a reason
        QCOMPARE(readFile(file), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("library.blfl")});

        // Without the limit the same save replaces the file.
        QCOMPARE(saveLibrary(file, rawList(big)), QString());
        bool ok = false;
        QCOMPARE(loadLibrary(file, &ok).size(), 200);
        QVERIFY(ok);
    }

    void aSaveIntoAMissingFolderFailsAndCreatesNothing()
    {
        const QString file = m_dir.filePath(QStringLiteral("no/such/folder/x.blfl"));
        BLFLArchive archive(file);
        QVERIFY(!archive.save());
        QVERIFY(!archive.errorString().isEmpty());
        QVERIFY(!QFileInfo::exists(file));
        BLFLArchive unnamed{QString()};
        QVERIFY(!unnamed.save());
    }

    // A save replaces its target, so a device or a pipe would become a regular file.
    void aSaveToADeviceAPipeOrAFolderIsRefusedAndLeavesItAsItWas()
    {
        const QString fifo = m_dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &target : {fifo, QStringLiteral("/dev/null"), m_dir.path()}) {
            BLFLArchive archive(target);
            QVERIFY2(!archive.save(), qPrintable(target));
            QVERIFY2(archive.errorString().contains(target), qPrintable(archive.errorString()));
        }
        struct stat info = {};
        QCOMPARE(stat(QFile::encodeName(fifo).constData(), &info), 0);
        QVERIFY(S_ISFIFO(info.st_mode));
        QCOMPARE(stat("/dev/null", &info), 0);
        QVERIFY(S_ISCHR(info.st_mode));
    }

    void aSavedFileKeepsThePermissionsOfTheFileItReplaces()
    {
        const QString file = m_dir.filePath(QStringLiteral("private.blfl"));
        QCOMPARE(saveLibrary(file, {}), QString());
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        DefinitionList defs;
        defs.push_back(makeDefinition(QStringLiteral("New")));
        QCOMPARE(saveLibrary(file, rawList(defs)), QString());
        struct stat info = {};
        QCOMPARE(stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
    }

    void librariesInFoldersWithNonLatinNamesOpenAndSave_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("Cyrillic") << QStringLiteral(
            "\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c");
        QTest::newRow("Chinese") << QStringLiteral("\u7528\u6237 \u6587\u6863");
        QTest::newRow("Latin-1 and emoji") << QStringLiteral("J\u00fcrgen \U0001F3AD");
    }

    void librariesInFoldersWithNonLatinNamesOpenAndSave()
    {
        QFETCH(QString, folder);
        const QString dir = m_dir.filePath(folder);
        QVERIFY(QDir().mkpath(dir));
        const QString file =
            dir +
            QStringLiteral("/\u0411\u0438\u0431\u043b\u0438\u043e\u0442\u0435\u043a\u0430.blfl");
        DefinitionList defs;
        defs.push_back(makeDefinition(QStringLiteral("Wash"), {QStringLiteral("Red")}));
        QCOMPARE(saveLibrary(file, rawList(defs)), QString());
        QVERIFY(QFileInfo::exists(file));
        bool ok = false;
        const auto got = loadLibrary(file, &ok);
        QVERIFY(ok);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.at(0).channels.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestArchiveSafeSave)
#include "test_archive_safe_save.moc"
