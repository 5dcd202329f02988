#include "libraryhistory.h"

#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <numeric>

bool DefinitionState::Channel::operator==(const Channel &other) const
{
    return number == other.number && name == other.name && nameShort == other.nameShort &&
           autoNameShort == other.autoNameShort && description == other.description;
}

DefinitionState DefinitionState::of(const QBLFixtureDefinition &definition)
{
    DefinitionState state;
    state.fixtureName = definition.fixtureName();
    state.fixtureNameShort = definition.fixtureNameShort();
    state.autoFixtureNameShort = definition.isAutoFixtureNameShort();
    state.manufacturerName = definition.manufacturerName();
    state.manufacturerNameShort = definition.manufacturerNameShort();
    state.autoManufacturerNameShort = definition.isAutoManufacturerNameShort();
    state.fixtureType = definition.fixtureType();
    state.channels.reserve(definition.nbrOfChannels());
    for (const QBLFixtureChannel *channel : definition.channels())
        state.channels.append({channel->number(), channel->name(), channel->nameShort(),
                               channel->isAutoNameShort(), channel->description()});
    return state;
}

void DefinitionState::applyTo(QBLFixtureDefinition &definition) const
{
    definition.setAutoFixtureNameShort(autoFixtureNameShort);
    definition.setAutoManufacturerNameShort(autoManufacturerNameShort);
    definition.setFixtureType(fixtureType);
    definition.setFixtureNameShort(fixtureNameShort);
    definition.setManufacturerNameShort(manufacturerNameShort);
    definition.setManufacturerName(manufacturerName);
    definition.setFixtureName(fixtureName);
    QList<QBLFixtureChannel *> &list = definition.channels();
    const bool countChanged = list.size() != channels.size();
    while (list.size() > channels.size())
        delete list.takeLast();
    while (list.size() < channels.size())
        list.append(new QBLFixtureChannel);
    for (int k = 0; k < channels.size(); ++k) {
        QBLFixtureChannel *channel = list.at(k);
        const Channel &state = channels.at(k);
        channel->setNumber(state.number);
        channel->setName(state.name);
        channel->setNameShort(state.nameShort);
        channel->setAutoNameShort(state.autoNameShort);
        channel->setDescription(state.description);
    }
    if (countChanged)
        definition.emitNbrOfChannelChanged();
}

bool DefinitionState::operator==(const DefinitionState &other) const
{
    return fixtureName == other.fixtureName && fixtureNameShort == other.fixtureNameShort &&
           autoFixtureNameShort == other.autoFixtureNameShort &&
           manufacturerName == other.manufacturerName &&
           manufacturerNameShort == other.manufacturerNameShort &&
           autoManufacturerNameShort == other.autoManufacturerNameShort &&
           fixtureType == other.fixtureType && channels == other.channels;
}

namespace
{

DefinitionState withDerivedShortNames(DefinitionState state)
{
    if (state.autoFixtureNameShort)
        state.fixtureNameShort = QBLFixtureDefinition::derivedShortName(state.fixtureName);
    if (state.autoManufacturerNameShort)
        state.manufacturerNameShort =
            QBLFixtureDefinition::derivedShortName(state.manufacturerName);
    for (DefinitionState::Channel &channel : state.channels)
        if (channel.autoNameShort)
            channel.nameShort = QBLFixtureChannel::derivedNameShort(channel.name);
    return state;
}

QList<int> rowRange(int first, int count)
{
    QList<int> rows(count);
    std::iota(rows.begin(), rows.end(), first);
    return rows;
}

} // namespace

bool DefinitionState::sameContent(const DefinitionState &other) const
{
    return withDerivedShortNames(*this) == withDerivedShortNames(other);
}

// Appended definitions. While done the model owns them; while undone the command does.
class InsertDefinitionsCommand : public QUndoCommand
{
public:
    InsertDefinitionsCommand(LibraryHistory *history, QList<QBLFixtureDefinition *> definitions,
                             const QString &text)
        : QUndoCommand(text), m_history(history), m_held(std::move(definitions)),
          m_count(int(m_held.size()))
    {
    }
    ~InsertDefinitionsCommand() override { qDeleteAll(m_held); }

    void redo() override
    {
        LocalFixtureDefinitionListModel *model = m_history->model();
        if (!model || m_held.isEmpty())
            return;
        m_first = model->rowCount();
        const QList<int> rows = rowRange(m_first, int(m_held.size()));
        model->insertDefinitions(rows, m_held);
        m_held.clear();
        emit m_history->touched(rows, -1);
    }

    void undo() override
    {
        LocalFixtureDefinitionListModel *model = m_history->model();
        if (!model || !m_held.isEmpty())
            return;
        const QList<int> rows = rowRange(m_first, m_count);
        emit m_history->rowsAboutToBeRemoved(rows);
        m_held = model->takeRows(rows);
        emit m_history->touched({}, -1);
    }

private:
    LibraryHistory *m_history;
    QList<QBLFixtureDefinition *> m_held;
    const int m_count;
    int m_first = 0;
};

// Removed rows. While done the command owns their definitions.
class RemoveDefinitionsCommand : public QUndoCommand
{
public:
    RemoveDefinitionsCommand(LibraryHistory *history, QList<int> rows, const QString &text)
        : QUndoCommand(text), m_history(history), m_rows(std::move(rows))
    {
    }
    ~RemoveDefinitionsCommand() override { qDeleteAll(m_held); }

    void redo() override
    {
        LocalFixtureDefinitionListModel *model = m_history->model();
        if (!model)
            return;
        emit m_history->rowsAboutToBeRemoved(m_rows);
        m_held = model->takeRows(m_rows);
        emit m_history->touched({}, -1);
    }

    void undo() override
    {
        LocalFixtureDefinitionListModel *model = m_history->model();
        if (!model || m_held.isEmpty())
            return;
        model->insertDefinitions(m_rows, m_held);
        m_held.clear();
        emit m_history->touched(m_rows, -1);
    }

private:
    LibraryHistory *m_history;
    const QList<int> m_rows; // ascending
    QList<QBLFixtureDefinition *> m_held;
};

// One edit of one definition, recorded after it was made.
class EditDefinitionCommand : public QUndoCommand
{
public:
    EditDefinitionCommand(LibraryHistory *history, int row, DefinitionState before,
                          DefinitionState after, LibraryHistory::Edit edit, int channelPosition,
                          int typingSession)
        : QUndoCommand(LibraryHistory::editText(edit)), m_history(history), m_row(row),
          m_before(std::move(before)), m_after(std::move(after)), m_edit(edit),
          m_channelPosition(channelPosition), m_typingSession(typingSession)
    {
    }

    int id() const override { return 1; }

    bool mergeWith(const QUndoCommand *command) override
    {
        const auto *other = static_cast<const EditDefinitionCommand *>(command);
        if (m_typingSession < 0 || other->m_typingSession != m_typingSession ||
            other->m_edit != m_edit || other->m_row != m_row ||
            other->m_channelPosition != m_channelPosition)
            return false;
        m_after = other->m_after;
        // Typed and typed away again: nothing is left to undo. The short names derived on the
        // way go back to what was stored, so the library is exactly as before the typing.
        if (m_after.sameContent(m_before)) {
            LocalFixtureDefinitionListModel *model = m_history->model();
            if (QBLFixtureDefinition *definition = model ? model->definitionAt(m_row) : nullptr)
                m_before.applyTo(*definition);
            setObsolete(true);
        }
        return true;
    }

    void redo() override
    {
        // Pushed after the edit was made: the first redo has nothing to do.
        if (m_recorded) {
            m_recorded = false;
            return;
        }
        restore(m_after);
    }

    void undo() override { restore(m_before); }

private:
    void restore(const DefinitionState &state)
    {
        LocalFixtureDefinitionListModel *model = m_history->model();
        QBLFixtureDefinition *definition = model ? model->definitionAt(m_row) : nullptr;
        if (!definition)
            return;
        emit m_history->rowAboutToBeRestored(m_row);
        state.applyTo(*definition);
        emit m_history->touched({m_row}, m_channelPosition);
    }

    LibraryHistory *m_history;
    const int m_row;
    const DefinitionState m_before;
    DefinitionState m_after;
    const LibraryHistory::Edit m_edit;
    const int m_channelPosition;
    const int m_typingSession;
    bool m_recorded = true;
};

LibraryHistory::LibraryHistory(QObject *parent) : QObject(parent), m_stack(new QUndoStack(this))
{
    m_stack->setUndoLimit(UndoLimit);
}

LibraryHistory::~LibraryHistory()
{
    // The commands reach back into this object while they go.
    delete m_stack;
}

void LibraryHistory::setModel(LocalFixtureDefinitionListModel *model)
{
    m_stack->clear();
    m_model = model;
}

void LibraryHistory::addDefinitions(const QList<const QBLFixtureDefinition *> &definitions,
                                    const QString &text)
{
    if (!m_model || definitions.isEmpty())
        return;
    QList<QBLFixtureDefinition *> copies;
    copies.reserve(definitions.size());
    for (const QBLFixtureDefinition *source : definitions) {
        auto *copy = new QBLFixtureDefinition;
        *copy = *source;
        copies.append(copy);
    }
    m_stack->push(new InsertDefinitionsCommand(this, copies, text));
}

void LibraryHistory::removeRows(QList<int> rows, const QString &text)
{
    if (!m_model)
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int row) { return !m_model->definitionAt(row); }),
               rows.end());
    if (rows.isEmpty())
        return;
    m_stack->push(new RemoveDefinitionsCommand(this, rows, text));
}

void LibraryHistory::recordEdit(int row, const DefinitionState &before,
                                const DefinitionState &after, Edit edit, int channelPosition,
                                int typingSession)
{
    if (!m_model || before == after || !m_model->definitionAt(row))
        return;
    const bool typing = edit == Edit::FixtureName || edit == Edit::ManufacturerName ||
                        edit == Edit::FixtureNameShort || edit == Edit::ManufacturerNameShort ||
                        edit == Edit::ChannelName || edit == Edit::ChannelNameShort;
    m_stack->push(new EditDefinitionCommand(this, row, before, after, edit, channelPosition,
                                            typing ? typingSession : -1));
}

QString LibraryHistory::editText(Edit edit)
{
    switch (edit) {
    case Edit::FixtureName:
        return tr("Edit Fixture Name");
    case Edit::ManufacturerName:
        return tr("Edit Manufacturer Name");
    case Edit::FixtureNameShort:
        return tr("Edit Fixture Short Name");
    case Edit::ManufacturerNameShort:
        return tr("Edit Manufacturer Short Name");
    case Edit::AutoFixtureNameShort:
        return tr("Automatic Fixture Short Name");
    case Edit::AutoManufacturerNameShort:
        return tr("Automatic Manufacturer Short Name");
    case Edit::FixtureType:
        return tr("Change Fixture Type");
    case Edit::AddChannel:
        return tr("Add Channel");
    case Edit::DeleteChannel:
        return tr("Delete Channel");
    case Edit::MoveChannelUp:
        return tr("Move Channel Up");
    case Edit::MoveChannelDown:
        return tr("Move Channel Down");
    case Edit::ChannelName:
        return tr("Edit Channel Name");
    case Edit::ChannelNameShort:
        return tr("Edit Channel Short Name");
    case Edit::AutoChannelNameShort:
        return tr("Automatic Channel Short Name");
    case Edit::RenameFixture:
        return tr("Rename Fixture Definition");
    case Edit::RenameManufacturer:
        return tr("Rename Manufacturer");
    }
    return QString();
}
