#include "platform/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QTranslator>
#include <vector>

#include "platform/qt/QtTexts.h"

namespace corvano::qt {

namespace {

struct InUse {
    QString code;
    std::vector<QPointer<QTranslator>> translators;
};

InUse& inUse() {
    static InUse state;
    return state;
}

}  // namespace

QString qtTranslationsInUse() { return inUse().translators.empty() ? QString() : inUse().code; }

bool useQtTranslations(const QString& wanted) {
    InUse& state = inUse();
    QString code = wanted.trimmed().toLower();
    // A code from a language file names a file: letters and one "_" only.
    static const QRegularExpression kCode(QStringLiteral("^[a-z]{2,3}(_[a-z]{2,4})?$"));
    if (!kCode.match(code).hasMatch()) code.clear();
    const bool english = code.isEmpty() || code == QLatin1String("en");
    if (code == state.code) return english || !state.translators.empty();
    for (auto& t : state.translators)
        if (t) {
            QCoreApplication::removeTranslator(t);
            delete t.data();
        }
    state.translators.clear();
    state.code = code;
    if (english) return true;
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Qt's widgets and dialogs, then the web engine's page menu.
    for (const char* prefix : {"qt_", "qtwebengine_"}) {
        auto* t = new QTranslator(QCoreApplication::instance());
        if (t->load(QLatin1String(prefix) + code, dir)) {
            QCoreApplication::installTranslator(t);
            state.translators.emplace_back(t);
        } else {
            delete t;
        }
    }
    return !state.translators.empty();
}

void followLanguageInQtDialogs() {
    static bool following = false;
    if (following) return;
    following = true;
    QObject::connect(QtTexts::instance(), &QtTexts::changed, QtTexts::instance(),
                     [] { useQtTranslations(uiText(TextId::LanguageCode)); });
}

}  // namespace corvano::qt
