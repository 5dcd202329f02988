#pragma once

#include <QModelIndex>
#include <QWidget>

class LibraryHistory;
class LocalChannelListModel;
class QBLFixtureChannel;
class QBLFixtureDefinition;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;

namespace Ui
{
class LocalFixtureDefinitionEditForm;
}

// Edits one library definition in place: names, short names with their "Auto" boxes, and
// the channels. Every user change is reported with contentEdited().
class LocalFixtureDefinitionEditForm : public QWidget
{
    Q_OBJECT

public:
    explicit LocalFixtureDefinitionEditForm(QWidget *parent = nullptr);
    ~LocalFixtureDefinitionEditForm() override;

    // Null clears and disables the form. The definition stays owned by the library model.
    void setDefinition(QBLFixtureDefinition *definition);
    QBLFixtureDefinition *definition() const { return m_definition; }
    LocalChannelListModel *channelModel() const { return m_channelModel; }
    // Focus in the fixture name with its text selected, so typing replaces it.
    void editFixtureName();
    // Every edit made here is recorded there, so that it can be undone.
    void setHistory(LibraryHistory *history) { m_history = history; }
    // Makes the channel at this position of the definition's list current.
    void showChannel(int listPosition);
    // Shows the names anew after they were changed elsewhere (the table's in-place editor).
    void refreshNames();

signals:
    void contentEdited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    // Called before the library removes the row of index: forgets the definition if it is
    // the one being edited.
    void fixtureDefinitionToBeRemoved(QModelIndex index);

private slots:
    void on_fixtureName_textEdited(const QString &text);
    void on_manufacturerName_textEdited(const QString &text);
    void on_fixtureNameShort_textEdited(const QString &text);
    void on_manufacturerNameShort_textEdited(const QString &text);
    void on_autoFixtureNameShort_toggled(bool checked);
    void on_autoFixtureNameShort_clicked();
    void on_autoManufacturerNameShort_toggled(bool checked);
    void on_autoManufacturerNameShort_clicked();
    void on_fixtureType_currentIndexChanged(int index);
    void currentChanged(QModelIndex current, QModelIndex previous);
    void on_channelName_textEdited(const QString &text);
    void on_channelNameShort_textEdited(const QString &text);
    void on_autoChannelNameShort_toggled(bool checked);
    void on_autoChannelNameShort_clicked();
    void on_addChannel_clicked();
    void on_pushButton_clicked();
    void on_channelUp_clicked();
    void on_channelDown_clicked();

private:
    void showCharactersLeft(QLineEdit *field, QLabel *label);
    void setUpChannelKeys();
    class EditScope;
    struct AutoShortName;
    void toggleAutoShortName(const AutoShortName &name, bool checked);

    void clearForm();
    void showCurrentChannel();
    void clearChannelFields();
    void refreshChannelShortControls(QBLFixtureChannel *channel);
    void updateChannelButtons();
    void moveCurrentChannel(bool up);
    QBLFixtureChannel *currentChannel();
    QModelIndex currentSourceIndex() const;

    Ui::LocalFixtureDefinitionEditForm *ui;
    QBLFixtureDefinition *m_definition = nullptr;
    LocalChannelListModel *m_channelModel;
    QSortFilterProxyModel *m_channelProxy;
    LibraryHistory *m_history = nullptr;
    // Typing merges into one undo step until the field is left; each leaving starts a session.
    int m_typingSession = 0;
};
