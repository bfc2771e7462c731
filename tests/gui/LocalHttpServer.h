#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class QTcpServer;
class QTcpSocket;

namespace corvano::test {

// A small HTTP server on 127.0.0.1 for the GUI tests: GET and HEAD of fixed
// routes (path without query), each with its content type and an optional
// delay before the answer. Unknown paths get 404. Every answer closes the
// connection.
class LocalHttpServer : public QObject {
public:
    struct Route {
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int delayMs = 0;
        int status = 200;
        // More header lines, each ended by CR LF ("Content-Disposition: ...").
        QByteArray headers;
        // "user:password": without them the answer is 401 with this realm and body.
        QByteArray basicAuth;
        QByteArray realm = "Corvano test";
        QByteArray refusal = "<html><head><title>Refused</title></head><body>Refused</body></html>";
        // Sends the headers and the first half of the body, then holds the rest.
        bool stall = false;
    };

    LocalHttpServer();
    ~LocalHttpServer() override;

    // Listens on the port, or on a free one; false when it could not be had.
    // Stopped, it keeps its port: started again on it, it is a server back.
    bool start(quint16 port = 0);
    // The same over TLS with the given certificate and key (PEM files);
    // asking for a client certificate, a handler's request then carries the
    // name it was made out to as "X-Client-CN: NAME".
    bool startTls(const QString& certFile, const QString& keyFile, bool askClientCertificate = false);
    void stop();
    quint16 port() const;

    void addRoute(const QString& path, const Route& route);
    void addPage(const QString& path, const QByteArray& html, int delayMs = 0);
    // A route made for each request from its request line and headers.
    using Handler = std::function<Route(const QByteArray& request)>;
    void addHandler(const QString& path, Handler handler) { handlers_.insert(path, std::move(handler)); }
    // http://127.0.0.1:port + path
    QUrl url(const QString& path) const;
    QString address(const QString& path) const { return url(path).toString(); }
    // How many requests reached a path.
    int hits(const QString& path) const { return hits_.value(path); }

private:
    void onConnection();
    void onReadable(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& method, const QString& path, const QByteArray& header);

    QTcpServer* server_;
    QHash<QString, Route> routes_;
    QHash<QString, Handler> handlers_;
    QHash<QString, int> hits_;
    bool tls_ = false;
    quint16 port_ = 0;
};

}  // namespace corvano::test
