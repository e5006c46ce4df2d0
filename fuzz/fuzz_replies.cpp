// Every reader of the command set's replies against any reply: the values read are bounded by
// what arrived, fixed-length lists always have their length.

#include "fuzz/FuzzInput.h"
#include "link/Replies.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    // The first byte picks a length for the reader that is given one, the rest is the reply.
    const int count = input.intIn(-4, 300);
    const QByteArray reply = input.rest();

    Replies::int16(reply);
    Replies::doubleValue(reply);
    Replies::flag(reply);
    Replies::icVersion(reply);
    Replies::reportsFailure(reply);
    if (Replies::int16List(reply, count).size() != qMax(count, 0))
        std::abort();
    if (Replies::int16List(reply).size() != reply.size() / 2 ||
        Replies::int32List(reply).size() != reply.size() / 4)
        std::abort();
    if (Replies::chipInfo(reply).size() != Replies::chipInfoCount ||
        Replies::registers(reply).size() != Replies::registerCount)
        std::abort();
    Replies::modulationFrequencies(reply);
    Replies::badPixels(reply);
    Replies::pointList(reply);
    qint16 temperatures[Replies::temperatureCount];
    Replies::temperatures(reply, temperatures);
    int16_t table[Replies::drnuTableCount];
    if (Replies::drnuTable(reply, table) != (reply.size() >= Replies::drnuTableMinBytes))
        std::abort();
    return 0;
}
