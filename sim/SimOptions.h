#pragma once

#include "sim/SimConfig.h"

#include <QStringList>

// The command line of zmu-sim.
namespace SimOptions {
// Parses `arguments` (program name first). Returns false with `message` set on an error;
// `exitNow` is set (and `message` holds the text to print) for --help and --version.
bool parse(const QStringList& arguments, SimConfig* config, QString* message, bool* exitNow);
QString helpText();
} // namespace SimOptions
