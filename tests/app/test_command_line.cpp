#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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

    // The project's version, from CMake: the editor, the tool and both manual pages.
    void theEditorTheToolAndTheirManualPagesStateOneVersion()
    {
        QTemporaryDir config;
        int code = 0;
        const QString out = run({"--version"}, config.path(), &code);
        QCOMPARE(code, 0);
        QVERIFY2(out.split(QLatin1Char('\n'))
                     .contains(QStringLiteral("KDR-450P Fixture Library Editor " KDR_VERSION)),
                 qPrintable(out));

        QProcess tool;
        tool.start(QStringLiteral(KDR_TOOL_PATH), {"--version"});
        QVERIFY(tool.waitForFinished(20000));
        QCOMPARE(tool.readAllStandardOutput(), QByteArray("kdr450p-tool " KDR_VERSION "\n"));

        for (const char *page : {"kdr450p-editor.1", "kdr450p-tool.1"}) {
            QFile file(QStringLiteral(KDR_BINARY_DIR "/doc/%1.in").arg(QLatin1String(page)));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            const QByteArray title = file.readLine();
            QVERIFY2(title.startsWith(".TH ") && title.contains(" " KDR_VERSION "\""),
                     title.constData());
        }
    }

    // scripts/run.sh once started a build/kdr450p-editor that no build makes.
    void theScriptsStartTheProgramsWhereTheBuildPutsThem()
    {
        static const QRegularExpression program(
            QStringLiteral("build/((?:[\\w.-]+/)*kdr450p-(?:editor|tool))(?![\\w.*-])"));
        int found = 0;
        for (const char *script :
             {"scripts/run.sh", "scripts/check-deb.sh", "tools/screenshot.sh"}) {
            QFile file(QStringLiteral(KDR_SOURCE_DIR "/%1").arg(QLatin1String(script)));
            QVERIFY2(file.open(QIODevice::ReadOnly), script);
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch &m : program.globalMatch(text)) {
                ++found;
                const QString built = QStringLiteral(KDR_BINARY_DIR "/") + m.captured(1);
                QVERIFY2(QFileInfo(built).isExecutable(),
                         qPrintable(QStringLiteral("%1 names %2").arg(script, m.captured(0))));
            }
        }
        QVERIFY(found >= 3);
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
