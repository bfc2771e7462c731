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

// The one profile every view and pop-up uses (made on first use).
QWebEngineProfile* webProfile();

// Views count themselves so the profile is never released under a page.
void registerWebPageUser();
void unregisterWebPageUser();
// Pop-up windows are closed at shutdown, before the profile goes.
void registerPopup(QWidget* popup);

}  // namespace corvano::qt
