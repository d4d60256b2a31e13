// SPDX-License-Identifier: GPL-3.0-or-later
// Lays out the sample installation that the run script opens the launcher in.
// With --large-packs the packs every start button copies are made large
// enough for a press to show its progress.
#include "sampleinstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    const bool largePacks = args.removeAll("--large-packs") > 0;
    if (args.size() != 1) {
        err << "usage: make_sample_installation [--large-packs] <empty or missing folder>\n";
        return 2;
    }
    if (!QDir(args[0]).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        err << args[0] << " is not empty\n";
        return 1;
    }
    const SampleInstallation sample(args[0]);
    if (!sample.create()) {
        err << "could not lay out a sample installation in " << args[0] << '\n';
        return 1;
    }
    if (largePacks) {
        for (const char *pack :
             {"Standard/boot.pack", "Version84/Classic/txt.pack", "Version80/Campaign/txt.pack"}) {
            if (!sample.writeSizedFile(sample.modFolder() + '/' + pack, qint64(512) << 20)) {
                err << "could not write " << pack << '\n';
                return 1;
            }
        }
    }
    QTextStream(stdout) << sample.launcherFolder() << '\n';
    return 0;
}
