#pragma once

#include <QUrl>
#include <functional>
#include <optional>

#include "platform/WebPrompts.h"

class QObject;
class QWebEnginePage;
class QWebEngineProfile;

namespace corvano::qt {

// The engine's permission API changed in Qt 6.8 (QWebEnginePermission and
// permissionRequested replaced the page's feature permissions); which one is
// used is decided here and nowhere else.

// A page's request for a permission.
struct PermissionRequest {
    QUrl origin;
    // Nothing for what Corvano never offers (the mouse lock, the clipboard...).
    std::optional<WebPermission> what;
    // Grants or refuses; does nothing once the page has gone.
    std::function<void(bool allow)> answer;
};

// Hands the page's permission requests to `ask` for as long as `context` lives.
void onPermissionRequest(QWebEnginePage* page, QObject* context, std::function<void(PermissionRequest)> ask);

// Corvano keeps a site's answers itself, for one run: the engine is to ask
// every time and remember nothing (from 6.8 on it remembers by default).
void askPermissionsEveryTime(QWebEngineProfile* profile);

}  // namespace corvano::qt
