#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "platform/TextId.h"

namespace corvano::qt {

// The texts of the current language for the platform's own widgets.
class QtTexts : public QObject {
    Q_OBJECT
public:
    static QtTexts* instance();
    void setLookup(std::function<std::string(int)> lookup) { lookup_ = std::move(lookup); }
    QString text(int n) const;
    void notifyChanged() { emit changed(); }

signals:
    // The language changed: take every text again.
    void changed();

private:
    std::function<std::string(int)> lookup_;
};

// Text n of the current language (empty before the application has set its texts).
inline QString uiText(TextId id) { return QtTexts::instance()->text(textNumber(id)); }

}  // namespace corvano::qt
