#pragma once

#include <QString>

namespace corvano::qt {

// Qt's own dialogs and buttons (file, print, message boxes) follow the chosen
// language through Qt's translations. The language file names its code.

// From now on every change of the texts loads Qt's translations for the code
// the language file gives; once per process.
void followLanguageInQtDialogs();

// Loads Qt's translations for a code such as "de" ("en" or empty: none).
// False when there are none for it; the dialogs then speak English.
bool useQtTranslations(const QString& code);
// The code whose translations are in use; empty for none.
QString qtTranslationsInUse();

}  // namespace corvano::qt
