// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "installation/listing.h"
#include "installation/roots.h"
#include "keyboardfocus.h"
#include "press/executor.h"
#include "press/pressrun.h"
#include "staging/fileops.h"
#include "staging/pseudorandom.h"
#include "stylesheets.h"
#include "ui_zolmlauncher.h"

#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QLayout>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QThread>
#include <QTimer>
#include <QWindow>

namespace {

// The compiled-in font, once for the application: each registration keeps
// its own copy of the font.
void registerFont()
{
    static int id = -1;
    if (QFontDatabase::applicationFontFamilies(id).isEmpty())
        id = QFontDatabase::addApplicationFont(QStringLiteral(":/font.ttf"));
}

void showControlsForModFolders(Ui_ZolmLauncher *ui)
{
    ui->ButtonClassic->setVisible(QDir(version84Root + QLatin1String("Classic")).exists());
    ui->ButtonHardcore->setVisible(QDir(version84Root + QLatin1String("Hardcore")).exists());
    ui->ChkNoUI->setVisible(QDir(uiRoot + QLatin1String("Remove")).exists());
    ui->ComboUI->setVisible(QDir(uiRoot + QLatin1String("Resize")).exists());
    ui->ComboTheme->setVisible(QDir(uiRoot + QLatin1String("Theme")).exists());
    ui->SPC1805->setVisible(QDir(campaignRoot() + "1805").exists());
    ui->SPCbava->setVisible(QDir(campaignRoot() + "Bavaria").exists());
    ui->SPCotto->setVisible(QDir(campaignRoot() + "Ottoman").exists());
    ui->SPCwurt->setVisible(QDir(campaignRoot() + "Wurttemberg").exists());
    ui->ButtonVanilla->setVisible(QDir(backupRoot).exists());
    ui->ChkWindowed->hide();
}

// The window's text in pixels of its 700 by 700 design (its points at 96
// dpi), so that text and controls scale together: points would follow each
// desktop's own font DPI (Plasma's, for one) instead of the window's scale.
QFont designFont(int points, qreal shrink, int weight = QFont::Normal)
{
    QFont font(QStringLiteral("JSL Ancient"));
    font.setPixelSize(qRound(points * 96 / 72.0 * shrink));
    font.setWeight(weight);
    return font;
}

void setControlFonts(Ui_ZolmLauncher *ui, qreal shrink)
{
    QFont battles = designFont(28, shrink);
    battles.setLetterSpacing(QFont::PercentageSpacing, 110);
    for (QWidget *w : {ui->ButtonClassic, ui->ButtonHardcore})
        w->setFont(battles);

    const QFont options = designFont(13, shrink);
    for (QWidget *w :
         std::initializer_list<QWidget *> {ui->ChkNoUI, ui->ChkFreecam, ui->ChkWindowed,
                                           ui->ComboUI, ui->ComboTheme, ui->PressFile})
        w->setFont(options);

    const QFont campaigns = designFont(17, shrink);
    for (QWidget *w : {ui->SPC1805, ui->SPCbava, ui->SPCotto, ui->SPCwurt})
        w->setFont(campaigns);

    const QFont links = designFont(20, shrink);
    for (QWidget *w : {ui->ButtonVanilla, ui->ButtonDiscord, ui->ButtonForum, ui->ButtonGuide})
        w->setFont(links);

    ui->ButtonPatreon->setFont(designFont(20, shrink, QFont::Bold));
}

void fillUiSizes(Ui_ZolmLauncher *ui, const QSettings &settings)
{
    const QLatin1String suffix(".pack");
    ui->ComboUI->addItem(QStringLiteral("No custom UI"), QVariant());
    for (const QString &name : listFiles(uiRoot + QLatin1String("Resize"))) {
        if (!name.endsWith(suffix, Qt::CaseSensitive))
            continue;
        const QString base = name.chopped(suffix.size());
        ui->ComboUI->addItem(base + ' ' + QChar(0x00D7) + " ....", base);
    }
    ui->ComboUI->setCurrentIndex(settings.value("UiSize", "1").toInt());
}

void fillThemes(Ui_ZolmLauncher *ui, const QSettings &settings)
{
    const QStringList themes = listSubfolders(themeRoot);
    if (themes.size() <= 4) {
        ui->ComboTheme->hide();
        return;
    }
    ui->ComboTheme->addItem(QStringLiteral(">>> Random theme"));
    for (const QString &theme : themes)
        ui->ComboTheme->addItem(theme);
    // A theme saved past the end of the list (its folder gone since) is no
    // choice at all: a press would stage a theme without a name. It becomes
    // the random theme, as a negative one does.
    const int theme = settings.value("FactionTheme", "0").toInt();
    ui->ComboTheme->setCurrentIndex(theme > 0 && theme < ui->ComboTheme->count() ? theme : 0);
}

void restoreFreeCamera(Ui_ZolmLauncher *ui, const QSettings &settings)
{
    if (settings.value("FreeCamera", "Y").toString() == QLatin1String("N"))
        ui->ChkFreecam->setCheckState(Qt::Unchecked);
}

} // namespace

ZolmLauncher::ZolmLauncher(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui_ZolmLauncher)
{
    ui->setupUi(this);
    seedPseudoRandom(static_cast<uint>(QDateTime::currentMSecsSinceEpoch() / 1000));
    registerFont();

    const QSettings settings(QStringLiteral("./zolm.ini"), QSettings::IniFormat);

    drawBackground();
    setStyleSheet(windowStyleSheet(m_shrink));
    ui->PressPanel->setStyleSheet(pressPanelStyleSheet());
    showControlsForModFolders(ui);
    setControlFonts(ui, m_shrink);
    for (QLayout *layout : findChildren<QLayout *>())
        m_layouts.push_back({layout, layout->contentsMargins(), layout->spacing()});
    fillUiSizes(ui, settings);
    fillThemes(ui, settings);
    restoreFreeCamera(ui, settings);

    // A launcher killed while it put files in place left them for this one;
    // what it found is told before the command line's press starts. A
    // launcher unpacked in the wrong folder says so as soon as it shows.
    // Outside the game's folders nothing is set right: "../" is not the mod's.
    const QString found = isExistingFile(gameExecutable) ? finishInterruptedPress() : QString();
    QTimer::singleShot(0, this, [this, found] {
        if (!found.isEmpty())
            showError(found);
        if (isExistingFile(gameExecutable))
            pressStartButton();
        else
            tellGameNotFound(!m_startButton.isEmpty());
    });
    new KeyboardFocus(this);

    ui->PressPanel->hide();
    m_progressDelay = new QTimer(this);
    m_progressDelay->setSingleShot(true);
    connect(m_progressDelay, &QTimer::timeout, this, &ZolmLauncher::showPressPanel);
}

QSize ZolmLauncher::shrunkSize() const
{
    return (QSizeF(designedSize()) * m_shrink).toSize();
}

void ZolmLauncher::drawBackground()
{
    // On a scaled screen the picture is scaled to the screen's pixels, not
    // blown up from 700 by 700, so that it stays sharp.
    const qreal pixelRatio = devicePixelRatioF();
    QPixmap background
        = QPixmap(QStringLiteral(":/bg.jpg"))
              .scaled(shrunkSize() * pixelRatio, Qt::KeepAspectRatio, Qt::FastTransformation);
    background.setDevicePixelRatio(pixelRatio);
    QPalette palette;
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(background));
    setPalette(palette);
}

void ZolmLauncher::applyShrink(qreal shrink)
{
    m_shrink = shrink;
    setControlFonts(ui, shrink);
    // The form's margins and spacing, as designed, scaled.
    for (const DesignedLayout &designed : m_layouts) {
        const QMargins &margins = designed.margins;
        designed.layout->setContentsMargins(
            qRound(margins.left() * shrink), qRound(margins.top() * shrink),
            qRound(margins.right() * shrink), qRound(margins.bottom() * shrink));
        designed.layout->setSpacing(qRound(designed.spacing * shrink));
    }
    setStyleSheet(windowStyleSheet(shrink));
    ui->PressPanel->setGeometry(
        QRectF(QPointF(160, 176) * shrink, QSizeF(380, 44) * shrink).toRect());
    showPressFile();
}

void ZolmLauncher::fitToScreen(qreal shrink)
{
    if (!qFuzzyCompare(shrink, m_askedShrink)) {
        m_askedShrink = shrink;
        applyShrink(shrink);
        // A style whose controls ask for more room than the design gives
        // them (Windows' own, with its larger line height) may need the
        // window smaller still.
        for (int tries = 0; tries < 3; ++tries) {
            const QSize least = minimumSizeHint();
            const QSize room = shrunkSize();
            if (least.width() <= room.width() && least.height() <= room.height())
                break;
            applyShrink(
                m_shrink
                * qMin(qreal(room.width()) / least.width(), qreal(room.height()) / least.height()));
        }
    }
    // Left alone, Windows and X11 carry the window's pixels over to a screen
    // of another scale, which squeezes or spreads out its layout.
    resize(shrunkSize());
    drawBackground();
    // Where the scale of the window's own screen changed, only the window's
    // handle knows that its pixels are no longer its size. It is told in
    // the screen's pixels: Qt 5 would take the window's place through the
    // scale and back, a pixel off under a fractional scale.
    QPlatformWindow *platform = windowHandle() ? windowHandle()->handle() : nullptr;
    if (!isVisible() || !platform)
        return;
    const QSize pixels = QHighDpi::toNativePixels(shrunkSize(), windowHandle());
    if (platform->geometry().size() != pixels)
        platform->setGeometry(QRect(platform->geometry().topLeft(), pixels));
}

void ZolmLauncher::keepOnWorkArea()
{
    // A screen that shrank may leave the window off its work area. In the
    // screen's pixels, for the same reason.
    QPlatformWindow *platform = windowHandle() ? windowHandle()->handle() : nullptr;
    if (!isVisible() || !platform)
        return;
    const QRect area = windowHandle()->screen()->handle()->availableGeometry();
    const QMargins frameMargins = platform->frameMargins();
    const QRect frame = platform->geometry().marginsAdded(frameMargins);
    const QPoint inside(qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width())),
                        qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height())));
    if (inside != frame.topLeft())
        platform->setGeometry(QRect(inside + QPoint(frameMargins.left(), frameMargins.top()),
                                    platform->geometry().size()));
}

ZolmLauncher::~ZolmLauncher()
{
    // Lets the file being copied finish before the window it reports to goes.
    delete m_press;
    if (m_gameSearch)
        m_gameSearch->wait();
    delete ui;
}
