#pragma once

// Diagnostics of firmware files and updates (kdr.firmware), off by default.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFirmware)
