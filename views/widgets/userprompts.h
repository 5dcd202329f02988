#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

// Every message box and file dialog of the window goes through here, so that tests can
// answer them without a modal loop. Without an answerer the real dialogs are shown.
class UserPrompts
{
public:
    enum class Kind { Information, Warning, Question, OpenFile, OpenFiles, SaveFile, OpenFolder };

    struct Prompt {
        Kind kind;
        QString title;
        QString text;      // message text, or the file dialog's caption
        QString directory; // file dialogs: start directory or proposed file
        QString filter;    // file dialogs: name filter
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QString informativeText; // questions: the explanatory second text, if any
        // The button the Escape key chooses, as the real message box decides it.
        QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    };

    struct Answer {
        Answer(QMessageBox::StandardButton chosenButton = QMessageBox::NoButton,
               const QString &chosenFile = QString())
            : button(chosenButton), fileName(chosenFile)
        {
            if (!chosenFile.isEmpty())
                fileNames.append(chosenFile);
        }
        // Several files chosen at once.
        explicit Answer(const QStringList &chosenFiles)
            : fileName(chosenFiles.value(0)), fileNames(chosenFiles)
        {
        }

        QMessageBox::StandardButton button = QMessageBox::NoButton;
        QString fileName;      // empty: the file dialog was cancelled
        QStringList fileNames; // every file chosen; empty: cancelled
    };

    using Answerer = std::function<Answer(const Prompt &)>;

    // Installs a test answerer (an empty function restores the real dialogs).
    static void setAnswerer(Answerer answerer);

    static QMessageBox::StandardButton information(QWidget *parent, const QString &title,
                                                   const QString &text);
    static QMessageBox::StandardButton warning(QWidget *parent, const QString &title,
                                               const QString &text);
    static QMessageBox::StandardButton
    question(QWidget *parent, const QString &title, const QString &text,
             QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
             QMessageBox::StandardButton defaultButton = QMessageBox::No);
    // A question with an explanatory second text (the message box's informative text).
    static QMessageBox::StandardButton
    questionWithDetails(QWidget *parent, const QString &title, const QString &text,
                        const QString &informativeText, QMessageBox::StandardButtons buttons,
                        QMessageBox::StandardButton defaultButton);
    static QString getOpenFileName(QWidget *parent, const QString &caption,
                                   const QString &directory, const QString &filter);
    // One or more files; empty when cancelled.
    static QStringList getOpenFileNames(QWidget *parent, const QString &caption,
                                        const QString &directory, const QString &filter);
    static QString getSaveFileName(QWidget *parent, const QString &caption,
                                   const QString &directory, const QString &filter);

    // A folder chooser; the answer's fileName is the folder, empty when cancelled.
    static QString getExistingDirectory(QWidget *parent, const QString &caption,
                                        const QString &directory);

private:
    static Answerer &answerer();
};
