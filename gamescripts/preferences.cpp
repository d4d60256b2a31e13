#include "app/zolmlauncher.h"
#include "staging/roots.h"
#include "ui_zolmlauncher.h"

#include <QFile>
#include <QMessageBox>
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

void ZolmLauncher::replaceInPreferences(const QString &before, const QString &after)
{
    QFile file(gameScriptsFolder() + "preferences.script.txt");
    const QByteArray original = file.open(QIODevice::ReadWrite) ? file.readAll() : QByteArray();
    const Encoding encoding = encodingOf(original);
    QString text;
    if (!file.isOpen() || !decodeExactly(original, encoding, &text)) {
        QMessageBox::critical(this, QStringLiteral("Error"),
                              QStringLiteral("Preference file cannot be changed."), QMessageBox::Ok,
                              QMessageBox::NoButton);
        return;
    }

    text.replace(before, after, Qt::CaseSensitive);

    file.seek(0);
    QTextStream out(&file);
    out.setCodec(encoding.codec);
    out.setGenerateByteOrderMark(true);
    out << text;
    out.flush();
    // A shorter text must not leave the end of the old one behind.
    file.resize(file.pos());
}

void ZolmLauncher::applyPreferences(bool forceLandUnitIds)
{
    const QLatin1String camera("default_camera_type ");
    if (ui->ChkFreecam->isChecked()) {
        replaceInPreferences(camera + "0;", camera + "2;");
        replaceInPreferences(camera + "1;", camera + "2;");
    } else {
        replaceInPreferences(camera + "2;", camera + "0;");
    }

    // Screenshot mode hides the cards and order buttons; Hardcore battles
    // always use the land unit ids.
    const bool noUi = ui->ChkNoUI->isChecked();
    const auto turn = [this](QLatin1String key, bool on) {
        replaceInPreferences(key + (on ? "0" : "2"), key + (on ? "2" : "0"));
    };
    turn(QLatin1String("ui_land_unit_ids "), noUi || forceLandUnitIds);
    turn(QLatin1String("ui_card_mode "), noUi);
    turn(QLatin1String("ui_order_button_mode "), noUi);
}
