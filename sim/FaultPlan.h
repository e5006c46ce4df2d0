#pragma once

#include <QString>

// Misbehaviour switched on for reliability tests, each alone or combined. Written as a
// comma-separated list, on the command line (--fault) or at run time ("sim.fault"):
//   delay=N     every reply comes N ms late
//   hang        accept, read the command, never answer nor close
//   close       close without a reply
//   partial     send only the first half of a frame, then close
//   oversize    append a quarter of extra words to every frame
//   garbage     answer with random bytes instead of the reply
//   reset       reset the connection half-way through the reply
//   refuse=N    stop accepting connections for N seconds (from the moment it is set)
//   every=N     only every Nth exchange misbehaves (with the faults above; alone: it is closed
//               without reply)
//   none        clear everything
// Control commands ("sim." ...) are never affected, so a test can always switch faults off.
struct FaultPlan
{
    int delayMs = 0;
    bool hang = false;
    bool closeWithoutReply = false;
    bool partialFrame = false;
    bool oversizeFrame = false;
    bool garbage = false;
    bool reset = false;
    int refuseSeconds = 0;
    int everyNth = 0;

    // Parses `spec` into a plan; false (and `error` set) on an unknown item or a bad number.
    static bool parse(const QString& spec, FaultPlan* plan, QString* error);
    QString describe() const;
    bool anyReplyFault() const
    {
        return hang || closeWithoutReply || partialFrame || oversizeFrame || garbage || reset;
    }
};
