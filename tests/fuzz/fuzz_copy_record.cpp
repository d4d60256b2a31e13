// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of the record of copies on any bytes: it never crashes, takes no
// copy as made that the files on disk do not bear out, and reads back what it
// writes. In the input, %LAUNCHER% stands for the launcher's folder and
// %STAMP(path)% for the stamp of that file now, which differ from one machine
// to the next.
#include "fuzzcheck.h"
#include "fuzzinstallation.h"
#include "press/copyrecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstdint>

namespace {

const QStringList sources {"../Standard/boot.pack", "../UI/Resize/2.pack", "../UI/Resize/1.5.pack"};
const QStringList targets {"../../boot.pack", "../../ZOLM_ui.pack", "../../missing.pack"};

QByteArray withStamps(QByteArray text)
{
    static const QRegularExpression stamp(QStringLiteral("%STAMP\\(([^)%]*)\\)%"));
    QString expanded = QString::fromUtf8(text.replace("%LAUNCHER%", QDir::currentPath().toUtf8()));
    QRegularExpressionMatch match;
    for (int from = 0; (match = stamp.match(expanded, from)).hasMatch();) {
        const auto found = stampOf(match.captured(1));
        const QString value = found ? found->toText() : QString();
        expanded.replace(match.capturedStart(), match.capturedLength(), value);
        from = match.capturedStart() + value.size();
    }
    return expanded.toUtf8();
}

QList<bool> heldCopies(const CopyRecord &record)
{
    QList<bool> held;
    for (const QString &source : sources) {
        for (const QString &target : targets) {
            const bool holds = record.holds(source, target);
            FUZZ_CHECK(!holds || (stampOf(source) && stampOf(target)),
                       "a copy held only where both files are there");
            held << holds;
        }
    }
    return held;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    fuzzInstallation();
    if (!QFile::copy("../UI/Resize/2.pack", "../../ZOLM_ui.pack"))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QFile file(CopyRecord::fileName);
    const QByteArray text = withStamps(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        std::abort();
    file.close();
    CopyRecord record = CopyRecord::load();
    // A change, so that the record is written whole, and read back.
    record.forget(targets.last());
    record.remember(sources[2], stampOf(sources[2]), targets.last(), std::nullopt);
    const QList<bool> held = heldCopies(record);
    FUZZ_CHECK(record.save(), "the record is written");
    FUZZ_CHECK(heldCopies(CopyRecord::load()) == held, "the record reads back as written");
    return 0;
}
