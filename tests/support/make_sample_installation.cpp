// Lays out the sample installation that the run script opens the launcher in.
#include "sampleinstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: make_sample_installation <empty or missing folder>\n";
        return 2;
    }
    if (!QDir(args[1]).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        err << args[1] << " is not empty\n";
        return 1;
    }
    const SampleInstallation sample(args[1]);
    if (!sample.create()) {
        err << "could not lay out a sample installation in " << args[1] << '\n';
        return 1;
    }
    QTextStream(stdout) << sample.launcherFolder() << '\n';
    return 0;
}
