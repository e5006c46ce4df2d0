#pragma once

#include <QLoggingCategory>

// Every command the simulator answers, with the size of its reply ("zmu-sim --verbose").
Q_DECLARE_LOGGING_CATEGORY(lcSimCommands)
