#include "sim/CommandProcessor.h"
#include "sim/SimOptions.h"
#include "sim/SimServer.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    SimConfig config;
    QString message;
    bool exitNow = false;
    if (!SimOptions::parse(application.arguments(), &config, &message, &exitNow)) {
        std::fprintf(stderr, "zmu-sim: %s\nTry zmu-sim --help.\n", qPrintable(message));
        return 2;
    }
    if (exitNow) {
        std::fputs(qPrintable(message), stdout);
        return 0;
    }

    if (config.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("zmusim.commands.debug=true"));
    CommandProcessor processor(config);
    SimServer server(&processor);
    if (!server.listen(config.listenAddress, config.port)) {
        std::fprintf(stderr, "zmu-sim: cannot listen on %s:%u: %s\n",
                     qPrintable(config.listenAddress.toString()), config.port,
                     qPrintable(server.errorString()));
        return 1;
    }
    std::printf("zmu-sim: listening on %s:%u\n", qPrintable(server.address().toString()), server.port());
    std::fflush(stdout);
    std::printf("zmu-sim: %s, server version %d, part version %d%s\n", qPrintable(config.chip.name),
                config.serverVersion, config.partVersion, config.realtime ? ", real time" : "");
    std::fflush(stdout);
    if (processor.faults().refuseSeconds > 0) {
        server.refuseFor(processor.faults().refuseSeconds);
        processor.faults().refuseSeconds = 0;
    }
    return application.exec();
}
