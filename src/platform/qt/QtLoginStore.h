#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

#include "platform/LoginFile.h"

namespace corvano::qt {

// HTTP logins the user asked to remember: in the desktop's secret service
// (QtKeychain) where one runs, else in Data/Corvano.Logins of the application
// folder, readable by the user alone. Keys are loginKey()s.
class QtLoginStore : public QObject {
    Q_OBJECT
public:
    static QtLoginStore& instance();

    // What is known at once: remembered in this run or in the file.
    std::optional<RememberedLogin> known(const QString& key);
    // True when the secret service has not been asked for this key in this
    // run; fetch() then asks it and answers later, on this thread, within ten
    // seconds (nothing then), unless `context` has gone.
    bool mayFetch(const QString& key) const;
    void fetch(const QString& key, QObject* context, std::function<void(std::optional<RememberedLogin>)> answer);
    void remember(const QString& key, const RememberedLogin& login);
    void forget(const QString& key);

    // The file's place: Data/Corvano.Logins under the web storage folder.
    static QString filePath();
    // Tests: no secret service, the file alone; and forget what this run
    // read, as a new run would.
    void setFileOnly(bool fileOnly) { fileOnly_ = fileOnly; }
    void dropMemory();

private:
    void loadFile();
    bool writeFile();

    bool fileOnly_ = false;
    QString loadedFrom_;
    RememberedLogins file_;
    // Remembered or read from the secret service in this run.
    RememberedLogins memory_;
    QSet<QString> fetched_;
};

}  // namespace corvano::qt
