#pragma once

#include <QString>

// Which configuration file the main window loads after start-up, by chip type: the built-in
// default of the sensor model, or the last configuration the window saved when it closed.
namespace ConfigurationChoice {

// The file to load first; empty for chip types that have no configuration (0 offline, 1, ...).
QString primary(int chipType, bool loadDefault);
// The second default that the zc320 and zc310 load on top of the first when the loaded
// modulation frequency index is 0 or 1; empty otherwise.
QString secondDefault(int chipType);
// The last-configuration file of a chip type in the system's temporary directory; empty for
// chip types that have none.
QString lastConfiguration(int chipType);

} // namespace ConfigurationChoice
