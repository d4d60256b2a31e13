// SPDX-License-Identifier: GPL-3.0-or-later
#include "links.h"

#include "app/zolmlauncher.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

void openPage(const char *address)
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(address), QUrl::TolerantMode));
}

} // namespace

void ZolmLauncher::on_ButtonPatreon_clicked()
{
    openPage(CommunityLinks::crowdfunding);
}

void ZolmLauncher::on_ButtonDiscord_clicked()
{
    openPage(CommunityLinks::chatInvite);
}

void ZolmLauncher::on_ButtonForum_clicked()
{
    openPage(CommunityLinks::forum);
}

void ZolmLauncher::on_ButtonGuide_clicked()
{
    openPage(CommunityLinks::guide);
}
