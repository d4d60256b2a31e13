// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The account a launcher runs as, and where a path leads, as the system
// knows them (one file per platform: account_unix.cpp, account_win.cpp).
namespace account {

// This account's id: its user id; on Windows its security id (SID).
QString currentId();
// The name of the account with that id on this computer; empty where there
// is none.
QString nameOf(const QString &id);

// The path as the system resolves it, every link on the way followed; on
// Windows the final path of a handle to it. Empty where nothing is there.
QString resolvedPath(const QString &path);
// Whether two paths lead to the same place: as the system resolves them
// where both are there, and otherwise as their cleaned absolute texts, which
// Windows compares without regard to case.
bool samePlace(const QString &one, const QString &other);

} // namespace account
