#include "link/log.h"

Q_LOGGING_CATEGORY(lcLink, "orvik.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSerial, "orvik.serial", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "orvik.ui", QtWarningMsg)
