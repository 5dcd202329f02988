#pragma once

#include "storeworker.h"

// Erases the controller's patch list (command 15), which must be empty before definitions may
// be stored or deleted. Makes no device check of its own. Ends with exactly one of success,
// failed or aborted.
class PatchListClearer : public StoreWorker
{
    Q_OBJECT

public:
    explicit PatchListClearer(QObject *parent = nullptr);

signals:
    void success();
    void aborted();

protected:
    void run() override;

private:
    char m_payload[2] = {0, 0};
};
