#pragma once

#include <QIcon>
#include <QLineEdit>
#include <QPixmap>

class QShortcut;
class QToolButton;

// A filter field with a search mark that turns into a clear button once text is typed.
// Escape anywhere in the window clears it.
class ClearableLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ClearableLineEdit(QWidget *parent = nullptr);

    // True while the button shows the search mark (empty text), false while it clears.
    bool isShowingSearchIcon() const { return showingSearchIcon; }
    QToolButton *button() const { return clearButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void updateCloseButton(const QString &text);
    void clearAndEmitTextChangedEvent();

private:
    QPixmap searchPixmap;
    QIcon searchIcon;
    QPixmap clearPixmap;
    QIcon clearIcon;
    QToolButton *clearButton;
    bool showingSearchIcon;
    QShortcut *escapeShortcut;
};
