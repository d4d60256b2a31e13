// SPDX-License-Identifier: GPL-3.0-or-later
#include "workout.h"

#include "gamescripts/preferences.h"
#include "installation/listing.h"
#include "installation/playernames.h"
#include "messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace {

const QString loadListRefused = QStringLiteral("User script file cannot be changed.");

// The file's bytes; nothing when it is not there or cannot be read.
std::optional<QByteArray> contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

Change removal(const QString &target)
{
    Change change;
    change.kind = Change::Remove;
    change.target = target;
    return change;
}

Change copy(const QString &source, const QString &target)
{
    Change change = removal(target);
    change.kind = Change::Copy;
    change.source = source;
    return change;
}

Change write(const QString &target, const QByteArray &bytes, const QString &refusal)
{
    Change change = removal(target);
    change.kind = Change::Write;
    change.bytes = bytes;
    change.refusal = refusal;
    return change;
}

class WorkOut
{
public:
    explicit WorkOut(const CopyRecord &record)
        : m_record(record)
    {
    }

    void add(const FileStep &step);
    PressWork result();

private:
    void change(Change change);
    void keep(const FileStep &step, const QString &why);
    bool isNeeded(const Change &change);

    const CopyRecord &m_record;
    PressWork m_work;
    QMap<QString, int> m_changeOf; // the change of each target, by its cleaned path
};

void WorkOut::add(const FileStep &step)
{
    switch (step.kind) {
    case FileStep::MakeFolder:
        // The game makes the folder that holds its scripts folder (under
        // Proton, Steam makes the game's prefix): a press never does.
        if (!step.source.isEmpty() && !QDir(step.source).exists() && m_work.refused.isEmpty())
            m_work.refused = messages::noFolderForScripts(step.source);
        m_work.foldersToMake << FolderToMake {step.target, step.source};
        return;
    case FileStep::Remove:
        change(removal(step.target));
        return;
    case FileStep::Replace:
        // The mod's own file is left absent rather than stale.
        if (isExistingFile(step.source))
            change(copy(step.source, step.target));
        else
            change(removal(step.target));
        return;
    case FileStep::ReplaceGameFile:
        // A game file is never removed without its replacement, and a game
        // folder that is gone is not made anew for one file.
        if (!isExistingFile(step.source))
            keep(step, playerNames::fromDataFolder(step.source) + QStringLiteral(" is missing."));
        else if (!QFileInfo(step.target).dir().exists())
            keep(step,
                 QStringLiteral("its folder is missing from ")
                     + playerNames::locate(step.target).place + '.');
        else
            change(copy(step.source, step.target));
        return;
    case FileStep::WriteLoadList:
        change(write(step.target, step.bytes, loadListRefused));
        return;
    case FileStep::EditPreferences: {
        // A missing file in its folder is edited as an empty one, and so made;
        // one that cannot be read is left alone.
        const auto original = contentOf(step.target);
        const auto edited = original || !QFileInfo::exists(step.target)
            ? editedPreferences(original.value_or(QByteArray()), step.replacements)
            : std::nullopt;
        if (edited) {
            Change preferences = write(step.target, *edited, QString());
            preferences.optional = true;
            change(preferences);
        } else if (original) {
            m_work.notices << messages::preferencesKept(
                {QStringLiteral("it is not text as the game writes it"), false});
        } else {
            m_work.notices << messages::preferencesKept(
                {QStringLiteral("it cannot be read"), files::isHeld(step.target)});
        }
        return;
    }
    }
}

void WorkOut::change(Change change)
{
    const QString key = QDir::cleanPath(change.target);
    if (m_changeOf.contains(key)) {
        m_work.changes[m_changeOf[key]] = change;
        return;
    }
    m_changeOf[key] = m_work.changes.size();
    m_work.changes << change;
}

void WorkOut::keep(const FileStep &step, const QString &why)
{
    m_work.kept << playerNames::locate(step.target).name + QStringLiteral(" was left as it is: ")
            + why;
}

bool WorkOut::isNeeded(const Change &change)
{
    switch (change.kind) {
    case Change::Remove:
        return QFileInfo::exists(change.target);
    case Change::Copy:
        if (!m_record.holds(change.source, change.target))
            return true;
        m_work.inPlace << playerNames::copiedFrom(change.target, change.source);
        return false;
    case Change::Write:
        if (contentOf(change.target) != change.bytes)
            return true;
        m_work.inPlace << playerNames::inPlace(change.target);
        return false;
    }
    return true;
}

PressWork WorkOut::result()
{
    QVector<Change> needed;
    for (const Change &change : qAsConst(m_work.changes)) {
        if (isNeeded(change))
            needed << change;
    }
    m_work.changes = needed;
    return m_work;
}

} // namespace

PressWork workOut(const FilePlan &plan, const CopyRecord &record)
{
    WorkOut work(record);
    for (const FileStep &step : plan)
        work.add(step);
    return work.result();
}
