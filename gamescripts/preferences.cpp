// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences.h"

#include <QTextCodec>
#include <QTextStream>

namespace {

struct Encoding
{
    const char *codec;
    QByteArray mark;
};

// The game writes UTF-16LE, usually with its mark. A file that carries the mark
// of another Unicode encoding is kept in that encoding.
Encoding encodingOf(const QByteArray &bytes)
{
    for (const Encoding &e : {Encoding {"UTF-8", "\xEF\xBB\xBF"}, Encoding {"UTF-16BE", "\xFE\xFF"},
                              Encoding {"UTF-16LE", "\xFF\xFE"}}) {
        if (bytes.startsWith(e.mark))
            return e;
    }
    return {"UTF-16LE", QByteArray()};
}

// Decodes the text after the mark. Fails when the bytes are not exactly the
// encoding of some text (a torn character, an invalid sequence), since writing
// the text back would then lose or change bytes of the player's file.
bool decodeExactly(const QByteArray &bytes, const Encoding &encoding, QString *text)
{
    QTextCodec *codec = QTextCodec::codecForName(encoding.codec);
    const QByteArray body = bytes.mid(encoding.mark.size());
    QTextCodec::ConverterState in(QTextCodec::IgnoreHeader);
    *text = codec->toUnicode(body.constData(), body.size(), &in);
    QTextCodec::ConverterState out(QTextCodec::IgnoreHeader);
    return in.invalidChars == 0 && in.remainingChars == 0
        && codec->fromUnicode(text->constData(), text->size(), &out) == body;
}

} // namespace

std::optional<QByteArray> replacedInPreferences(const QByteArray &original, const QString &before,
                                                const QString &after)
{
    const Encoding encoding = encodingOf(original);
    QString text;
    if (!decodeExactly(original, encoding, &text))
        return std::nullopt;
    // A file without the key is left byte for byte, mark or none.
    if (!text.contains(before, Qt::CaseSensitive))
        return original;

    text.replace(before, after, Qt::CaseSensitive);

    QByteArray edited;
    QTextStream out(&edited, QIODevice::WriteOnly);
    out.setCodec(encoding.codec);
    out.setGenerateByteOrderMark(true);
    out << text;
    out.flush();
    if (out.status() != QTextStream::Ok)
        return std::nullopt;
    return edited;
}

std::optional<QByteArray> editedPreferences(const QByteArray &original,
                                            const QVector<QPair<QString, QString>> &edits)
{
    std::optional<QByteArray> edited = original;
    for (const auto &edit : edits) {
        edited = replacedInPreferences(*edited, edit.first, edit.second);
        if (!edited)
            break;
    }
    return edited;
}
