#include "platform/qt/QtPermissions.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtWebEngineCore/qtwebenginecoreversion.h>

#define CORVANO_PERMISSION_OBJECTS (QTWEBENGINECORE_VERSION >= QT_VERSION_CHECK(6, 8, 0))
#if CORVANO_PERMISSION_OBJECTS
#include <QWebEnginePermission>
#endif

namespace corvano::qt {

namespace {

#if CORVANO_PERMISSION_OBJECTS
std::optional<WebPermission> permissionOf(QWebEnginePermission::PermissionType type) {
    using T = QWebEnginePermission::PermissionType;
    switch (type) {
        case T::MediaVideoCapture: return WebPermission::Camera;
        case T::MediaAudioCapture: return WebPermission::Microphone;
        case T::MediaAudioVideoCapture: return WebPermission::CameraAndMicrophone;
        case T::DesktopVideoCapture:
        case T::DesktopAudioVideoCapture: return WebPermission::Screen;
        case T::Notifications: return WebPermission::Notifications;
        case T::Geolocation: return WebPermission::Location;
        default: return std::nullopt;
    }
}
#else
std::optional<WebPermission> permissionOf(QWebEnginePage::Feature feature) {
    switch (feature) {
        case QWebEnginePage::MediaVideoCapture: return WebPermission::Camera;
        case QWebEnginePage::MediaAudioCapture: return WebPermission::Microphone;
        case QWebEnginePage::MediaAudioVideoCapture: return WebPermission::CameraAndMicrophone;
        case QWebEnginePage::DesktopVideoCapture:
        case QWebEnginePage::DesktopAudioVideoCapture: return WebPermission::Screen;
        case QWebEnginePage::Notifications: return WebPermission::Notifications;
        case QWebEnginePage::Geolocation: return WebPermission::Location;
        default: return std::nullopt;
    }
}
#endif

}  // namespace

void onPermissionRequest(QWebEnginePage* page, QObject* context, std::function<void(PermissionRequest)> ask) {
    QPointer<QWebEnginePage> asking(page);
#if CORVANO_PERMISSION_OBJECTS
    QObject::connect(page, &QWebEnginePage::permissionRequested, context,
                     [asking, ask](QWebEnginePermission permission) {
                         ask({permission.origin(), permissionOf(permission.permissionType()),
                              [asking, permission](bool allow) {
                                  if (!asking) return;
                                  if (allow)
                                      permission.grant();
                                  else
                                      permission.deny();
                              }});
                     });
#else
    QObject::connect(page, &QWebEnginePage::featurePermissionRequested, context,
                     [asking, ask](const QUrl& origin, QWebEnginePage::Feature feature) {
                         ask({origin, permissionOf(feature), [asking, origin, feature](bool allow) {
                                  if (!asking) return;
                                  asking->setFeaturePermission(origin, feature,
                                                               allow ? QWebEnginePage::PermissionGrantedByUser
                                                                     : QWebEnginePage::PermissionDeniedByUser);
                              }});
                     });
#endif
}

void askPermissionsEveryTime([[maybe_unused]] QWebEngineProfile* profile) {
#if CORVANO_PERMISSION_OBJECTS
    profile->setPersistentPermissionsPolicy(QWebEngineProfile::PersistentPermissionsPolicy::AskEveryTime);
#endif
}

}  // namespace corvano::qt
