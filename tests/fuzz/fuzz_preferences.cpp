// SPDX-License-Identifier: GPL-3.0-or-later
// The preferences editor on any bytes, with the edits of every kind of press:
// it never crashes, changes nothing but the edited keys (the bytes outside
// them stay as they were, in the file's own encoding and with its mark), and
// refuses exactly the files that are not text in their encoding.
//
// The first byte picks the press (free camera, screenshot mode, Hardcore);
// the rest is the file.
#include "app/zolmlauncher.h"
#include "fuzzcheck.h"
#include "gamescripts/preferences.h"

#include <cstdint>

namespace {

struct Encoding
{
    QByteArray mark;
    int unit; // bytes of one code unit
    bool bigEndian;
};

Encoding encodingOf(const QByteArray &file)
{
    if (file.startsWith("\xEF\xBB\xBF"))
        return {"\xEF\xBB\xBF", 1, false};
    if (file.startsWith("\xFE\xFF"))
        return {"\xFE\xFF", 2, true};
    if (file.startsWith("\xFF\xFE"))
        return {"\xFF\xFE", 2, false};
    return {QByteArray(), 2, false};
}

// An ASCII text in the encoding.
QByteArray encoded(const QString &text, const Encoding &encoding)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char ascii = char(c.unicode());
        if (encoding.unit == 1)
            bytes += ascii;
        else
            bytes += encoding.bigEndian ? QByteArray(1, '\0') + ascii : QByteArray(1, ascii) + '\0';
    }
    return bytes;
}

// Whether the body is text in its encoding: whole code units (a lone
// surrogate is kept as it is, so it is no reason to refuse the file), UTF-8
// sequences well formed and shortest.
bool isText(const QByteArray &body, const Encoding &encoding)
{
    if (encoding.unit == 2)
        return body.size() % 2 == 0;
    for (int i = 0; i < body.size();) {
        const auto lead = quint8(body[i]);
        const int length = lead < 0x80    ? 1
            : lead >= 0xC2 && lead < 0xE0 ? 2
            : lead >= 0xE0 && lead < 0xF0 ? 3
            : lead >= 0xF0 && lead < 0xF5 ? 4
                                          : 0;
        if (length == 0 || i + length > body.size())
            return false;
        uint code = lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = quint8(body[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        const uint least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// The body with every whole-unit occurrence of before replaced, left to right.
QByteArray replaced(const QByteArray &body, const QByteArray &before, const QByteArray &after,
                    int unit, int *count)
{
    QByteArray result;
    int i = 0;
    while (i < body.size()) {
        if (body.mid(i, before.size()) == before) {
            result += after;
            i += before.size();
            ++*count;
        } else {
            result += body.mid(i, unit);
            i += unit;
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    PressChoices choices;
    choices.freeCamera = data[0] & 1;
    choices.screenshotMode = data[0] & 2;
    const FileStep step = ZolmLauncher::applyPreferences(data[0] & 4, choices);
    QByteArray file(reinterpret_cast<const char *>(data + 1), int(size - 1));

    for (const auto &edit : step.replacements) {
        const Encoding encoding = encodingOf(file);
        const QByteArray body = file.mid(encoding.mark.size());
        const auto edited = replacedInPreferences(file, edit.first, edit.second);
        FUZZ_CHECK(edited.has_value() == isText(body, encoding),
                   "a file is refused exactly when it is not text");
        if (!edited)
            return 0;
        int count = 0;
        const QByteArray expected = replaced(body, encoded(edit.first, encoding),
                                             encoded(edit.second, encoding), encoding.unit, &count);
        if (count == 0) {
            FUZZ_CHECK(*edited == file, "a file without the key is left as it is");
        } else {
            const QByteArray mark = encoding.mark.isEmpty() ? "\xFF\xFE" : encoding.mark;
            FUZZ_CHECK(*edited == mark + expected, "only the key changes, in the file's encoding");
        }
        file = *edited;
    }
    return 0;
}
