#include "userprompts.h"

UserPrompts::Answerer &UserPrompts::answerer()
{
    static Answerer a;
    return a;
}

void UserPrompts::setAnswerer(Answerer a)
{
    answerer() = std::move(a);
}

namespace
{

// Cancel if offered, else the only button, else No: what a message box picks for Escape. The
// real boxes are given it explicitly, so a test's Escape and the user's agree.
QMessageBox::StandardButton escapeButtonFor(QMessageBox::StandardButtons buttons)
{
    if (buttons & QMessageBox::Cancel)
        return QMessageBox::Cancel;
    const int raw = int(buttons);
    if (raw != 0 && (raw & (raw - 1)) == 0)
        return QMessageBox::StandardButton(raw);
    if (buttons & QMessageBox::No)
        return QMessageBox::No;
    return QMessageBox::NoButton;
}

UserPrompts::Prompt messagePrompt(UserPrompts::Kind kind, const QString &title, const QString &text,
                                  QMessageBox::StandardButtons buttons,
                                  QMessageBox::StandardButton defaultButton)
{
    return {kind,          title,     text,
            QString(),     QString(), buttons,
            defaultButton, QString(), escapeButtonFor(buttons)};
}

QMessageBox::StandardButton execBox(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                    const QString &text, const QString &informativeText,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setInformativeText(informativeText);
    box.setDefaultButton(defaultButton);
    if (const QMessageBox::StandardButton escape = escapeButtonFor(buttons))
        box.setEscapeButton(escape);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

QMessageBox::StandardButton UserPrompts::information(QWidget *parent, const QString &title,
                                                     const QString &text)
{
    if (answerer())
        return answerer()(
                   messagePrompt(Kind::Information, title, text, QMessageBox::Ok, QMessageBox::Ok))
            .button;
    return QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton UserPrompts::warning(QWidget *parent, const QString &title,
                                                 const QString &text)
{
    if (answerer())
        return answerer()(
                   messagePrompt(Kind::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok))
            .button;
    return QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton UserPrompts::question(QWidget *parent, const QString &title,
                                                  const QString &text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    if (answerer())
        return answerer()(messagePrompt(Kind::Question, title, text, buttons, defaultButton))
            .button;
    return execBox(parent, QMessageBox::Question, title, text, QString(), buttons, defaultButton);
}

QMessageBox::StandardButton UserPrompts::questionWithDetails(
    QWidget *parent, const QString &title, const QString &text, const QString &informativeText,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    if (answerer()) {
        Prompt prompt = messagePrompt(Kind::Question, title, text, buttons, defaultButton);
        prompt.informativeText = informativeText;
        return answerer()(prompt).button;
    }
    return execBox(parent, QMessageBox::Question, title, text, informativeText, buttons,
                   defaultButton);
}

namespace
{

UserPrompts::Prompt filePrompt(UserPrompts::Kind kind, const QString &caption,
                               const QString &directory, const QString &filter)
{
    return {kind,
            QString(),
            caption,
            directory,
            filter,
            {},
            QMessageBox::NoButton,
            QString(),
            QMessageBox::NoButton};
}

} // namespace

QString UserPrompts::getOpenFileName(QWidget *parent, const QString &caption,
                                     const QString &directory, const QString &filter)
{
    if (answerer())
        return answerer()(filePrompt(Kind::OpenFile, caption, directory, filter)).fileName;
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QStringList UserPrompts::getOpenFileNames(QWidget *parent, const QString &caption,
                                          const QString &directory, const QString &filter)
{
    if (answerer())
        return answerer()(filePrompt(Kind::OpenFiles, caption, directory, filter)).fileNames;
    return QFileDialog::getOpenFileNames(parent, caption, directory, filter);
}

QString UserPrompts::getSaveFileName(QWidget *parent, const QString &caption,
                                     const QString &directory, const QString &filter)
{
    if (answerer())
        return answerer()(filePrompt(Kind::SaveFile, caption, directory, filter)).fileName;
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

QString UserPrompts::getExistingDirectory(QWidget *parent, const QString &caption,
                                          const QString &directory)
{
    if (answerer())
        return answerer()(filePrompt(Kind::OpenFolder, caption, directory, QString())).fileName;
    return QFileDialog::getExistingDirectory(parent, caption, directory);
}
