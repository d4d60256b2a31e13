// SPDX-License-Identifier: GPL-3.0-or-later
// Reads back what a Windows shell shows of the launcher's icon and version:
// on Windows from the resources linked into "Velmarch 8.4.exe", elsewhere
// from the resource script compiled with the MinGW resource compiler.
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

struct Resource
{
    QVariant type; // an int id or a name
    QVariant name;
    QByteArray data;
};

int align4(int offset)
{
    return (offset + 3) & ~3;
}

quint16 word(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

QString utf16z(const QByteArray &bytes, int *offset)
{
    QString text;
    for (quint16 c; (c = word(bytes, *offset)) != 0; *offset += 2)
        text += QChar(c);
    *offset += 2;
    return text;
}

#ifndef Q_OS_WIN
QVariant idOrName(const QByteArray &bytes, int *offset)
{
    if (word(bytes, *offset) == 0xFFFF) {
        *offset += 4;
        return int(word(bytes, *offset - 2));
    }
    return utf16z(bytes, offset);
}

// A .res file is a run of records: sizes, type, name, then the data.
QList<Resource> readResources(const QByteArray &bytes)
{
    QList<Resource> resources;
    for (int at = 0; at + 8 <= bytes.size();) {
        const auto dataSize = qFromLittleEndian<quint32>(bytes.constData() + at);
        const auto headerSize = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        int offset = at + 8;
        Resource resource;
        resource.type = idOrName(bytes, &offset);
        resource.name = idOrName(bytes, &offset);
        resource.data = bytes.mid(at + headerSize, dataSize);
        if (dataSize > 0)
            resources << resource;
        at = align4(at + headerSize + dataSize);
    }
    return resources;
}

#else
QVariant idOrName(LPCWSTR value)
{
    if (IS_INTRESOURCE(value))
        return int(reinterpret_cast<quintptr>(value));
    return QString::fromWCharArray(value);
}

BOOL CALLBACK collectResource(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR list)
{
    HRSRC found = FindResourceW(module, name, type);
    const auto *data = static_cast<const char *>(LockResource(LoadResource(module, found)));
    reinterpret_cast<QList<Resource> *>(list)->append(
        {idOrName(type), idOrName(name), QByteArray(data, int(SizeofResource(module, found)))});
    return TRUE;
}

BOOL CALLBACK collectType(HMODULE module, LPWSTR type, LONG_PTR list)
{
    EnumResourceNamesW(module, type, collectResource, list);
    return TRUE;
}

// The same records as a .res file, read from a program's own resources.
QList<Resource> readLinkedResources(const QString &program)
{
    QList<Resource> resources;
    HMODULE module = LoadLibraryExW(reinterpret_cast<LPCWSTR>(program.utf16()), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module) {
        EnumResourceTypesW(module, collectType, reinterpret_cast<LONG_PTR>(&resources));
        FreeLibrary(module);
    }
    return resources;
}

QString launcherProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" LAUNCHER_PROGRAM);
}
#endif

// Walks a version block; string values are collected under their path of keys.
void readVersionNode(const QByteArray &bytes, int at, const QString &path,
                     QMap<QString, QVariant> *values)
{
    const int end = at + word(bytes, at);
    const int valueLength = word(bytes, at + 2);
    const bool text = word(bytes, at + 4) == 1;
    int offset = at + 6;
    const QString key = path + utf16z(bytes, &offset);
    offset = align4(offset);
    if (text) {
        int valueOffset = offset;
        values->insert(key, valueLength ? utf16z(bytes, &valueOffset) : QString());
        offset += valueLength * 2;
    } else if (valueLength) {
        values->insert(key, bytes.mid(offset, valueLength));
        offset += valueLength;
    }
    for (offset = align4(offset); offset < end; offset = align4(offset + word(bytes, offset)))
        readVersionNode(bytes, offset, key + '/', values);
}

} // namespace

class tst_WinResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void versionStrings_data();
    void versionStrings();
    void iconGroup();
    void windowedProgram();

private:
    QList<Resource> m_resources;
    QMap<QString, QVariant> m_version;
};

void tst_WinResources::initTestCase()
{
#ifdef Q_OS_WIN
    m_resources = readLinkedResources(launcherProgram());
    QVERIFY2(!m_resources.isEmpty(), qPrintable(launcherProgram()));
#else
    const QString compiler = QStringLiteral(WINDRES_PROGRAM);
    if (compiler.isEmpty())
        QSKIP("x86_64-w64-mingw32-windres is not installed (Debian: binutils-mingw-w64-x86-64)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess windres;
    windres.setWorkingDirectory(QStringLiteral(RESOURCE_DIR));
    windres.start(compiler,
                  {"--preprocessor=cpp", "-O", "res", "-i", "velmarch.rc", "-o",
                   dir.filePath("velmarch.res")});
    QVERIFY(windres.waitForFinished());
    QVERIFY2(windres.exitCode() == 0, windres.readAllStandardError().constData());
    QFile res(dir.filePath("velmarch.res"));
    QVERIFY(res.open(QIODevice::ReadOnly));
    m_resources = readResources(res.readAll());
#endif

    const auto version = std::find_if(m_resources.cbegin(), m_resources.cend(),
                                      [](const Resource &r) { return r.type == 16; });
    QVERIFY(version != m_resources.cend());
    readVersionNode(version->data, 0, QString(), &m_version);
}

void tst_WinResources::versionStrings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    const QString block = "VS_VERSION_INFO/StringFileInfo/040904b0/";
    QTest::newRow("product name") << block + "ProductName" << QVariant("Velmarch 8.4");
    QTest::newRow("file name") << block + "OriginalFilename" << QVariant("Velmarch 8.4.exe");
    QTest::newRow("file version") << block + "FileVersion" << QVariant("0.0.0.0");
    QTest::newRow("product version") << block + "ProductVersion" << QVariant("0.0.0.0");
    QTest::newRow("company") << block + "CompanyName" << QVariant("");
    QTest::newRow("description") << block + "FileDescription" << QVariant("");
    QTest::newRow("copyright") << block + "LegalCopyright" << QVariant("");
    QTest::newRow("US English, Unicode")
        << "VS_VERSION_INFO/VarFileInfo/Translation" << QVariant(QByteArray("\x09\x04\xB0\x04", 4));
}

void tst_WinResources::versionStrings()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QCOMPARE(m_version.value(key), value);
    if (key.contains("StringFileInfo"))
        QCOMPARE(m_version.keys().filter("StringFileInfo/040904b0/").size(), 7);
}

void tst_WinResources::iconGroup()
{
    const auto group
        = std::find_if(m_resources.cbegin(), m_resources.cend(), [](const Resource &r) {
              return r.type == 14 && r.name == QString("IDI_ICON1");
          });
    QVERIFY(group != m_resources.cend());
    const QByteArray &dir = group->data;
    QCOMPARE(int(word(dir, 2)), 1); // icons, not cursors

    // Size and colour depth of each image, as the group lists it and as the
    // image itself says; the large one is a PNG.
    QStringList images;
    for (int i = 0, entry = 6; i < word(dir, 4); ++i, entry += 14) {
        const int size = quint8(dir[entry]) ? quint8(dir[entry]) : 256;
        const int bits = word(dir, entry + 6);
        const int id = word(dir, entry + 12);
        const auto icon
            = std::find_if(m_resources.cbegin(), m_resources.cend(),
                           [id](const Resource &r) { return r.type == 3 && r.name == id; });
        QVERIFY(icon != m_resources.cend());
        const bool png = icon->data.startsWith("\x89PNG");
        if (!png) {
            QCOMPARE(int(qFromLittleEndian<qint32>(icon->data.constData() + 4)), size);
            QCOMPARE(int(word(icon->data, 14)), bits);
        }
        images << QString("%1 %2%3").arg(size).arg(bits).arg(png ? " png" : "");
    }
    QCOMPARE(images,
             QStringList({"32 4", "16 4", "48 8", "32 8", "16 8", "256 32 png", "64 32", "48 32",
                          "40 32", "32 32", "24 32", "20 32", "16 32"}));
}

void tst_WinResources::windowedProgram()
{
#ifdef Q_OS_WIN
    // The subsystem field of the optional header: 2 is a windowed program,
    // 3 one that opens a console.
    QFile program(launcherProgram());
    QVERIFY(program.open(QIODevice::ReadOnly));
    const QByteArray image = program.read(4096);
    const auto header = qFromLittleEndian<quint32>(image.constData() + 0x3C);
    QCOMPARE(image.mid(int(header), 4), QByteArray("PE\0\0", 4));
    QCOMPARE(int(word(image, int(header) + 24 + 68)), 2);
#else
    QSKIP("Only the Windows build makes the program itself");
#endif
}

QTEST_GUILESS_MAIN(tst_WinResources)
#include "tst_winresources.moc"
