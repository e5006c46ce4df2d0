#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starts the program again as a detached process and quits this one: after a bad-pixel search
// the camera restarts its processing, and the new process identifies it anew and loads the
// last configuration. The process start and the quit can be replaced (tests check the
// arguments without starting anything).
class ApplicationRestart final
{
public:
    using Starter = std::function<bool(const QString& program, const QStringList& arguments)>;
    using Quitter = std::function<void()>;

    ApplicationRestart();

    void setStarter(Starter starter) { start = std::move(starter); }
    void setQuitter(Quitter quitter) { quit = std::move(quitter); }

    // The arguments of the new process: the whole command line, program path included, so that
    // there is always an argument and the start dialog is skipped; without "--load-default",
    // so that the configuration the user last had (saved before the restart) is loaded.
    static QStringList restartArguments(const QStringList& applicationArguments);

    // Starts the program (applicationArguments[0]) and quits when that worked; false (and this
    // process keeps running) when it could not be started.
    bool restart(const QStringList& applicationArguments) const;

private:
    Starter start;
    Quitter quit;
};
