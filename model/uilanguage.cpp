#include "uilanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

// Both the editor and the tool embed their translations here.
const char kProgramPrefix[] = ":/i18n/kdr450p_";

QString programFile(const QString &language)
{
    return QLatin1String(kProgramPrefix) + language + QLatin1String(".qm");
}

// "de-AT" and "de_AT" are tried as they stand, then as "de".
QStringList candidates(const QString &uiLanguage)
{
    QString name = uiLanguage;
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    const QString base = name.section(QLatin1Char('_'), 0, 0).toLower();
    QStringList list{name};
    if (base != name)
        list << base;
    return list;
}

// Marks our translators, so that installing another language replaces them.
const char kTranslatorName[] = "kdr450p-ui-language";

void installTranslator(QCoreApplication *app, const QString &file)
{
    auto *translator = new QTranslator(app);
    translator->setObjectName(QLatin1String(kTranslatorName));
    if (translator->load(file))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void removeTranslators(QCoreApplication *app)
{
    const auto installed = app->findChildren<QTranslator *>(QLatin1String(kTranslatorName),
                                                            Qt::FindDirectChildrenOnly);
    for (QTranslator *t : installed) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

} // namespace

namespace UiLanguage
{

QString choose(const QStringList &uiLanguages)
{
    for (const QString &ui : uiLanguages) {
        for (const QString &c : candidates(ui)) {
            // English is the source language; "C" and "POSIX" mean no translation.
            if (c == QLatin1String("en") || c == QLatin1String("c") || c == QLatin1String("posix"))
                return QStringLiteral("en");
            if (QFile::exists(programFile(c)))
                return c;
        }
    }
    return QStringLiteral("en");
}

QString install(QCoreApplication *app, const QStringList &uiLanguages)
{
    const QString language = choose(uiLanguages);
    removeTranslators(app);
    // English too: its file supplies the plural forms of the counters.
    installTranslator(app, programFile(language));
    if (language != QLatin1String("en"))
        installTranslator(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                   QLatin1String("/qtbase_") + language + QLatin1String(".qm"));
    return language;
}

QString installForSystem(QCoreApplication *app)
{
    return install(app, QLocale::system().uiLanguages());
}

} // namespace UiLanguage
