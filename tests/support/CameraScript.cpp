#include "support/CameraScript.h"

#include "link/Commands.h"

QByteArray CameraScript::int16(qint16 value)
{
    QByteArray bytes(2, '\0');
    bytes[0] = static_cast<char>(value & 0xFF);
    bytes[1] = static_cast<char>((value >> 8) & 0xFF);
    return bytes;
}

QByteArray CameraScript::int32List(const QVector<qint32>& values)
{
    QByteArray bytes;
    for (const qint32 value : values) {
        const quint32 bits = static_cast<quint32>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(static_cast<char>((bits >> shift) & 0xFF));
    }
    return bytes;
}

int CameraScript::frequencyCount() const
{
    if (!listFrequencies)
        return 0;
    return (frequencyReply.isEmpty() ? frequenciesKHz.size() * 4 : frequencyReply.size()) / 4;
}

QList<ScriptedServer::Step> CameraScript::steps() const
{
    using Step = ScriptedServer::Step;
    QList<Step> script;
    script << Step::answer(int16(version)) << Step::answer(int16(icVersion));
    if (listFrequencies)
        script << Step::answer(frequencyReply.isEmpty() ? int32List(frequenciesKHz) : frequencyReply);
    else
        script << Step::closeWithoutReply();
    for (int i = 0; i < frequencyCount(); ++i)
        script << Step::answer(int16(i < calibrationTypes.size() ? calibrationTypes.at(i) : 0));
    script << Step::answer(int16(0)) << Step::answer(int16(chipType)) << Step::answer(int16(partVersion));
    if (flimChip())
        script << Step::answer(int16(flimStep));
    script << Step::answer(int16(offset));
    return script;
}

QStringList CameraScript::commands() const
{
    QStringList lines;
    lines << Commands::version() << Commands::getIcVersion() << Commands::getModulationFrequencies();
    for (int i = 0; i < frequencyCount(); ++i)
        lines << Commands::getCalibrationTypeForFreqIdx(i);
    lines << Commands::selectChipTypeRegister() << Commands::readChipType() << Commands::getPartVersion();
    if (flimChip())
        lines << Commands::flimGetStep();
    lines << Commands::getOffset();
    return lines;
}
