// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfixture.h"

#include "app/zolmlauncher.h"
#include "press/executor.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace {

// Of a button's text against its ground: its own, or where it has none (a
// style sheet's "transparent"), the window's behind it.
double textContrast(QWidget *button)
{
    const QColor own = button->palette().color(QPalette::Button);
    const QColor ground
        = own.alpha() == 255 ? own : button->window()->palette().color(QPalette::Window);
    return contrast(button->palette().color(QPalette::ButtonText), ground);
}

} // namespace

MessageBoxCloser::MessageBoxCloser()
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCloser::closeActiveBox);
    m_timer.start();
}

void MessageBoxCloser::closeActiveBox()
{
    m_fired = true;
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    QAbstractButton *ok = box->button(QMessageBox::Ok);
    m_boxes.append({box->windowTitle(), box->text(), box->icon(), box->informativeText(),
                    box->font().family(), ok ? textContrast(ok) : 0});
    if (ok)
        ok->click();
    else
        box->reject();
}

double relativeLuminance(const QColor &colour)
{
    auto linear
        = [](qreal c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
        + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor &one, const QColor &other)
{
    const double a = relativeLuminance(one);
    const double b = relativeLuminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

UrlRecorder::UrlRecorder(const QString &scheme)
    : m_scheme(scheme)
{
    QDesktopServices::setUrlHandler(m_scheme, this, "open");
}

UrlRecorder::~UrlRecorder()
{
    QDesktopServices::unsetUrlHandler(m_scheme);
}

PressChoices namedTheme()
{
    PressChoices choices;
    choices.uiSize = 2;
    choices.uiSizePack = "1.5";
    choices.themeSelectorShown = true;
    choices.themeIndex = 4;
    choices.themeName = "Mamelukes";
    return choices;
}

FilePlan planOf(const QString &button, const PressChoices &choices, const ModListing &listing)
{
    if (button == "ButtonVanilla")
        return ZolmLauncher::restoreVanilla();
    const QMap<QString, QString> campaigns {{"SPC1805", "1805"},
                                            {"SPCbava", "Bavaria"},
                                            {"SPCotto", "Ottoman"},
                                            {"SPCwurt", "Wurttemberg"}};
    if (campaigns.contains(button))
        return ZolmLauncher::setupCampaign(campaigns[button], choices, listing)
            << ZolmLauncher::applyPreferences(false, choices) << ZolmLauncher::removeUiAndWzPacks();
    return ZolmLauncher::setupBattle(button.mid(6), choices, listing)
        << ZolmLauncher::applyPreferences(button == "ButtonHardcore", choices);
}

void applySteps(QWidget *window, const FilePlan &plan)
{
    for (const Box &error : executePlan(plan).errors) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), error.what, QMessageBox::Ok,
                        window);
        box.setInformativeText(error.wayOut);
        box.exec();
    }
}

bool pressAndStart(const LauncherFixture &fixture, QWidget &window, const QString &button)
{
    if (!quitsApplication([&] { window.findChild<QPushButton *>(button)->click(); }))
        return false;
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(fixture.sample().gameStartRecord()) && waited.elapsed() < 5000)
        QTest::qWait(10);
    return QFileInfo::exists(fixture.sample().gameStartRecord());
}

int loopStatusOf(const std::function<void()> &action, int timeoutMs)
{
    // Outside an event loop quit() has nothing to end, so the action runs
    // inside one.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(loopTimedOut); });
    guard.start(timeoutMs);
    QTimer::singleShot(0, action);
    const int status = QApplication::exec();
    // A press deletes the old files it replaced while the game starts: the
    // case checks the files once it has done so too.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        const auto *window = qobject_cast<ZolmLauncher *>(widget);
        while (window && window->pressRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return status;
}
