#include "mainwindow.h"
#include "version.h"

#include "model/uilanguage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KDR-450P Fixture Library Editor"));
    QApplication::setOrganizationName(QStringLiteral("Brenlow AG"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(kdrVersionMajor).arg(kdrVersionMinor));

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
                                  QStringLiteral("PATH"));
    // Used by tools/screenshot.sh: saves a picture of the window once it is shown, then quits.
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(simulate);
    parser.addOption(port);
    parser.addOption(screenshot);
    // The arguments as the platform decoded them, so a path in any script opens.
    parser.process(QCoreApplication::arguments());

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        parser.showHelp(1);

    DeviceLinkOptions link;
    link.simulate = parser.isSet(simulate);
    link.port = parser.value(port);
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
