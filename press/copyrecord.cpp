// SPDX-License-Identifier: GPL-3.0-or-later
#include "copyrecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

const QLatin1String CopyRecord::fileName("velmarch-copies.json");

namespace {

constexpr int format = 1;

// Paths are kept as the plan names them, so one file has one key.
QString key(const QString &path)
{
    return QDir::cleanPath(path);
}

// The record names the launcher folder it belongs to: one carried along to
// another installation with the launcher's files describes other files.
QString launcherFolder()
{
    return QDir::currentPath();
}

} // namespace

CopyRecord CopyRecord::load()
{
    CopyRecord record;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return record;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value("format").toInt() != format
        || root.value("launcher").toString() != launcherFolder())
        return record;
    const QJsonArray copies = root.value("copies").toArray();
    for (const QJsonValue &value : copies) {
        const QJsonObject copy = value.toObject();
        const auto sourceStamp = FileStamp::fromText(copy.value("source stamp").toString());
        const auto targetStamp = FileStamp::fromText(copy.value("target stamp").toString());
        const QString target = copy.value("target").toString();
        if (sourceStamp && targetStamp && !target.isEmpty())
            record.m_copies.insert(
                key(target), {key(copy.value("source").toString()), *sourceStamp, *targetStamp});
    }
    return record;
}

bool CopyRecord::save()
{
    if (!m_changed)
        return true;
    QJsonArray copies;
    for (auto it = m_copies.cbegin(); it != m_copies.cend(); ++it)
        copies.append(QJsonObject {{"target", it.key()},
                                   {"source", it->source},
                                   {"source stamp", it->sourceStamp.toText()},
                                   {"target stamp", it->targetStamp.toText()}});
    QJsonArray everyTime;
    for (auto it = m_copiedEveryTime.cbegin(); it != m_copiedEveryTime.cend(); ++it)
        everyTime.append(QJsonObject {{"target", it.key()}, {"why", it.value()}});
    const QJsonObject root {{"format", format},
                            {"launcher", launcherFolder()},
                            {"copies", copies},
                            {"copied every time", everyTime}};
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(root).toJson());
    if (!file.commit())
        return false;
    m_changed = false;
    return true;
}

QString CopyRecord::whyUntrusted(const QString &path) const
{
    const QString folder = QFileInfo(path).absolutePath();
    auto trust = m_folderTrust.find(folder);
    if (trust == m_folderTrust.end())
        trust = m_folderTrust.insert(folder, whyStampsMislead(folder));
    return *trust;
}

bool CopyRecord::holds(const QString &source, const QString &target) const
{
    const auto copy = m_copies.constFind(key(target));
    if (copy == m_copies.cend() || copy->source != key(source) || !whyUntrusted(source).isEmpty()
        || !whyUntrusted(target).isEmpty())
        return false;
    return stampOf(source) == copy->sourceStamp && stampOf(target) == copy->targetStamp;
}

void CopyRecord::remember(const QString &source, const std::optional<FileStamp> &sourceBefore,
                          const QString &target, const std::optional<FileStamp> &copy)
{
    const auto sourceStamp = stampOf(source);
    const auto targetStamp = stampOf(target);
    const QString why
        = whyUntrusted(target).isEmpty() ? whyUntrusted(source) : whyUntrusted(target);
    m_copies.remove(key(target));
    m_copiedEveryTime.remove(key(target));
    if (!why.isEmpty())
        m_copiedEveryTime.insert(key(target), why);
    else if (sourceStamp && targetStamp && sourceStamp == sourceBefore && copy
             && targetStamp->isMovedFrom(*copy))
        m_copies.insert(key(target), {key(source), *sourceStamp, *targetStamp});
    m_changed = true;
}

void CopyRecord::forget(const QString &target)
{
    m_copiedEveryTime.remove(key(target));
    m_changed = m_copies.remove(key(target)) > 0 || m_changed;
}
