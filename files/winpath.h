// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

// A path as the Win32 file calls take it: absolute, with backslashes, and in
// the long form ("\\?\") when it is too long for the plain one, as Qt's own
// file calls do.
std::wstring windowsPath(const QString &path);
