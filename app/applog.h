#pragma once

// Diagnostics of the window (kdr.app): the events of device operations and the connection,
// off by default. Never shown to the user.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
