#include "localfixturedefinitioneditform.h"
#include "ui_localfixturedefinitioneditform.h"

#include "libraryhistory.h"
#include "model/localchannellistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QAction>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>

namespace
{

// The fixture-type box lists the types 0 to 10 in value order.
constexpr int FixtureTypeCount = 11;

} // namespace

// Records the edit made while it lives, as one undo step of the edited definition.
class LocalFixtureDefinitionEditForm::EditScope
{
public:
    EditScope(LocalFixtureDefinitionEditForm *form, LibraryHistory::Edit edit,
              int channelPosition = -1)
        : m_form(form), m_definition(form->m_definition), m_edit(edit),
          m_channelPosition(channelPosition)
    {
        if (m_definition)
            m_before = DefinitionState::of(*m_definition);
    }
    ~EditScope()
    {
        if (m_definition && m_definition == m_form->m_definition && m_form->m_history)
            m_form->m_history->recordEdit(m_definition->listIndex().row(), m_before,
                                          DefinitionState::of(*m_definition), m_edit,
                                          m_channelPosition, m_form->m_typingSession);
    }
    EditScope(const EditScope &) = delete;
    EditScope &operator=(const EditScope &) = delete;

private:
    LocalFixtureDefinitionEditForm *m_form;
    QBLFixtureDefinition *m_definition;
    LibraryHistory::Edit m_edit;
    int m_channelPosition;
    DefinitionState m_before;
};

LocalFixtureDefinitionEditForm::LocalFixtureDefinitionEditForm(QWidget *parent)
    : QWidget(parent), ui(new Ui::LocalFixtureDefinitionEditForm),
      m_channelModel(new LocalChannelListModel(nullptr, this)),
      m_channelProxy(new QSortFilterProxyModel(this))
{
    ui->setupUi(this);
    m_channelProxy->setSortLocaleAware(true);
    m_channelProxy->setSourceModel(m_channelModel);
    ui->channelListView->setModel(m_channelProxy);
    ui->channelListView->sortByColumn(LocalChannelListModel::NumberColumn, Qt::AscendingOrder);
    connect(ui->channelListView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &LocalFixtureDefinitionEditForm::currentChanged);
    for (QLineEdit *field : {ui->fixtureName, ui->manufacturerName, ui->fixtureNameShort,
                             ui->manufacturerNameShort, ui->channelName, ui->channelNameShort}) {
        connect(field, &QLineEdit::editingFinished, this, [this] { ++m_typingSession; });
        field->installEventFilter(this);
    }

    showCharactersLeft(ui->fixtureNameShort, ui->fixtureNameShortLeft);
    showCharactersLeft(ui->manufacturerNameShort, ui->manufacturerNameShortLeft);
    showCharactersLeft(ui->channelNameShort, ui->channelNameShortLeft);
    setUpChannelKeys();

    updateChannelButtons();
    ui->channelEditFrame->setEnabled(false);
    showCurrentChannel();
    // The description is not edited in this version, and the type is not offered.
    ui->textEdit->hide();
    ui->labelChannelDescription->hide();
    ui->label_fixtureType->hide();
    ui->fixtureType->hide();
    setEnabled(false);
}

// The fields take exactly what the controller stores; the count tells the user before the
// field stops taking keys.
void LocalFixtureDefinitionEditForm::showCharactersLeft(QLineEdit *field, QLabel *label)
{
    const auto update = [this, field, label] {
        label->setText(tr("%n left", nullptr, field->maxLength() - int(field->text().size())));
    };
    connect(field, &QLineEdit::textChanged, label, update);
    update();
}

// The keys press the buttons, so a disabled button also stops its key.
void LocalFixtureDefinitionEditForm::setUpChannelKeys()
{
    const struct {
        QPushButton *button;
        QKeySequence key;
        QString tip;
    } keys[] = {{ui->addChannel, QKeySequence(Qt::Key_Insert), tr("Add channel")},
                {ui->pushButton, QKeySequence(), tr("Delete channel")},
                {ui->channelUp, QKeySequence(Qt::CTRL | Qt::Key_Up), tr("Move channel up")},
                {ui->channelDown, QKeySequence(Qt::CTRL | Qt::Key_Down), tr("Move channel down")}};
    for (const auto &k : keys) {
        if (k.key.isEmpty()) {
            k.button->setToolTip(k.tip);
            continue;
        }
        k.button->setToolTip(tr("%1 (%2)").arg(k.tip, k.key.toString(QKeySequence::NativeText)));
        auto *action = new QAction(k.tip, this);
        action->setShortcut(k.key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        QPushButton *button = k.button;
        connect(action, &QAction::triggered, button, [button] { button->click(); });
    }
    // Enter in the last channel's name goes on to the next channel.
    connect(ui->channelName, &QLineEdit::returnPressed, this, [this] {
        const QBLFixtureChannel *channel = currentChannel();
        if (channel && channel->number() == m_channelModel->rowCount())
            ui->addChannel->click();
    });
}

// A field would take the undo keys for its own history, which a new definition or an undo
// step has just emptied: the keys would do nothing while the Edit menu offers them. The
// library's history holds every typed word of the field as a step, so the keys go there,
// and never to the field's own history, not even when the menu has nothing to offer.
bool LocalFixtureDefinitionEditForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void LocalFixtureDefinitionEditForm::editFixtureName()
{
    ui->fixtureName->setFocus();
    ui->fixtureName->selectAll();
}

LocalFixtureDefinitionEditForm::~LocalFixtureDefinitionEditForm()
{
    // The fields outlive this part of the form: a focused one emits editingFinished while
    // QWidget destroys it, and that must not reach a half-destroyed form.
    for (QWidget *child : findChildren<QWidget *>())
        disconnect(child, nullptr, this, nullptr);
    delete ui;
}

void LocalFixtureDefinitionEditForm::setDefinition(QBLFixtureDefinition *definition)
{
    ++m_typingSession;
    clearForm();
    if (!definition) {
        setEnabled(false);
        m_definition = nullptr;
        return;
    }
    // Shown, not stored: a definition read from a file keeps its automatic short names empty
    // until an edit derives them, so looking at it changes nothing that undo would miss.
    m_definition = definition;
    refreshNames();
    {
        // Showing the type must not rewrite a type the box cannot show.
        const QSignalBlocker blocker(ui->fixtureType);
        const quint32 type = m_definition->fixtureType();
        ui->fixtureType->setCurrentIndex(type < FixtureTypeCount ? int(type) : -1);
    }
    {
        const QSignalBlocker manufacturerBlocker(ui->autoManufacturerNameShort);
        const QSignalBlocker fixtureBlocker(ui->autoFixtureNameShort);
        ui->autoManufacturerNameShort->setChecked(m_definition->isAutoManufacturerNameShort());
        ui->manufacturerNameShort->setEnabled(!m_definition->isAutoManufacturerNameShort());
        ui->autoFixtureNameShort->setChecked(m_definition->isAutoFixtureNameShort());
        ui->fixtureNameShort->setEnabled(!m_definition->isAutoFixtureNameShort());
    }
    m_channelModel->setDefinition(m_definition);
    ui->channelNameShort->clear();
    setEnabled(true);
}

void LocalFixtureDefinitionEditForm::refreshNames()
{
    if (!m_definition)
        return;
    ui->fixtureName->setText(m_definition->fixtureName());
    ui->manufacturerName->setText(m_definition->manufacturerName());
    ui->fixtureNameShort->setText(m_definition->effectiveFixtureNameShort());
    ui->manufacturerNameShort->setText(m_definition->effectiveManufacturerNameShort());
}

void LocalFixtureDefinitionEditForm::showChannel(int listPosition)
{
    if (!m_definition || listPosition < 0 || listPosition >= m_definition->nbrOfChannels())
        return;
    const QModelIndex shown = m_channelProxy->mapFromSource(
        m_channelModel->index(listPosition, LocalChannelListModel::NumberColumn));
    ui->channelListView->selectionModel()->setCurrentIndex(
        shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void LocalFixtureDefinitionEditForm::clearForm()
{
    // Blocked, so that clearing the widgets does not reach the definition.
    const QSignalBlocker b1(ui->autoFixtureNameShort);
    const QSignalBlocker b2(ui->autoManufacturerNameShort);
    const QSignalBlocker b3(ui->autoChannelNameShort);
    const QSignalBlocker b4(ui->fixtureType);
    ui->fixtureName->clear();
    ui->manufacturerName->clear();
    ui->fixtureNameShort->clear();
    ui->manufacturerNameShort->clear();
    ui->channelNameShort->clear();
    ui->autoFixtureNameShort->setChecked(false);
    ui->autoManufacturerNameShort->setChecked(false);
    ui->fixtureType->setCurrentIndex(-1);
    clearChannelFields();
    m_channelModel->setDefinition(nullptr);
}

void LocalFixtureDefinitionEditForm::fixtureDefinitionToBeRemoved(QModelIndex index)
{
    if (!m_definition || m_definition->listIndex().row() != index.row())
        return;
    m_definition = nullptr;
    m_channelModel->setDefinition(nullptr);
    clearForm();
    setEnabled(false);
}

void LocalFixtureDefinitionEditForm::on_fixtureName_textEdited(const QString &text)
{
    if (!m_definition)
        return;
    EditScope edit(this, LibraryHistory::Edit::FixtureName);
    m_definition->setFixtureName(text);
    m_definition->applyAutoShortNames();
    ui->fixtureNameShort->setText(m_definition->fixtureNameShort());
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_manufacturerName_textEdited(const QString &text)
{
    if (!m_definition)
        return;
    EditScope edit(this, LibraryHistory::Edit::ManufacturerName);
    m_definition->setManufacturerName(text);
    m_definition->applyAutoShortNames();
    ui->manufacturerNameShort->setText(m_definition->manufacturerNameShort());
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_fixtureNameShort_textEdited(const QString &text)
{
    if (!m_definition)
        return;
    EditScope edit(this, LibraryHistory::Edit::FixtureNameShort);
    m_definition->setFixtureNameShort(text.left(QBLFixtureDefinition::AutoShortNameLength));
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_manufacturerNameShort_textEdited(const QString &text)
{
    if (!m_definition)
        return;
    EditScope edit(this, LibraryHistory::Edit::ManufacturerNameShort);
    m_definition->setManufacturerNameShort(text.left(QBLFixtureDefinition::AutoShortNameLength));
    emit contentEdited();
}

// One of the definition's two short names with its "Auto" box.
struct LocalFixtureDefinitionEditForm::AutoShortName {
    QLineEdit *field;
    LibraryHistory::Edit edit;
    void (QBLFixtureDefinition::*setAutomatic)(bool);
    QString (QBLFixtureDefinition::*shortName)() const;
};

void LocalFixtureDefinitionEditForm::toggleAutoShortName(const AutoShortName &name, bool checked)
{
    name.field->setEnabled(!checked);
    if (!m_definition)
        return;
    EditScope edit(this, name.edit);
    // Turned off, the name shown so far becomes the chosen one.
    m_definition->applyAutoShortNames();
    (m_definition->*name.setAutomatic)(checked);
    m_definition->applyAutoShortNames();
    name.field->setText((m_definition->*name.shortName)());
}

void LocalFixtureDefinitionEditForm::on_autoFixtureNameShort_toggled(bool checked)
{
    toggleAutoShortName({ui->fixtureNameShort, LibraryHistory::Edit::AutoFixtureNameShort,
                         &QBLFixtureDefinition::setAutoFixtureNameShort,
                         &QBLFixtureDefinition::fixtureNameShort},
                        checked);
}

void LocalFixtureDefinitionEditForm::on_autoFixtureNameShort_clicked()
{
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_autoManufacturerNameShort_toggled(bool checked)
{
    toggleAutoShortName({ui->manufacturerNameShort, LibraryHistory::Edit::AutoManufacturerNameShort,
                         &QBLFixtureDefinition::setAutoManufacturerNameShort,
                         &QBLFixtureDefinition::manufacturerNameShort},
                        checked);
}

// A click changes the stored flag (and may change the short name): the library is modified.
void LocalFixtureDefinitionEditForm::on_autoManufacturerNameShort_clicked()
{
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_fixtureType_currentIndexChanged(int index)
{
    EditScope edit(this, LibraryHistory::Edit::FixtureType);
    if (m_definition)
        m_definition->setFixtureType(index < 0 ? QBLFixtureDefinition::NoFixtureType
                                               : quint32(index));
}

void LocalFixtureDefinitionEditForm::currentChanged(QModelIndex current, QModelIndex)
{
    updateChannelButtons();
    ui->channelEditFrame->setEnabled(current.isValid());
    showCurrentChannel();
}

QModelIndex LocalFixtureDefinitionEditForm::currentSourceIndex() const
{
    const QModelIndex current = ui->channelListView->currentIndex();
    return current.isValid() ? m_channelProxy->mapToSource(current) : QModelIndex();
}

QBLFixtureChannel *LocalFixtureDefinitionEditForm::currentChannel()
{
    m_channelProxy->sort(LocalChannelListModel::NumberColumn, Qt::AscendingOrder);
    const QModelIndex current = ui->channelListView->currentIndex();
    if (!current.isValid())
        return nullptr;
    return static_cast<QBLFixtureChannel *>(current.data(Qt::UserRole).value<void *>());
}

void LocalFixtureDefinitionEditForm::clearChannelFields()
{
    const QSignalBlocker blocker(ui->autoChannelNameShort);
    ui->channelName->clear();
    ui->channelNameShort->clear();
    ui->autoChannelNameShort->setChecked(false);
}

void LocalFixtureDefinitionEditForm::refreshChannelShortControls(QBLFixtureChannel *channel)
{
    const QSignalBlocker blocker(ui->autoChannelNameShort);
    ui->autoChannelNameShort->setChecked(channel->isAutoNameShort());
    ui->channelNameShort->setEnabled(!channel->isAutoNameShort());
}

void LocalFixtureDefinitionEditForm::showCurrentChannel()
{
    QBLFixtureChannel *channel = currentChannel();
    if (!channel) {
        clearChannelFields();
        return;
    }
    ui->channelName->setText(channel->name());
    ui->channelNameShort->setText(channel->effectiveNameShort());
    refreshChannelShortControls(channel);
}

void LocalFixtureDefinitionEditForm::on_channelName_textEdited(const QString &text)
{
    QBLFixtureChannel *channel = currentChannel();
    if (!channel) {
        clearChannelFields();
        emit contentEdited();
        return;
    }
    EditScope edit(this, LibraryHistory::Edit::ChannelName, currentSourceIndex().row());
    channel->setName(text);
    channel->applyAutoNameShort();
    ui->channelNameShort->setText(channel->nameShort());
    refreshChannelShortControls(channel);
    // Repaints the row with the new name.
    m_channelModel->setData(currentSourceIndex().siblingAtColumn(LocalChannelListModel::NameColumn),
                            QVariant(), Qt::EditRole);
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_channelNameShort_textEdited(const QString &text)
{
    QBLFixtureChannel *channel = currentChannel();
    if (!channel) {
        clearChannelFields();
        emit contentEdited();
        return;
    }
    EditScope edit(this, LibraryHistory::Edit::ChannelNameShort, currentSourceIndex().row());
    channel->setNameShort(text);
    ui->channelName->setText(channel->name());
    refreshChannelShortControls(channel);
    m_channelModel->setData(currentSourceIndex().siblingAtColumn(LocalChannelListModel::NameColumn),
                            QVariant(), Qt::EditRole);
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_autoChannelNameShort_toggled(bool checked)
{
    ui->channelNameShort->setEnabled(!checked);
    QBLFixtureChannel *channel = currentChannel();
    if (!channel)
        return;
    EditScope edit(this, LibraryHistory::Edit::AutoChannelNameShort, currentSourceIndex().row());
    channel->applyAutoNameShort();
    channel->setAutoNameShort(checked);
    channel->applyAutoNameShort();
    showCurrentChannel();
}

void LocalFixtureDefinitionEditForm::on_autoChannelNameShort_clicked()
{
    if (currentChannel())
        emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_addChannel_clicked()
{
    if (!m_definition)
        return;
    const int n = m_definition->nbrOfChannels();
    EditScope edit(this, LibraryHistory::Edit::AddChannel, n);
    QBLFixtureChannel prepared;
    prepared.setNumber(n + 1);
    prepared.setName(tr("Channel %1").arg(n + 1));
    m_channelModel->insertRows(n, 1);
    const QModelIndex added = m_channelModel->index(n, LocalChannelListModel::NumberColumn);
    m_channelModel->setData(added, QVariant::fromValue(static_cast<void *>(&prepared)),
                            Qt::UserRole);
    ui->channelListView->selectionModel()->setCurrentIndex(m_channelProxy->mapFromSource(added),
                                                           QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
    emit contentEdited();
    updateChannelButtons();
    // Typing replaces the default name.
    ui->channelName->setFocus();
    ui->channelName->selectAll();
}

void LocalFixtureDefinitionEditForm::on_pushButton_clicked()
{
    const QModelIndex source = currentSourceIndex();
    if (source.isValid()) {
        EditScope edit(this, LibraryHistory::Edit::DeleteChannel, source.row());
        m_channelModel->removeRows(source.row(), 1);
        emit contentEdited();
    }
    updateChannelButtons();
}

void LocalFixtureDefinitionEditForm::moveCurrentChannel(bool up)
{
    const QModelIndex source = currentSourceIndex();
    if (!source.isValid())
        return;
    EditScope edit(this, up ? LibraryHistory::Edit::MoveChannelUp
                            : LibraryHistory::Edit::MoveChannelDown,
                   source.row());
    if (up)
        m_channelModel->moveChannelUp(source.row());
    else
        m_channelModel->moveChannelDown(source.row());
    m_channelProxy->sort(LocalChannelListModel::NumberColumn, Qt::AscendingOrder);
    updateChannelButtons();
    emit contentEdited();
}

void LocalFixtureDefinitionEditForm::on_channelUp_clicked()
{
    moveCurrentChannel(true);
}

void LocalFixtureDefinitionEditForm::on_channelDown_clicked()
{
    moveCurrentChannel(false);
}

void LocalFixtureDefinitionEditForm::updateChannelButtons()
{
    m_channelProxy->sort(LocalChannelListModel::NumberColumn, Qt::AscendingOrder);
    if (!ui->channelListView->currentIndex().isValid()) {
        ui->channelUp->setEnabled(false);
        ui->channelDown->setEnabled(false);
        ui->pushButton->setEnabled(false);
        return;
    }
    ui->pushButton->setEnabled(true);
    const QBLFixtureChannel *channel = currentChannel();
    if (!channel)
        return;
    const int n = m_channelModel->rowCount();
    ui->channelUp->setEnabled(channel->number() != 1);
    ui->channelDown->setEnabled(channel->number() != n);
}
