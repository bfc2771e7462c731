#include "platform/qt/QtTexts.h"

namespace corvano::qt {

QtTexts* QtTexts::instance() {
    static QtTexts texts;
    return &texts;
}

QString QtTexts::text(int n) const { return lookup_ ? QString::fromStdString(lookup_(n)) : QString(); }

}  // namespace corvano::qt
