#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The program's command line. Any argument besides the program path skips the start dialog
// and connects at once (with the stored address unless --ip is given), loading the last
// configuration unless --load-default is given. Positional arguments are accepted and
// ignored: the restart after a bad-pixel search passes the program path again.
class CommandLineOptions final
{
public:
    CommandLineOptions();
    CommandLineOptions(const CommandLineOptions&) = delete;
    CommandLineOptions& operator=(const CommandLineOptions&) = delete;

    // arguments[0] is the program path. False when the options are malformed (errorText()).
    bool parse(const QStringList& arguments);

    QString errorText() const { return m_error; }
    QString helpText() const;
    bool helpRequested() const { return m_help; }
    bool versionRequested() const { return m_version; }

    bool skipStartDialog() const { return m_skipStartDialog; }
    bool hasIp() const { return !m_ip.isEmpty(); }
    QString ip() const { return m_ip; }
    bool hasPort() const { return m_port > 0; }
    int port() const { return m_port; }
    bool loadDefault() const { return m_loadDefault; }
    bool startVideo() const { return m_startVideo; }
    bool hasScreenshot() const { return !m_screenshotPath.isEmpty(); }
    QString screenshotPath() const { return m_screenshotPath; }
    // -1 when not given.
    int viewMode() const { return m_viewMode; }
    // Headless capture: the number of pictures (0 when not given), the directory and the name
    // (empty: the configuration's).
    int capture() const { return m_capture; }
    QString logPath() const { return m_logPath; }
    QString logName() const { return m_logName; }

private:
    QCommandLineParser parser;
    QCommandLineOption helpOption;
    QCommandLineOption versionOption;
    QCommandLineOption ipOption;
    QCommandLineOption portOption;
    QCommandLineOption loadDefaultOption;
    QCommandLineOption startVideoOption;
    QCommandLineOption screenshotOption;
    QCommandLineOption viewModeOption;
    QCommandLineOption captureOption;
    QCommandLineOption logPathOption;
    QCommandLineOption logNameOption;

    QString m_error;
    bool m_help = false;
    bool m_version = false;
    bool m_skipStartDialog = false;
    QString m_ip;
    int m_port = 0;
    bool m_loadDefault = false;
    bool m_startVideo = false;
    QString m_screenshotPath;
    int m_viewMode = -1;
    int m_capture = 0;
    QString m_logPath;
    QString m_logName;
};
