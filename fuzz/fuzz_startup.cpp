// The start-up conversation against a server that answers anything. A server on 127.0.0.1 (an
// ephemeral port, in a thread of this process) gives each connection the next reply of the
// input: some bytes and a close, a close without a reply, or some bytes and a reset. Past the
// end of the input every connection is closed without a reply. Whatever comes, the start-up
// ends, a success always names a supported chip, and a failure to connect leaves no chip type.

#include "app/ApplicationContext.h"
#include "app/StartupManager.h"
#include "fuzz/FuzzInput.h"
#include "settings/Settings.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Reply
{
    enum Kind
    {
        Answer,
        Close,
        Reset
    } kind;
    QByteArray bytes;
};

class ScriptServer final
{
public:
    bool start()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (m_listener < 0 ||
            ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 16) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return false;
        m_port = ntohs(address.sin_port);
        std::thread([this] { serve(); }).detach();
        return true;
    }

    quint16 port() const { return m_port; }

    void setScript(std::vector<Reply> script)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_script = std::move(script);
        m_next = 0;
    }

private:
    Reply next()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_next < m_script.size())
            return m_script[m_next++];
        return {Reply::Close, {}};
    }

    void serve()
    {
        for (;;) {
            const int connection = ::accept(m_listener, nullptr, nullptr);
            if (connection < 0)
                continue;
            // The command line first, as the camera reads it; a client that sends nothing is
            // answered after a moment anyway.
            timeval wait{0, 200000};
            ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
            char c = 0;
            while (::recv(connection, &c, 1, 0) == 1 && c != '\n') {
            }
            const Reply reply = next();
            if (reply.kind != Reply::Close && !reply.bytes.isEmpty())
                ::send(connection, reply.bytes.constData(), size_t(reply.bytes.size()), MSG_NOSIGNAL);
            if (reply.kind == Reply::Reset) {
                const linger abortive{1, 0};
                ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
            }
            ::close(connection);
        }
    }

    int m_listener = -1;
    quint16 m_port = 0;
    std::mutex m_mutex;
    std::vector<Reply> m_script;
    size_t m_next = 0;
};

ScriptServer* server = nullptr;

std::vector<Reply> scriptOf(FuzzInput& input)
{
    std::vector<Reply> script;
    while (input.remaining() > 0) {
        switch (input.intIn(0, 3)) {
        case 0: // most replies are a value or a few
            script.push_back({Reply::Answer, input.take(size_t(input.intIn(0, 16)))});
            break;
        case 1:
            script.push_back({Reply::Answer, input.take(size_t(input.intIn(0, 1023)))});
            break;
        case 2:
            script.push_back({Reply::Close, {}});
            break;
        default:
            script.push_back({Reply::Reset, input.take(size_t(input.intIn(0, 16)))});
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
    server = new ScriptServer;
    if (!server->start())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    server->setScript(scriptOf(input));
    ApplicationContext context;
    context.settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
    context.settings()->socket()->setPort(server->port());
    StartupManager startup(&context);
    const StartupManager::StartupResult result = startup.connectToCamera();
    const Settings* settings = context.settings();
    if (result == StartupManager::Success && !settings->isChipSupported())
        std::abort();
    if (result == StartupManager::ConnectionFailed && settings->chipType() != 0)
        std::abort();
    return 0;
}
