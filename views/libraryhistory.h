#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "model/localfixturedefinitionlistmodel.h"

class QBLFixtureDefinition;
class QUndoStack;

// Everything of one definition that an edit can change, as plain values.
struct DefinitionState {
    struct Channel {
        int number = 0;
        QString name;
        QString nameShort;
        bool autoNameShort = true;
        QString description;
        bool operator==(const Channel &other) const;
    };

    QString fixtureName;
    QString fixtureNameShort;
    bool autoFixtureNameShort = true;
    QString manufacturerName;
    QString manufacturerNameShort;
    bool autoManufacturerNameShort = true;
    quint32 fixtureType = 0;
    QList<Channel> channels;

    static DefinitionState of(const QBLFixtureDefinition &definition);
    void applyTo(QBLFixtureDefinition &definition) const;
    bool operator==(const DefinitionState &other) const;
    // Equal as the file and the controller see them: a short name whose flag is set counts as
    // derived from its name, whatever is stored.
    bool sameContent(const DefinitionState &other) const;
    bool operator!=(const DefinitionState &other) const { return !(*this == other); }
};

// The undo history of the open library. Every change of the library's content is a command
// on its stack; the commands address definitions by row, which stays exact because each
// command, undone, restores the rows it found.
class LibraryHistory : public QObject
{
    Q_OBJECT

public:
    // What one recorded edit changed; names the command and decides what merges.
    enum class Edit {
        FixtureName,
        ManufacturerName,
        FixtureNameShort,
        ManufacturerNameShort,
        AutoFixtureNameShort,
        AutoManufacturerNameShort,
        FixtureType,
        AddChannel,
        DeleteChannel,
        MoveChannelUp,
        MoveChannelDown,
        ChannelName,
        ChannelNameShort,
        AutoChannelNameShort,
        RenameFixture,
        RenameManufacturer,
    };

    // A long session of edits must not hold the whole day in memory.
    static constexpr int UndoLimit = 1000;

    explicit LibraryHistory(QObject *parent = nullptr);
    ~LibraryHistory() override;

    QUndoStack *stack() const { return m_stack; }
    LocalFixtureDefinitionListModel *model() const { return m_model; }
    // A new library: the model whose rows the commands address, and an empty stack.
    void setModel(LocalFixtureDefinitionListModel *model);

    // Appends copies of the definitions as one command; the caller keeps the originals.
    void addDefinitions(const QList<const QBLFixtureDefinition *> &definitions,
                        const QString &text);
    // Removes the rows as one command; the command keeps the removed definitions.
    void removeRows(QList<int> rows, const QString &text);
    // Records an edit already made to the definition of row. Edits of the same typing kind,
    // row, channel and typing session merge into one command.
    void recordEdit(int row, const DefinitionState &before, const DefinitionState &after,
                    Edit edit, int channelPosition, int typingSession);

    static QString editText(Edit edit);

signals:
    // Before the command removes these rows or rewrites this row, so that whoever shows one
    // of their definitions lets go of it.
    void rowsAboutToBeRemoved(const QList<int> &rows);
    void rowAboutToBeRestored(int row);
    // After undo or redo: the rows the command touched (empty when it removed them) and the
    // channel position within the last one, or -1.
    void touched(const QList<int> &rows, int channelPosition);

private:
    friend class InsertDefinitionsCommand;
    friend class RemoveDefinitionsCommand;
    friend class EditDefinitionCommand;

    QUndoStack *m_stack;
    QPointer<LocalFixtureDefinitionListModel> m_model;
};
