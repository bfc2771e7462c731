#include "platform/qt/QtWebEngineSetup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPointer>
#include <QTimer>
#include <QSslCertificate>
#include <QSslKey>
#include <QWebEngineClientCertificateStore>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWidget>
#include <cstdio>

#include "platform/SceneGraph.h"
#include "platform/qt/QtPermissions.h"

namespace corvano::qt {

namespace {

struct NamedProfile {
    QString name;
    QWebEngineProfile* profile = nullptr;
    int pageUsers = 0;
};

struct EngineState {
    QString folder;  // empty: the application folder
    QWebEngineProfile* profile = nullptr;
    int pageUsers = 0;
    QList<QPointer<QWidget>> popups;
    // By folder: two windows with the same name share one profile.
    QHash<QString, NamedProfile> named;
};

EngineState& state() {
    static EngineState s;
    return s;
}

QString profilePath() { return webStorageFolder() + "/Data/WebProfile"; }

// The engine lists only the client certificates given to its profile: every
// PEM file of the folder that holds a certificate and its unencrypted key.
void addClientCertificates(QWebEngineProfile* profile, const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.pem")}, QDir::Files | QDir::Readable)) {
        QFile f(dir.filePath(name));
        if (f.size() > 256 * 1024 || !f.open(QIODevice::ReadOnly)) continue;
        const QByteArray pem = f.readAll();
        const QList<QSslCertificate> certificates = QSslCertificate::fromData(pem, QSsl::Pem);
        QSslKey key(pem, QSsl::Rsa, QSsl::Pem);
        if (key.isNull()) key = QSslKey(pem, QSsl::Ec, QSsl::Pem);
        if (certificates.isEmpty() || key.isNull()) {
            std::fprintf(stderr, "corvano: %s holds no certificate with its key\n", qPrintable(f.fileName()));
            continue;
        }
        profile->clientCertificateStore()->add(certificates.first(), key);
    }
}

QWebEngineProfile* makeProfile(const QString& storageName, const QString& path) {
    QDir().mkpath(path);
    // The engine writes its first preferences under the application's data
    // location before the storage path applies: while the profile is made,
    // that location lies in the profile's folder, so nothing lands outside
    // the application folder. The user's own value comes back at once (fonts
    // and icons are found through it).
    const bool hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(path));
    auto* p = new QWebEngineProfile(storageName);
    p->setPersistentStoragePath(path);
    if (hadDataHome) {
        qputenv("XDG_DATA_HOME", dataHome);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
    p->setCachePath(path + "/Cache");
    // A wall has nobody to log in again after a restart: session cookies are
    // kept on disk like the others.
    p->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    p->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    askPermissionsEveryTime(p);
    addClientCertificates(p, path + "/Certificates");
    p->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    p->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    return p;
}

// What the machine's OpenGL names as its renderer; nothing when no context
// can be made (no GL library, a window system without OpenGL).
GlRenderer openGlRenderer() {
    GlRenderer gl;
    QOpenGLContext context;
    if (!context.create()) return gl;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return gl;
    QOpenGLFunctions* f = context.functions();
    auto text = [f](GLenum which) {
        const GLubyte* s = f->glGetString(which);
        return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
    };
    gl.available = true;
    gl.vendor = text(GL_VENDOR);
    gl.renderer = text(GL_RENDERER);
    context.doneCurrent();
    return gl;
}

bool sceneGraphGivenFromOutside() {
    return !qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND");
}

QWebEngineProfile* makeSharedProfile() { return makeProfile(QStringLiteral("Corvano"), profilePath()); }

NamedProfile* namedOf(const QWebEngineProfile* profile) {
    for (NamedProfile& n : state().named)
        if (n.profile == profile) return &n;
    return nullptr;
}

void releaseNamedProfiles() {
    EngineState& s = state();
    for (auto it = s.named.begin(); it != s.named.end();) {
        if (it->pageUsers > 0) {
            ++it;
            continue;
        }
        delete it->profile;
        it = s.named.erase(it);
    }
}

// Pages handed to deleteLater still hold the profile until they really go.
void flushDeletedPages() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

void prepareWebEngine() {
    // Chromium refuses its sandbox as root; only then is it turned off.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        std::fputs("corvano: running as root, the web engine's sandbox is turned off\n", stderr);
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

namespace {
void applySceneGraph() {
    // The user's own choice wins. Read by Qt Quick at the first view and by
    // the engine when it starts (it turns its GPU use off by itself on the
    // software path), so it is set before the profile exists.
    if (sceneGraphGivenFromOutside()) return;
    if (corvano::chooseSceneGraph(openGlRenderer()) == SceneGraph::Software) qputenv("QT_QUICK_BACKEND", "software");
}
}  // namespace

void initWebEngine() {
    applySceneGraph();
    QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << "/usr/share/icons");
    QIcon::setThemeName("oxygen");
    webProfile();
}

void shutdownWebEngine() {
    EngineState& s = state();
    for (const QPointer<QWidget>& p : s.popups) delete p.data();
    s.popups.clear();
    flushDeletedPages();
    releaseNamedProfiles();
    if (!s.profile) return;
    if (s.pageUsers > 0) {
        // Releasing the profile under a live page crashes the engine; leaving
        // it costs at most the last moments of cookies and cache.
        std::fputs("corvano: web pages still open at exit, the web profile is left as it is\n", stderr);
        return;
    }
    delete s.profile;
    s.profile = nullptr;
}


void setWebStorageFolder(const QString& folder) {
    EngineState& s = state();
    if (s.folder == folder) return;
    s.folder = folder;
    if (!s.profile) return;
    flushDeletedPages();
    if (s.pageUsers > 0) return;
    delete s.profile;
    s.profile = makeSharedProfile();
}

QString webStorageFolder() {
    const QString& f = state().folder;
    return f.isEmpty() ? QCoreApplication::applicationDirPath() : f;
}

QWebEngineProfile* webProfile() {
    EngineState& s = state();
    if (!s.profile) s.profile = makeSharedProfile();
    return s.profile;
}

QWebEngineProfile* webProfile(const QString& name, const QString& folder) {
    if (name.isEmpty() || folder.isEmpty()) return webProfile();
    EngineState& s = state();
    NamedProfile& n = s.named[QDir::cleanPath(folder)];
    if (!n.profile) {
        n.name = name;
        n.profile = makeProfile(QStringLiteral("Corvano-") + name, QDir::cleanPath(folder));
    }
    return n.profile;
}

QString webProfileName(const QWebEngineProfile* profile) {
    const NamedProfile* n = namedOf(profile);
    return n ? n->name : QString();
}

void registerWebPageUser(QWebEngineProfile* profile) {
    if (NamedProfile* n = namedOf(profile))
        ++n->pageUsers;
    else
        ++state().pageUsers;
}

void unregisterWebPageUser(QWebEngineProfile* profile) {
    NamedProfile* n = namedOf(profile);
    if (!n) return void(--state().pageUsers);
    // A profile no window uses any more is released, so its cookies reach
    // the disk now and its memory is given back; the next page makes it again.
    if (--n->pageUsers == 0) QTimer::singleShot(0, QCoreApplication::instance(), [] { releaseNamedProfiles(); });
}

void registerPopup(QWidget* popup) {
    auto& list = state().popups;
    list.removeAll(QPointer<QWidget>());
    list.append(popup);
}

}  // namespace corvano::qt
