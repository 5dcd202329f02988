#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// The program's texts in the user's language, for the window and the tool alike.
namespace UiLanguage
{

// The first of the given languages (as QLocale::uiLanguages() spells them) that the program
// speaks; "en" when none matches or English comes first.
QString choose(const QStringList &uiLanguages);

// Installs the program's translation for that language and Qt's own (dialog buttons, the
// command-line parser) on the application, in place of an earlier choice; returns the language.
QString install(QCoreApplication *app, const QStringList &uiLanguages);

// The same for the languages of the system (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
QString installForSystem(QCoreApplication *app);

} // namespace UiLanguage
