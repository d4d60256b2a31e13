// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/filelayer.h"
#include "windowfixture.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVector>

#include <memory>

// Installations that a press has been made in, for the cases that fail, kill
// or race the next press on them and compare what it leaves byte for byte.

// The press after another one: another size, theme, tint and camera, or
// another size only.
FilePlan planFor(const QString &button, bool before = false, bool sizeOnly = false);

extern const QString preferencesPath; // below the fixture's root

// A scratch file or folder of a press, or its journal.
bool isAside(const QString &path);
// The files a press may change, without the launcher's own.
QMap<QString, QByteArray> filesOf(const LauncherFixture &fixture);
// What presses leave aside or half made, none of which must outlast a press.
QString leftAside(const LauncherFixture &fixture);

// A game in a Steam library, run with Proton: its manifest, and the prefix
// Steam made at its first start.
extern const QString steamGame;
extern const QString manifestPath;
extern const QString prefixScripts;

// A launcher that had pressed first (none for no button): the state a press
// finds; its boot pack of the size given, where one is.
std::unique_ptr<LauncherFixture> pressedBefore(const QString &button = "ButtonHardcore",
                                               qint64 bootPackSize = 0,
                                               const QString &gameFolder = "Napoleon");
// The files after the press alone, and the operations it asked for.
QMap<QString, QByteArray> pressAlone(const QString &button, QVector<files::Operation> *operations,
                                     qint64 bootPackSize = 0,
                                     const QString &before = "ButtonHardcore",
                                     const QString &gameFolder = "Napoleon", bool sizeOnly = false);
