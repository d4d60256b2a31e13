// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' headless screen, linked in where Qt is.
#include <QtPlugin>

Q_IMPORT_PLUGIN(QOffscreenIntegrationPlugin)
