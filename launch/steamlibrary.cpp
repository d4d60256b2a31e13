// SPDX-License-Identifier: GPL-3.0-or-later
#include "steamlibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

struct Token
{
    enum Kind { Text, Open, Close } kind;
    QString text;
};

// Manifests are key-value text: quoted or bare strings, braces for blocks,
// "//" comments, backslash escapes inside quotes.
bool tokenize(const QString &text, QList<Token> *tokens)
{
    for (int i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (text.midRef(i, 2) == QLatin1String("//")) {
            while (i < text.size() && text.at(i) != '\n')
                ++i;
        } else if (c == '{' || c == '}') {
            tokens->append({c == '{' ? Token::Open : Token::Close, QString()});
            ++i;
        } else if (c == '"') {
            QString value;
            for (++i; i < text.size() && text.at(i) != '"'; ++i) {
                if (text.at(i) == '\\' && i + 1 < text.size())
                    ++i;
                value += text.at(i);
            }
            if (i == text.size())
                return false; // unterminated
            ++i;
            tokens->append({Token::Text, value});
        } else {
            const int start = i;
            while (i < text.size() && !text.at(i).isSpace() && text.at(i) != '{'
                   && text.at(i) != '}' && text.at(i) != '"')
                ++i;
            tokens->append({Token::Text, text.mid(start, i - start)});
        }
    }
    return true;
}

} // namespace

QString manifestValue(const QByteArray &manifest, const QString &key)
{
    QList<Token> tokens;
    if (!tokenize(QString::fromUtf8(manifest), &tokens))
        return QString();

    // One named top-level block of key-value pairs and nested blocks.
    if (tokens.size() < 3 || tokens[0].kind != Token::Text || tokens[1].kind != Token::Open)
        return QString();
    QString value;
    int depth = 1;
    int i = 2;
    while (depth > 0 && i < tokens.size()) {
        if (tokens[i].kind == Token::Close) {
            --depth;
            ++i;
            continue;
        }
        if (tokens[i].kind != Token::Text || i + 1 == tokens.size()
            || tokens[i + 1].kind == Token::Close)
            return QString();
        if (tokens[i + 1].kind == Token::Open) {
            ++depth;
        } else if (depth == 1 && tokens[i].text.compare(key, Qt::CaseInsensitive) == 0) {
            value = tokens[i + 1].text;
        }
        i += 2;
    }
    return depth == 0 && i == tokens.size() ? value : QString();
}

namespace {

// The working directory as the player reached it. A game folder that is a
// link under "common/" is resolved away in the system's answer, but a shell
// keeps the path through the link in PWD.
QString workingDirectory()
{
    const QString logical = qEnvironmentVariable("PWD");
    if (QDir::isAbsolutePath(logical)
        && QFileInfo(logical).canonicalFilePath() == QDir::current().canonicalPath())
        return logical;
    return QDir::currentPath();
}

} // namespace

SteamGame findSteamGame()
{
    const QString gameFolder = QDir::cleanPath(workingDirectory() + "/../../..");
    QDir common(gameFolder);
    if (!common.cdUp() || common.dirName() != QLatin1String("common"))
        return {};
    // Older libraries call it "SteamApps".
    QDir steamapps = common;
    if (!steamapps.cdUp()
        || steamapps.dirName().compare(QLatin1String("steamapps"), Qt::CaseInsensitive) != 0)
        return {};

    const QString installDir = QDir(gameFolder).dirName();
    const QRegularExpression manifestName("^appmanifest_([0-9]+)\\.acf$");
    const QStringList manifests
        = steamapps.entryList({"appmanifest_*.acf"}, QDir::Files, QDir::Name);
    for (const QString &name : manifests) {
        const QRegularExpressionMatch match = manifestName.match(name);
        QFile manifest(steamapps.filePath(name));
        if (!match.hasMatch() || !manifest.open(QIODevice::ReadOnly))
            continue;
        if (manifestValue(manifest.readAll(), "installdir") == installDir)
            return {match.captured(1), steamapps.path()};
    }
    return {};
}

QString protonUserFolder(const SteamGame &game)
{
    if (!game.isRecognised())
        return QString();
    return game.steamapps + "/compatdata/" + game.id
        + "/pfx/drive_c/users/steamuser/AppData/Roaming/";
}
