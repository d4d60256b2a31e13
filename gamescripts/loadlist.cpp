// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "installation/roots.h"

#include <QTextStream>

QStringList ZolmLauncher::userScriptPackList(const QString &mode)
{
    QStringList packs {"Temp/theme"};
    if (mode == QLatin1String("Hardcore"))
        packs << "Version84/Hardcore/obfus"
              << "UI/BloodSmoke/bsm";
    else if (mode == QLatin1String("RemoveUI"))
        packs << "UI/Remove/noui";
    // The game loads these in this order; the two versions' packs interleave.
    packs << "Temp/cardgroups"
          << "UI/Luac/luac"
          << "Version84/Classic/db"
          << "Version84/Classic/sc"
          << "Version84/Classic/gfx4"
          << "Version83/Classic/gfx3"
          << "Version83/Classic/atlas3"
          << "Version84/Classic/variant4"
          << "Version83/Classic/variant3"
          << "Version84/Classic/mesh4"
          << "Version83/Classic/mesh3"
          << "Standard/fx1"
          << "Standard/fx2"
          << "Version83/Maps/mapdb"
          << "Maps/a_f"
          << "Maps/g_z"
          << "Maps/hist"
          << "Maps/lmc"
          << "Maps/wa"
          << "Temp/tint";
    return packs;
}

FileStep ZolmLauncher::writeUserScript(const QString &mode)
{
    // The game reads UTF-16LE with its byte-order mark and Windows' line
    // ends; under Proton on Linux the reader is the same Windows program.
    QByteArray bytes;
    QTextStream out(&bytes, QIODevice::WriteOnly);
    out.setCodec("UTF-16LE");
    out.setGenerateByteOrderMark(true);
    for (const QString &pack : userScriptPackList(mode))
        out << "mod \"ZOLM/" << pack << ".pack\";\r\n";
    out.flush();
    return {FileStep::WriteLoadList, mode, gameScriptsFolder() + "user.script.txt", {}, bytes};
}
