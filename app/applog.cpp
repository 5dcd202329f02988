#include "applog.h"

Q_LOGGING_CATEGORY(lcApp, "kdr.app", QtInfoMsg)
