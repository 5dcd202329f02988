#include "mainwindow.h"

#include "model/uilanguage.h"
#include "driverselection.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KDR-450P Fixture Library Editor"));
    QApplication::setOrganizationName(QStringLiteral("Brenlow AG"));
    QApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));

    // The user's language where a translation exists; Qt's own texts (dialog buttons) too.
    UiLanguage::installForSystem(&app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "Edits KDR-450P fixture definition libraries and "
                                        "transfers them to and from the controller."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("library"),
        QApplication::translate("main", "Library file (.blfl) to open at start."),
        QStringLiteral("[library]"));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QApplication::translate("main", "Work with the simulated controller."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QApplication::translate("main", "Reach the controller at PATH."),
                                  QApplication::translate("main", "PATH", "value in --help"));
    // Used by tools/screenshot.sh: saves a picture of the window once it is shown, then quits.
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    // Listed for --help; their values are taken by the same code as the tool's.
    const QCommandLineOption backend(
        QStringLiteral("backend"),
        QApplication::translate("main", "Driver backend: serial, qtserial or d2xx."),
        QApplication::translate("main", "NAME", "value in --help"));
    const QCommandLineOption d2xxLibrary(
        QStringLiteral("d2xx-library"),
        QApplication::translate("main", "The D2XX driver library file to load."),
        QApplication::translate("main", "PATH", "value in --help"));
    parser.addOption(simulate);
    parser.addOption(port);
    parser.addOption(backend);
    parser.addOption(d2xxLibrary);
    parser.addOption(screenshot);
    // The arguments as the platform decoded them, so a path in any script opens.
    QStringList arguments = QCoreApplication::arguments();
    DriverOptions driver;
    QString driverError;
    const bool driverUnderstood = takeDriverOptions(&arguments, &driver, &driverError);
    parser.process(arguments);
    if (!driverUnderstood) {
        std::fprintf(stderr, "%s\n", qPrintable(driverError));
        return 2;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        parser.showHelp(1);

    DeviceLinkOptions link;
    link.simulate = driver.simulate;
    link.port = driver.portPath;
    link.backend = driver.backend;
    link.d2xxLibrary = driver.d2xxLibrary;
    // Never deleted: the process ends with the window.
    auto *window = new MainWindow(positional.value(0), link);
    window->show();

    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        QTimer::singleShot(1500, window, [window, file] {
            const bool saved = window->grab().save(file);
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
