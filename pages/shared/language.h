// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program speaks Chinese whatever the system's language: the texts Qt draws itself (the
// editors' context menus, the buttons of questions, the file dialogs) come from Qt's own zh_CN
// translations, and dates and numbers take the zh_CN formats.
namespace language {

// Once per program; a second call changes nothing. False, after a warning, when Qt's translations
// are not installed: its own texts then stay English.
bool useChinese();

} // namespace language
