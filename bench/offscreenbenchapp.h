#pragma once

#include <QApplication>
#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

// The application of a window benchmark: offscreen, and without debug lines, which would time
// the terminal rather than the work.
class OffscreenBenchApp : public QApplication
{
public:
    OffscreenBenchApp(int &argc, char **argv) : QApplication(offscreen(argc), argv)
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    }

private:
    // The platform is chosen when QApplication is made, so this runs before its constructor.
    static int &offscreen(int &argc)
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }
};
