#include "sim/SimTrace.h"

Q_LOGGING_CATEGORY(lcSimCommands, "zmusim.commands", QtWarningMsg)
