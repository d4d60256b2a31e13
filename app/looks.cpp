// SPDX-License-Identifier: GPL-3.0-or-later
#include "looks.h"

#include "ui_zolmlauncher.h"
#include "zolmlauncher.h"

#include <QFont>
#include <QFontDatabase>
#include <QPalette>
#include <QPixmap>

namespace {

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

} // namespace

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

// Each registration keeps its own copy of the font.
void registerFont()
{
    static int id = -1;
    if (QFontDatabase::applicationFontFamilies(id).isEmpty())
        id = QFontDatabase::addApplicationFont(QStringLiteral(":/font.ttf"));
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
