// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Steam's key-value text, as its manifests (appmanifest_*.acf) and its list
// of libraries (libraryfolders.vdf) are written: quoted or bare strings,
// braces for blocks, "//" comments, backslash escapes inside quotes.
struct KeyValue
{
    QString key;
    QString value; // a text's; empty for a block
    bool isBlock = false;
    std::vector<KeyValue> entries; // a block's, in the file's order

    // The text of the last entry of that key, compared without regard to
    // case as Steam does; empty where there is none.
    QString text(const QString &key) const;
};

// The one named block the text holds, or nothing where it is not
// well-formed key-value text of that shape.
std::optional<KeyValue> readKeyValues(const QByteArray &text);

// The value of a key of the manifest's top-level block. Empty when the key
// is missing or the text is not a well-formed manifest.
QString manifestValue(const QByteArray &manifest, const QString &key);

// The libraries that Steam's libraryfolders.vdf lists, as it names them:
// each numbered block's "path", or, in the older layout, each numbered
// entry's text. Empty where the text is not well formed.
QStringList libraryFolders(const QByteArray &vdf);
