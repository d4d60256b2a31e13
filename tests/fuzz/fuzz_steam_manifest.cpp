// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of Steam's library manifests and of its list of libraries on
// any bytes: it never crashes, a value it reads is the value a manifest
// holding just that says, whatever the capitals of the key, and a list of
// libraries names no empty path.
#include "fuzzcheck.h"
#include "installation/keyvalues.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray manifest(reinterpret_cast<const char *>(data), int(size));
    for (const QString &library : libraryFolders(manifest))
        FUZZ_CHECK(!library.isEmpty(), "no library without a path");
    const QString value = manifestValue(manifest, "installdir");
    FUZZ_CHECK(manifestValue(manifest, "InstallDir") == value, "keys are compared without case");
    if (value.isEmpty())
        return 0;
    QString escaped = value;
    escaped.replace('\\', "\\\\").replace('"', "\\\"");
    const QByteArray plain
        = "\"AppState\"\n{\n\t\"installdir\"\t\t\"" + escaped.toUtf8() + "\"\n}\n";
    FUZZ_CHECK(manifestValue(plain, "installdir") == value, "a value reads back as written");
    return 0;
}
