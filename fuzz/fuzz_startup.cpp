// The start-up conversation with a camera that answers anything. Every blocking exchange gets
// the next reply of the input from a channel that stands in for the network in this process:
// some bytes, a reply cut short (the time-out or a reset), an empty reply, or a camera that
// cannot be reached. Past the end of the input the camera answers nothing. Whatever comes, the
// start-up ends, a success always names a supported chip, and a failure to connect leaves no
// chip type.

#include "app/StartupManager.h"
#include "fuzz/FuzzInput.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"
#include "settings/SettingsSocket.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

struct Reply
{
    enum Kind
    {
        Answer,
        CutShort,
        Unreachable
    } kind;
    QByteArray bytes;
};

// Hands each blocking exchange the next reply of the script, with the outcome the network
// channel reports for it. One channel serves every input (its reply buffer is large).
class ScriptedChannel final : public ZelTcp
{
public:
    using ZelTcp::ZelTcp;

    void setScript(std::vector<Reply> script)
    {
        m_script = std::move(script);
        m_next = 0;
    }

    bool sendCommand(int) override
    {
        const Reply reply = m_next < m_script.size() ? m_script[m_next++] : Reply{Reply::Answer, {}};
        if (reply.kind == Reply::Unreachable) {
            emit exchangeEnded(false);
            return false;
        }
        response() = reply.bytes;
        emit exchangeEnded(reply.kind == Reply::Answer);
        emit finishedCommand(response());
        return true;
    }

private:
    std::vector<Reply> m_script;
    size_t m_next = 0;
};

ScriptedChannel* channel = nullptr;

std::vector<Reply> scriptOf(FuzzInput& input)
{
    std::vector<Reply> script;
    while (input.remaining() > 0) {
        switch (input.intIn(0, 4)) {
        case 0: // most replies are a value or a few
            script.push_back({Reply::Answer, input.take(size_t(input.intIn(0, 16)))});
            break;
        case 1:
            script.push_back({Reply::Answer, input.take(size_t(input.intIn(0, 1023)))});
            break;
        case 2:
            script.push_back({Reply::Answer, {}});
            break;
        case 3:
            script.push_back({Reply::CutShort, input.take(size_t(input.intIn(0, 16)))});
            break;
        default:
            script.push_back({Reply::Unreachable, {}});
            break;
        }
    }
    return script;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The start-up manager opens the per-user store: keep it away from the user's own.
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    static QGuiApplication application(*argc, *argv);
    static SettingsSocket address;
    channel = new ScriptedChannel(&address);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    channel->setScript(scriptOf(input));
    Settings settings;
    StartupManager startup(&settings, channel);
    const StartupManager::StartupResult result = startup.connectToCamera();
    if (result == StartupManager::Success && !settings.isChipSupported())
        std::abort();
    if (result == StartupManager::ConnectionFailed && settings.chipType() != 0)
        std::abort();
    return 0;
}
