#include "app/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSettings>
#include <QTranslator>

#include "common/translate.h"

namespace qf {

namespace {

const QString kLanguageKey = QStringLiteral("Workspace/Language");
QString g_current;

std::string translatedByQt(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace

LanguageChoice storedLanguageChoice(const QSettings& store) {
    const QString v = store.value(kLanguageKey).toString();
    if (v == QLatin1String("ja")) return LanguageChoice::Japanese;
    if (v == QLatin1String("en")) return LanguageChoice::English;
    // Anything else, an edited or foreign value included, is no choice.
    return LanguageChoice::Automatic;
}

void storeLanguageChoice(QSettings& store, LanguageChoice choice) {
    switch (choice) {
        case LanguageChoice::Japanese:
            store.setValue(kLanguageKey, QStringLiteral("ja"));
            break;
        case LanguageChoice::English:
            store.setValue(kLanguageKey, QStringLiteral("en"));
            break;
        case LanguageChoice::Automatic:
            store.remove(kLanguageKey);
            break;
    }
}

QString interfaceLanguage(LanguageChoice choice, const QLocale& system) {
    switch (choice) {
        case LanguageChoice::Japanese:
            return QStringLiteral("ja");
        case LanguageChoice::English:
            return QStringLiteral("en");
        case LanguageChoice::Automatic:
            break;
    }
    if (system.language() == QLocale::C) return {};
    if (system.language() == QLocale::Japanese) return QStringLiteral("ja");
    return QStringLiteral("en");
}

QStringList translationFolders() {
    const QString dir = QCoreApplication::applicationDirPath();
    return {dir + QStringLiteral("/translations"),
            dir + QStringLiteral("/../share/quillfen/translations")};
}

QString currentInterfaceLanguage() {
    return g_current;
}

bool installTranslations(const QString& language, const QStringList& folders) {
    // A second call replaces what the first put in place.
    static QPointer<QTranslator> s_qt, s_own;
    for (QPointer<QTranslator>* t : {&s_qt, &s_own}) {
        if (*t) {
            QCoreApplication::removeTranslator(*t);
            delete t->data();
        }
    }
    setTranslateHook(nullptr);
    g_current.clear();
    if (language.isEmpty()) return true;
    QCoreApplication* app = QCoreApplication::instance();
    // Qt's own texts (file dialog, standard buttons) first, so that the
    // program's translation, installed last, is asked first.
    auto* qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_") + language,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
        s_qt = qt;
    } else {
        delete qt;
    }
    auto* own = new QTranslator(app);
    for (const QString& folder : folders) {
        if (own->load(QStringLiteral("quillfen_") + language, QDir::cleanPath(folder))) {
            QCoreApplication::installTranslator(own);
            s_own = own;
            setTranslateHook(translatedByQt);
            g_current = language;
            return true;
        }
    }
    delete own;
    return false;
}

}  // namespace qf
