// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyvalues.h"

#include <QList>

namespace {

struct Token
{
    enum Kind { Text, Open, Close } kind;
    QString text;
};

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

// Deeper than any file of Steam's; a file made to be deeper is not read
// rather than taking the stack.
constexpr int deepestBlock = 32;

// The entries of a block whose opening brace was just taken, up to and with
// its closing brace.
bool readBlock(const QList<Token> &tokens, int *i, int depth, std::vector<KeyValue> *entries)
{
    if (depth > deepestBlock)
        return false;
    while (*i < tokens.size()) {
        if (tokens[*i].kind == Token::Close) {
            ++*i;
            return true;
        }
        if (tokens[*i].kind != Token::Text || *i + 1 == tokens.size()
            || tokens[*i + 1].kind == Token::Close)
            return false;
        KeyValue entry;
        entry.key = tokens[*i].text;
        *i += 2;
        if (tokens[*i - 1].kind == Token::Open) {
            entry.isBlock = true;
            if (!readBlock(tokens, i, depth + 1, &entry.entries))
                return false;
        } else {
            entry.value = tokens[*i - 1].text;
        }
        entries->push_back(std::move(entry));
    }
    return false; // a block left open
}

} // namespace

QString KeyValue::text(const QString &wanted) const
{
    QString found;
    for (const KeyValue &entry : entries) {
        if (!entry.isBlock && entry.key.compare(wanted, Qt::CaseInsensitive) == 0)
            found = entry.value;
    }
    return found;
}

std::optional<KeyValue> readKeyValues(const QByteArray &text)
{
    QList<Token> tokens;
    if (!tokenize(QString::fromUtf8(text), &tokens) || tokens.size() < 3
        || tokens[0].kind != Token::Text || tokens[1].kind != Token::Open)
        return std::nullopt;
    KeyValue top;
    top.key = tokens[0].text;
    top.isBlock = true;
    int i = 2;
    if (!readBlock(tokens, &i, 1, &top.entries) || i != tokens.size())
        return std::nullopt;
    return top;
}

QString manifestValue(const QByteArray &manifest, const QString &key)
{
    const std::optional<KeyValue> top = readKeyValues(manifest);
    return top ? top->text(key) : QString();
}

QStringList libraryFolders(const QByteArray &vdf)
{
    const std::optional<KeyValue> top = readKeyValues(vdf);
    QStringList folders;
    if (!top)
        return folders;
    for (const KeyValue &entry : top->entries) {
        bool numbered = false;
        entry.key.toUInt(&numbered);
        const QString path = entry.isBlock ? entry.text(QStringLiteral("path")) : entry.value;
        if (numbered && !path.isEmpty())
            folders << path;
    }
    return folders;
}
