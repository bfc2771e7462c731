#pragma once

#include <QString>

class QWebEngineProfile;
class QWidget;

namespace corvano::qt {

// Before the application object: engine flags and attributes.
void prepareWebEngine();
// After the application object and before the first page: the scene graph
// (Qt Quick's OpenGL path where a graphics processor draws, else its software
// path), the shared profile and the icon theme.
void initWebEngine();
// After the last window: closes the pop-ups left and releases the profile so
// its data reaches the disk.
void shutdownWebEngine();

// Where the profile keeps its data: folder + "/Data/WebProfile". Defaults to
// the application folder. When the profile exists and no page uses it yet, it
// is made again in the new place; otherwise the change waits for the next start.
void setWebStorageFolder(const QString& folder);
QString webStorageFolder();

// The shared profile (made on first use).
QWebEngineProfile* webProfile();
// A named profile with its files in the folder, made when a page first needs
// it and released once its last page has gone; an empty name is the shared one.
QWebEngineProfile* webProfile(const QString& name, const QString& folder);
// The name a profile was made under; empty for the shared one.
QString webProfileName(const QWebEngineProfile* profile);

// Pages count themselves so a profile is never released under a page.
void registerWebPageUser(QWebEngineProfile* profile);
void unregisterWebPageUser(QWebEngineProfile* profile);
// Pop-up windows are closed at shutdown, before the profile goes.
void registerPopup(QWidget* popup);

}  // namespace corvano::qt
