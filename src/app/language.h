#pragma once
// The language of the window: the user's choice in the view menu, kept in the
// settings store, and the translators that carry it out. The Japanese texts
// in the sources are what the window shows without a translation (the C and
// POSIX locales, and a Japanese user); every other language gets English,
// the one translation shipped so far. Qt's own dialogs follow the same choice.

#include <QString>
#include <QStringList>

class QLocale;
class QSettings;

namespace qf {

enum class LanguageChoice { Automatic = 0, Japanese = 1, English = 2 };

LanguageChoice storedLanguageChoice(const QSettings& store);
void storeLanguageChoice(QSettings& store, LanguageChoice choice);

// "ja", "en", or empty for the untranslated texts (the C/POSIX locale).
QString interfaceLanguage(LanguageChoice choice, const QLocale& system);

// Where quillfen_<language>.qm are looked for: beside the program (the build
// tree) and in the installed data folder.
QStringList translationFolders();

// Installs the program's and Qt's own translators for `language` on the
// running application, in place of any installed before, and routes the
// core's texts through them. Returns false when the program's translation was
// not found; the window then shows the source texts. An empty language
// leaves (or puts back) the untranslated texts.
bool installTranslations(const QString& language,
                         const QStringList& folders = translationFolders());

// The language installTranslations put in place ("en", "ja"), empty before.
QString currentInterfaceLanguage();

}  // namespace qf
