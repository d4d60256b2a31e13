// SPDX-License-Identifier: GPL-3.0-or-later
// Measures what a player waits for: the window's start-up, a "Classic battles"
// and a campaign press on packs of realistic size against the platform's own
// durable copy of the same packs (how long the window went without handling
// an event meanwhile, the same press again with its packs in place, and a
// press with only another interface size), and one preferences edit.
//
// Usage: velmarch_bench [folder on the disk to measure] [press runs, default 11]
#include "app/zolmlauncher.h"
#include "measuring.h"
#include "press/executor.h"
#include "presses.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

namespace {

void startUp(const QString &root)
{
    const SampleInstallation sample = layOut(root);
    // 40 theme folders and 20 interface sizes in all.
    if (!sample.addThemes(32) || !sample.addInterfaceSizes(17))
        fail("cannot add themes and sizes");
    QDir::setCurrent(sample.launcherFolder());

    Timings construct, constructAndShow;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer timer;
        timer.start();
        ZolmLauncher window;
        construct.ms << elapsedMs(timer);
        window.show();
        QApplication::processEvents();
        constructAndShow.ms << elapsedMs(timer);
    }
    timingsRow("start-up: constructor (20 runs)", construct, "< 30 ms");
    timingsRow("start-up: constructor, show, first paint", constructAndShow, "");
}

void preferencesEdit(const QString &root)
{
    const SampleInstallation sample = layOut(root);
    QString text;
    for (int i = 0; text.size() < 32 * 1024 - 200; ++i)
        text += QString("setting_%1 %2;\r\n").arg(i).arg(i % 7);
    text += "default_camera_type 0;\r\nui_land_unit_ids 2;\r\nui_card_mode 2;\r\n"
            "ui_order_button_mode 2;\r\n";
    const QByteArray bytes = SampleInstallation::utf16le(text).leftJustified(64 * 1024, ' ', true);
    if (!sample.writeFile(sample.scriptsFolder() + "/preferences.script.txt", bytes))
        fail("cannot write the preferences");
    QDir::setCurrent(sample.launcherFolder());

    ZolmLauncher window;
    auto *freeCamera = window.findChild<QCheckBox *>("ChkFreecam");
    Timings edits;
    for (int run = 0; run < 50; ++run) {
        // Every run changes the camera type, so that every run writes the file.
        freeCamera->setChecked(run % 2 == 0);
        QElapsedTimer timer;
        timer.start();
        executePlan({ZolmLauncher::applyPreferences(false, window.readChoices())});
        edits.ms << elapsedMs(timer);
    }
    timingsRow("preferences edit, 64 KB file (50 runs)", edits, "< 5 ms");
}

QString cpuModel()
{
    QFile cpuinfo("/proc/cpuinfo");
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QSysInfo::currentCpuArchitecture();
}

} // namespace

// The offscreen platform warns about every shown window; nothing to act on.
void quietOffscreen(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (!message.contains("propagateSizeHints"))
        QTextStream(stderr) << (type == QtDebugMsg ? "" : "warning: ") << message << '\n';
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    const QString base = app.arguments().value(1, QDir::currentPath());
    const int runs = qMax(1, app.arguments().value(2, "11").toInt());
    QTemporaryDir dir(base + "/velmarch-bench-XXXXXX");
    if (!dir.isValid())
        fail("cannot make a folder in " + base);
    const QStorageInfo disk(dir.path());

    out << "machine: " << cpuModel() << ", " << QThread::idealThreadCount() << " cores; "
        << QSysInfo::prettyProductName() << ", kernel " << QSysInfo::kernelVersion() << "; Qt "
        << qVersion() << '\n'
        << "disk: " << disk.device() << " (" << disk.fileSystemType() << ") at " << dir.path()
        << "\n\n";
    row("figure", "median", "spread (min .. max)", "goal");
    out.flush();

    startUp(dir.filePath("start-up"));
    preferencesEdit(dir.filePath("preferences"));
    out.flush();
    battlePress(dir.filePath("battle"), runs);
    out.flush();
    campaignPress(dir.filePath("campaign"), runs);
    return 0;
}
