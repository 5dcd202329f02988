#include "clearablelineedit.h"

#include <QCompleter>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

ClearableLineEdit::ClearableLineEdit(QWidget *parent)
    : QLineEdit(parent), searchPixmap(QStringLiteral(":/pixmaps/search.ico")),
      searchIcon(searchPixmap), clearPixmap(QStringLiteral(":/pixmaps/cancel.ico")),
      clearIcon(clearPixmap), clearButton(new QToolButton(this)), showingSearchIcon(true),
      escapeShortcut(new QShortcut(QKeySequence(Qt::Key_Escape), this))
{
    clearButton->setIcon(searchIcon);
    clearButton->setIconSize(searchPixmap.size());
    clearButton->setCursor(Qt::ArrowCursor);
    clearButton->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0px; }"));

    escapeShortcut->setContext(Qt::WindowShortcut);
    connect(escapeShortcut, &QShortcut::activated, this,
            &ClearableLineEdit::clearAndEmitTextChangedEvent);

    // A start list only; the pane that uses the field installs its own completions.
    auto *completer =
        new QCompleter(QStringList{QStringLiteral("Brenlow"), QStringLiteral("Generic")}, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    setCompleter(completer);

    connect(clearButton, &QToolButton::clicked, this,
            &ClearableLineEdit::clearAndEmitTextChangedEvent);
    connect(this, &QLineEdit::textChanged, this, &ClearableLineEdit::updateCloseButton);

    const int fw = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QSize buttonSize = clearButton->sizeHint();
    // Keeps typed text from running under the button.
    setStyleSheet(
        QStringLiteral("QLineEdit { padding-right: %1px; } ").arg(buttonSize.width() + fw + 1));
    const QSize minHint = minimumSizeHint();
    const int side = buttonSize.height() + 2 * fw + 2;
    setMinimumSize(qMax(minHint.width(), side), qMax(minHint.height(), side));
}

void ClearableLineEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    const QSize buttonSize = clearButton->sizeHint();
    const int fw = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    clearButton->move(rect().right() - fw - buttonSize.width(),
                      (rect().bottom() + 1 - buttonSize.height()) / 2);
}

void ClearableLineEdit::updateCloseButton(const QString &text)
{
    if (!text.isEmpty() && showingSearchIcon) {
        clearButton->setIcon(clearIcon);
        showingSearchIcon = false;
    } else if (text.isEmpty() && !showingSearchIcon) {
        clearButton->setIcon(searchIcon);
        showingSearchIcon = true;
    }
}

void ClearableLineEdit::clearAndEmitTextChangedEvent()
{
    clear();
    // Also when the text was empty already, so that a filter bound to the signal resets.
    emit textChanged(QString());
}
