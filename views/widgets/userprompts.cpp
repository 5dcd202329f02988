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

UserPrompts::Prompt messagePrompt(UserPrompts::Kind kind, const QString &title, const QString &text,
                                  QMessageBox::StandardButtons buttons,
                                  QMessageBox::StandardButton defaultButton)
{
    return {kind, title, text, QString(), QString(), buttons, defaultButton, QString()};
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
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
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
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    box.setInformativeText(informativeText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

namespace {

UserPrompts::Prompt filePrompt(UserPrompts::Kind kind, const QString &caption,
                               const QString &directory, const QString &filter)
{
    return {kind, QString(), caption, directory, filter, {}, QMessageBox::NoButton, QString()};
}

} // namespace

QString UserPrompts::getOpenFileName(QWidget *parent, const QString &caption,
                                     const QString &directory, const QString &filter)
{
    if (answerer())
        return answerer()(filePrompt(Kind::OpenFile, caption, directory, filter)).fileName;
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString UserPrompts::getSaveFileName(QWidget *parent, const QString &caption,
                                     const QString &directory, const QString &filter)
{
    if (answerer())
        return answerer()(filePrompt(Kind::SaveFile, caption, directory, filter)).fileName;
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}
