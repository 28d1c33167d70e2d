// Logging categories: enable with QT_LOGGING_RULES="orvik.*.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)     // orvik.link: frames, connection set-up, dispatch
Q_DECLARE_LOGGING_CATEGORY(lcSerial)   // orvik.serial: what the port reports
Q_DECLARE_LOGGING_CATEGORY(lcUi)       // orvik.ui: windows and pages
