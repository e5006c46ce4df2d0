#pragma once

#include <QByteArray>

// The reply to one command line, and how long the camera works before it answers.
struct SimReply
{
    QByteArray bytes;
    int workMs = 0;       // long operations always, frames only in real-time mode
    bool frame = false;   // a frame payload (the partial and oversize faults act on these)
    bool control = false; // a "sim." control command: never affected by faults
};
