#include "app/CommandLineOptions.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace {
// An IPv4 or IPv6 address, or a host name (letters, digits, hyphens, dots).
bool isServerAddress(const QString& text)
{
    if (QHostAddress(text).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol)
        return true;
    static const QRegularExpression hostName(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,62})(\\.[A-Za-z0-9]([A-Za-z0-9-]{0,62}))*$"));
    return text.size() <= 253 && hostName.match(text).hasMatch();
}
} // namespace

CommandLineOptions::CommandLineOptions()
    : helpOption({QStringLiteral("h"), QStringLiteral("help")},
                 QStringLiteral("Shows these options and exits."))
    , versionOption(QStringLiteral("version"), QStringLiteral("Shows the client version and exits."))
    , ipOption(QStringLiteral("ip"),
               QStringLiteral("Connects to the command server at ADDRESS (this run only; the address "
                              "remembered from the start dialog is left as it is)."),
               QStringLiteral("ADDRESS"))
    , portOption(QStringLiteral("port"), QStringLiteral("TCP port of the command server (default 50660)."),
                 QStringLiteral("N"))
    , loadDefaultOption(
          QStringLiteral("load-default"),
          QStringLiteral("Loads the default configuration of the chip instead of the last one."))
    , startVideoOption(QStringLiteral("start-video"),
                       QStringLiteral("Starts live video once the main window is shown."))
    , screenshotOption(QStringLiteral("screenshot"),
                       QStringLiteral("Once the main window has painted, saves all its windows side by side "
                                      "to the PNG file PATH, then closes the main window and exits."),
                       QStringLiteral("PATH"))
    , viewModeOption(
          QStringLiteral("view-mode"),
          QStringLiteral("Selects view mode N (0 grayscale, 1 distance, 2 amplitude, ... as in the "
                         "view panel's Mode list) once the configuration is loaded."),
          QStringLiteral("N"))
    , captureOption(QStringLiteral("capture"),
                    QStringLiteral("Headless capture: records N pictures of the view mode exactly as the "
                                   "Logging page does (no confirmation), with the configuration's output "
                                   "options, then closes and exits: 0 when every file was written, 1 with "
                                   "the reason on standard error when the camera cannot be reached or the "
                                   "run fails."),
                    QStringLiteral("N"))
    , logPathOption(QStringLiteral("log-path"),
                    QStringLiteral("Directory of the --capture files (default: the configuration's log "
                                   "path, else the current directory)."),
                    QStringLiteral("DIR"))
    , logNameOption(QStringLiteral("log-name"),
                    QStringLiteral("File name of the --capture files (default: the configuration's; "
                                   "\"unnamed\" when that is empty)."),
                    QStringLiteral("NAME"))
{
    parser.setApplicationDescription(
        QStringLiteral("Kestrane TOF Imager: client for the ZMU time-of-flight camera module.\n"
                       "Without arguments the start dialog asks for the camera's address. Any "
                       "argument skips it and connects at once."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    parser.addOption(ipOption);
    parser.addOption(portOption);
    parser.addOption(loadDefaultOption);
    parser.addOption(startVideoOption);
    parser.addOption(screenshotOption);
    parser.addOption(viewModeOption);
    parser.addOption(captureOption);
    parser.addOption(logPathOption);
    parser.addOption(logNameOption);
    parser.addPositionalArgument(QStringLiteral("arguments"),
                                 QStringLiteral("Ignored; any argument skips the start dialog."),
                                 QStringLiteral("[arguments...]"));
}

bool CommandLineOptions::parse(const QStringList& arguments)
{
    m_skipStartDialog = arguments.size() > 1;
    if (!parser.parse(arguments)) {
        m_error = parser.errorText();
        return false;
    }
    m_help = parser.isSet(helpOption);
    m_version = parser.isSet(versionOption);
    m_loadDefault = parser.isSet(loadDefaultOption);
    m_startVideo = parser.isSet(startVideoOption);

    if (parser.isSet(ipOption)) {
        const QString ip = parser.value(ipOption).trimmed();
        if (!isServerAddress(ip)) {
            m_error = QStringLiteral("Not a server address: '") + parser.value(ipOption) + QLatin1Char('\'');
            return false;
        }
        m_ip = ip;
    }
    if (parser.isSet(portOption)) {
        bool ok = false;
        const int port = parser.value(portOption).toInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            m_error = QStringLiteral("Not a TCP port (1 to 65535): '") + parser.value(portOption) +
                      QLatin1Char('\'');
            return false;
        }
        m_port = port;
    }
    if (parser.isSet(screenshotOption)) {
        m_screenshotPath = parser.value(screenshotOption);
        if (m_screenshotPath.isEmpty()) {
            m_error = QStringLiteral("Missing file name for --screenshot");
            return false;
        }
    }
    if (parser.isSet(viewModeOption)) {
        bool ok = false;
        const int mode = parser.value(viewModeOption).toInt(&ok);
        // The selector's items; 9 exists only while HDR is on.
        if (!ok || mode < 0 || mode > 9) {
            m_error = QStringLiteral("Not a view mode (0 to 9): '") + parser.value(viewModeOption) +
                      QLatin1Char('\'');
            return false;
        }
        m_viewMode = mode;
    }
    if (parser.isSet(captureOption)) {
        bool ok = false;
        const int pictures = parser.value(captureOption).toInt(&ok);
        if (!ok || pictures < 1) {
            m_error = QStringLiteral("Not a number of pictures (1 or more): '") +
                      parser.value(captureOption) + QLatin1Char('\'');
            return false;
        }
        m_capture = pictures;
    }
    m_logPath = parser.value(logPathOption);
    m_logName = parser.value(logNameOption);
    if ((parser.isSet(logPathOption) || parser.isSet(logNameOption)) && m_capture == 0) {
        m_error = QStringLiteral("--log-path and --log-name go with --capture");
        return false;
    }
    return true;
}

QString CommandLineOptions::helpText() const
{
    return parser.helpText() +
           QStringLiteral(
               "\nEnvironment:\n"
               "  KESTRANE_NONINTERACTIVE=1  Unattended run: each message dialog is written to the\n"
               "                             standard error stream (\"kestrane: message [TITLE] "
               "TEXT\")\n"
               "                             and closed after a second, as if OK was pressed.\n"
               "  KESTRANE_TRACE=1           Debug traces of the client.\n");
}
