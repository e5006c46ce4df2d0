#include "sim/SimOptions.h"

#include "sim/FaultPlan.h"

namespace {
bool takeValue(const QStringList& arguments, int* i, QString* value)
{
    if (*i + 1 >= arguments.size())
        return false;
    *value = arguments.at(++*i);
    return true;
}

QStringList valueOptions()
{
    return {QStringLiteral("--listen"),     QStringLiteral("--port"),
            QStringLiteral("--chip"),       QStringLiteral("--server-version"),
            QStringLiteral("--ic-version"), QStringLiteral("--part-version"),
            QStringLiteral("--offset"),     QStringLiteral("--seed"),
            QStringLiteral("--long-op-ms"), QStringLiteral("--fault")};
}

bool toNumber(const QString& text, int low, int high, int* value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    *value = v;
    return true;
}
} // namespace

namespace SimOptions {
QString helpText()
{
    return QStringLiteral(
        "Usage: zmu-sim [options]\n"
        "A simulated ZMU camera module: serves the command set of the camera's command server\n"
        "with frames of a synthetic scene. Prints \"zmu-sim: listening on ADDR:PORT\" first.\n"
        "\n"
        "Options:\n"
        "  --listen ADDR          address to listen on (default 127.0.0.1). WARNING: the camera\n"
        "                         protocol has no authentication; anyone who can reach the port\n"
        "                         can change every setting. Use only on a network you trust.\n"
        "  --port N               TCP port (default 50660; 0 picks a free port)\n"
        "  --chip MODEL           zc320 (chip type 2, default), zc310 (4), zc210 (3), zc220 (5)\n"
        "  --server-version N     reply to \"version\" (default 21205 = 2.12.5; -1 = too old)\n"
        "  --ic-version N         reply to \"getIcVersion\" (default 3)\n"
        "  --part-version N       reply to \"getPartVersion\" (default 7)\n"
        "  --offset N             automatic distance offset in LSB (default 0)\n"
        "  --seed N               scene noise and bad-pixel seed (default 1); frames are\n"
        "                         deterministic for a seed and a frame count\n"
        "  --long-op-ms N         duration of searchBadPixels, calibrateDRNU, renewDRNU and\n"
        "                         factoryCalibration (default 2000)\n"
        "  --realtime             answer frames after the time a real sensor needs (integration\n"
        "                         times, sub-frames, readout); default: as fast as possible\n"
        "  --no-noise             noise-free frames\n"
        "  --fault LIST           misbehave for reliability tests; LIST is comma-separated:\n"
        "                           delay=N   every reply N ms late\n"
        "                           hang      accept, never answer nor close\n"
        "                           close     close without reply\n"
        "                           partial   send only the first half of a frame\n"
        "                           oversize  a frame a quarter larger than the settings imply\n"
        "                           garbage   random bytes instead of the reply\n"
        "                           reset     reset the connection half-way through the reply\n"
        "                           refuse=N  refuse connections for N seconds\n"
        "                           every=N   the faults act on every Nth exchange only (alone:\n"
        "                                     every Nth exchange is closed without reply)\n"
        "  --verbose              print every command and the size of its reply on stderr\n"
        "  --help                 this text\n"
        "\n"
        "Control commands (outside the camera vocabulary, never subject to faults; text replies\n"
        "end with a line feed):\n"
        "  sim.fault [LIST]       set the faults as --fault (\"none\" clears); reply \"OK <faults>\";\n"
        "                         without LIST the current faults\n"
        "  sim.lastFrame          the last served frame in sensor coordinates: int32 images,\n"
        "                         int32 columns, int32 rows, then for each image, row by row,\n"
        "                         columns int32 raw words; -1 where the frame delivered nothing\n"
        "  sim.state              the settings the camera holds, one key=value per line\n"
        "  sim.freeze 1|0         1: serve the last frame again with no per-frame work while the\n"
        "                         command and settings stay the same (for benchmarks)\n"
        "  sim.noise 1|0          switch the noise on or off\n"
        "  sim.frame N            set the frame counter (the scene's time)\n"
        "All replies are little-endian. See sim/README.md for the camera commands.\n");
}

bool parse(const QStringList& arguments, SimConfig* config, QString* message, bool* exitNow)
{
    *exitNow = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        QString value;
        bool ok = true;
        int number = 0;
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            *message = helpText();
            *exitNow = true;
            return true;
        } else if (option == QLatin1String("--realtime")) {
            config->realtime = true;
        } else if (option == QLatin1String("--no-noise")) {
            config->noise = false;
        } else if (option == QLatin1String("--verbose")) {
            config->verbose = true;
        } else if (!valueOptions().contains(option)) {
            *message = QStringLiteral("unknown option ") + option;
            return false;
        } else if (!takeValue(arguments, &i, &value)) {
            *message = QStringLiteral("missing value for ") + option;
            return false;
        } else if (option == QLatin1String("--listen")) {
            ok = config->listenAddress.setAddress(value);
        } else if (option == QLatin1String("--port")) {
            ok = toNumber(value, 0, 65535, &number);
            config->port = static_cast<quint16>(number);
        } else if (option == QLatin1String("--chip")) {
            ok = ChipModel::isKnownName(value);
            if (ok)
                config->chip = ChipModel::byName(value);
        } else if (option == QLatin1String("--server-version")) {
            ok = toNumber(value, -32768, 32767, &config->serverVersion);
        } else if (option == QLatin1String("--ic-version")) {
            ok = toNumber(value, -32768, 32767, &config->icVersion);
        } else if (option == QLatin1String("--part-version")) {
            ok = toNumber(value, -32768, 32767, &config->partVersion);
        } else if (option == QLatin1String("--offset")) {
            ok = toNumber(value, -30000, 30000, &config->automaticOffset);
        } else if (option == QLatin1String("--seed")) {
            config->seed = value.toULongLong(&ok);
        } else if (option == QLatin1String("--long-op-ms")) {
            ok = toNumber(value, 0, 3600000, &config->longOperationMs);
        } else if (option == QLatin1String("--fault")) {
            FaultPlan plan;
            ok = FaultPlan::parse(value, &plan, nullptr);
            config->faults = value;
        }
        if (!ok) {
            *message = QStringLiteral("bad value for ") + option + QStringLiteral(": ") + value;
            return false;
        }
    }
    return true;
}
} // namespace SimOptions
