#include "platform/qt/QtIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <algorithm>
#include <iterator>

// Resources of a static library must be registered by hand.
static void registerBarResources() { Q_INIT_RESOURCE(corvano); }

namespace corvano::qt {

namespace {

const char* const kOxygen = "/usr/share/icons/oxygen/base";
const char* const kFlags = "/usr/share/iso-flags-svg/country-4x3/";
// Every size a bar may draw at up to twice the scale, so none is blown up.
const int kSizes[] = {16, 22, 24, 32, 48, 64};

// Straight from the theme's folders. The theme keeps different pictures of
// one name in different contexts, some only at small sizes: all sizes come
// from the one context that has the most, so the picture is the same at
// every scale.
QIcon oxygenIcon(const QString& name) {
    static const char* const kContexts[] = {"actions", "apps",   "categories", "devices", "emblems",
                                            "emotes",  "mimetypes", "places",  "status"};
    auto path = [&name](int size, const char* context) {
        return QString("%1/%2x%2/%3/%4.png").arg(kOxygen).arg(size).arg(context, name);
    };
    const char* best = nullptr;
    int bestCount = 0;
    for (const char* context : kContexts) {
        const int count = static_cast<int>(
            std::count_if(std::begin(kSizes), std::end(kSizes), [&](int size) { return QFileInfo::exists(path(size, context)); }));
        if (count > bestCount) best = context, bestCount = count;
    }
    QIcon icon;
    if (!best) return icon;
    for (int size : kSizes)
        if (QFileInfo::exists(path(size, best))) icon.addFile(path(size, best), QSize(size, size));
    return icon;
}

// A 4:3 picture centred in a square icon, with a fine frame so light flags
// keep their edge on a light bar.
QIcon flagIcon(const QString& path) {
    QSvgRenderer svg(path);
    if (!svg.isValid()) return {};
    QIcon icon;
    for (int size : kSizes) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        const int h = size * 3 / 4;
        const QRect r(0, (size - h) / 2, size, h);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p, r);
        p.setPen(QColor(0, 0, 0, 90));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QIcon load(const std::string& source) {
    const size_t colon = source.find(':');
    if (colon == std::string::npos) return {};
    const std::string kind = source.substr(0, colon);
    const QString name = QString::fromStdString(source.substr(colon + 1));
    if (name.isEmpty() || name.contains('/') || name.contains("..")) return {};
    if (kind == "theme") {
        QIcon icon = oxygenIcon(name);
        return icon.isNull() ? QIcon::fromTheme(name) : icon;
    }
    if (kind == "flag") return flagIcon(kFlags + name + ".svg");
    if (kind == "res") {
        static const bool registered = (registerBarResources(), true);
        (void)registered;
        return flagIcon(":/corvano/" + name + ".svg");
    }
    return {};
}

}  // namespace

QString resourceSvg(const std::string& source) {
    if (source.rfind("res:", 0) != 0) return {};
    const QString name = QString::fromStdString(source.substr(4));
    if (name.isEmpty() || name.contains('/') || name.contains("..")) return {};
    static const bool registered = (registerBarResources(), true);
    (void)registered;
    return ":/corvano/" + name + ".svg";
}

QIcon productIcon() {
    static const QIcon icon = [] {
        QIcon i;
        QSvgRenderer svg(resourceSvg("res:corvano"));
        if (!svg.isValid()) return i;
        for (int size : {16, 22, 32, 48, 64, 128, 256}) {
            QPixmap pm(size, size);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            svg.render(&p);
            p.end();
            i.addPixmap(pm);
        }
        return i;
    }();
    return icon;
}

QIcon barIcon(const std::string& source) {
    if (source.empty()) return {};
    static QHash<QString, QIcon> cache;
    const QString key = QString::fromStdString(source);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.insert(key, load(source));
    return *it;
}

}  // namespace corvano::qt
