// SPDX-License-Identifier: GPL-3.0-or-later
// The window's start on any zolm.ini: it never crashes, every control holds a
// choice it offers (an interface size of the list or none, a theme of the
// list or the random one), and saving and starting again gives the same
// choices.
#include "app/zolmlauncher.h"
#include "fuzzcheck.h"
#include "fuzzinstallation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>

#include <cstdint>

namespace {

struct Choices
{
    int uiSize;
    int theme;
    bool freeCamera;

    bool operator==(const Choices &other) const
    {
        return uiSize == other.uiSize && theme == other.theme && freeCamera == other.freeCamera;
    }
};

Choices choicesOf(const ZolmLauncher &window)
{
    const auto *sizes = window.findChild<QComboBox *>("ComboUI");
    const auto *themes = window.findChild<QComboBox *>("ComboTheme");
    FUZZ_CHECK(sizes->currentIndex() >= -1 && sizes->currentIndex() < sizes->count(),
               "the interface size is one of the list or none");
    FUZZ_CHECK(themes->isHidden()
                   || (themes->currentIndex() >= 0 && themes->currentIndex() < themes->count()),
               "the theme is one of the list or the random one");
    return {sizes->currentIndex(), themes->currentIndex(),
            window.findChild<QCheckBox *>("ChkFreecam")->isChecked()};
}

qint64 writes = 0;
// For the whole run.
QApplication *application = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QApplication(*argc, *argv);
    fuzzInstallation();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QFile ini("zolm.ini");
    if (!ini.open(QIODevice::WriteOnly))
        std::abort();
    ini.write(reinterpret_cast<const char *>(data), qint64(size));
    // Qt's settings keep a file they read until its size or time changes.
    ini.setFileTime(QDateTime::fromMSecsSinceEpoch(++writes * 1000), QFile::FileModificationTime);
    ini.close();

    Choices first;
    {
        ZolmLauncher window;
        first = choicesOf(window);
        window.saveSettings();
    }
    const ZolmLauncher again;
    FUZZ_CHECK(choicesOf(again) == first, "saved choices come back as they were");
    return 0;
}
