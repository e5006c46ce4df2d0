#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream(stdout) << "zmu-sim: not built yet\n";
    return 1;
}
