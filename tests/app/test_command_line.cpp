#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// The editor's command line, run as a user would: options, and a library path in any script.
class CommandLine : public QObject
{
    Q_OBJECT

    const QString editor = QStringLiteral(KDR_BINARY_DIR "/app/kdr450p-editor");

    QProcessEnvironment environment(const QString &configHome, const QString &language) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        env.insert(QStringLiteral("LANGUAGE"), language);
        return env;
    }

    QString run(const QStringList &arguments, const QString &configHome, int *exitCode,
                const QString &language = QString())
    {
        QProcess process;
        process.setProcessEnvironment(environment(configHome, language));
        process.start(editor, arguments);
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            *exitCode = -1;
            return QString();
        }
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return QString::fromLocal8Bit(process.readAllStandardOutput() +
                                      process.readAllStandardError());
    }

private slots:
    void initTestCase() { QVERIFY2(QFileInfo::exists(editor), qPrintable(editor)); }

    void helpListsTheOptions()
    {
        QTemporaryDir config;
        int code = 0;
        const QString out = run({"--help"}, config.path(), &code);
        QCOMPARE(code, 0);
        QVERIFY(out.contains("--simulate"));
        QVERIFY(out.contains("--port <PATH>"));
        QVERIFY(out.contains("--backend <NAME>"));
        QVERIFY(out.contains("--d2xx-library <PATH>"));
        QVERIFY(out.contains("--version"));
        QVERIFY(out.contains("library"));
        QVERIFY(!out.contains("--screenshot"));

        // The value names read as their descriptions do.
        const QString german = run({"--help"}, config.path(), &code, QStringLiteral("de"));
        QCOMPARE(code, 0);
        QVERIFY2(german.contains("--port <PFAD>"), qPrintable(german));
        QVERIFY(german.contains("--d2xx-library <PFAD>"));
        QVERIFY(german.contains("PFAD ansprechen"));
    }

    void versionPrintsTheProgramVersion()
    {
        QTemporaryDir config;
        int code = 0;
        const QString out = run({"--version"}, config.path(), &code);
        QCOMPARE(code, 0);
        QVERIFY(out.contains("KDR-450P Fixture Library Editor 0.1"));
    }

    void driverOptionsThatDoNotGoTogetherAreRefusedBeforeTheWindowOpens()
    {
        QTemporaryDir config;
        for (const QStringList &args :
             {QStringList{"--backend", "parallel"}, QStringList{"--simulate", "--port", "/dev/null"},
              QStringList{"--backend", "d2xx", "--port", "/dev/null"}}) {
            int code = 0;
            const QString out = run(args, config.path(), &code);
            QCOMPARE(code, 2);
            QVERIFY2(out.contains(args.last() == "parallel" ? "--backend" : "--port"),
                     qPrintable(out));
        }
    }

    void twoLibraryPathsAreRefused()
    {
        QTemporaryDir config;
        int code = 0;
        run({"a.blfl", "b.blfl"}, config.path(), &code);
        QCOMPARE(code, 1);
    }

    void aLibraryPathInAnyScriptIsOpenedAndRemembered()
    {
        QTemporaryDir config;
        QTemporaryDir files;
        const QString folder = files.filePath(QStringLiteral("Сцена 舞台 Bühne"));
        QVERIFY(QDir().mkpath(folder));
        const QString library = folder + QStringLiteral("/Библиотека.blfl");
        QVERIFY(QFile::copy(QStringLiteral(KDR_SOURCE_DIR "/tests/app/data/sample.blfl"), library));
        const QString shot = files.filePath(QStringLiteral("shot.png"));
        int code = 0;
        run({library, "--screenshot", shot}, config.path(), &code);
        QCOMPARE(code, 0);
        QVERIFY(QFileInfo(shot).size() > 0);
        // The window remembers the library it showed only when it opened it.
        QSettings settings(config.path() +
                               QStringLiteral("/Brenlow AG/KDR-450P Fixture Library Editor.conf"),
                           QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("library")).toString(), library);
        QCOMPARE(settings.value(QStringLiteral("working_dir")).toString(), folder);
    }
};

QTEST_GUILESS_MAIN(CommandLine)
#include "test_command_line.moc"
