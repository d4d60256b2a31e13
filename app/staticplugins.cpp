// SPDX-License-Identifier: GPL-3.0-or-later
// With Qt linked in whole, the plugins it would load from folders beside the
// program are linked in too and named here: the Windows platform, its style,
// and JPEG pictures (the background).
#include <QtPlugin>

Q_IMPORT_PLUGIN(QWindowsIntegrationPlugin)
Q_IMPORT_PLUGIN(QWindowsVistaStylePlugin)
Q_IMPORT_PLUGIN(QJpegPlugin)
