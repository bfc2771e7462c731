#include "LocalHttpServer.h"

#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace corvano::test {

namespace {

constexpr int kMaxHeader = 64 * 1024;

QByteArray reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 204: return "No Content";
        case 401: return "Unauthorized";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

}  // namespace

LocalHttpServer::LocalHttpServer() : server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &LocalHttpServer::onConnection);
}

LocalHttpServer::~LocalHttpServer() { stop(); }

bool LocalHttpServer::start(quint16 port) {
    if (server_->isListening()) return true;
    if (!server_->listen(QHostAddress::LocalHost, port)) return false;
    port_ = server_->serverPort();
    return true;
}

bool LocalHttpServer::startTls(const QString& certFile, const QString& keyFile, bool askClientCertificate) {
    QFile certIn(certFile), keyIn(keyFile);
    if (!certIn.open(QIODevice::ReadOnly) || !keyIn.open(QIODevice::ReadOnly)) return false;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificate(QSslCertificate(certIn.readAll(), QSsl::Pem));
    config.setPrivateKey(QSslKey(keyIn.readAll(), QSsl::Rsa, QSsl::Pem));
    config.setPeerVerifyMode(askClientCertificate ? QSslSocket::QueryPeer : QSslSocket::VerifyNone);
    if (config.localCertificate().isNull() || config.privateKey().isNull()) return false;
    delete server_;
    auto* ssl = new QSslServer(this);
    ssl->setSslConfiguration(config);
    server_ = ssl;
    tls_ = true;
    connect(server_, &QTcpServer::pendingConnectionAvailable, this, &LocalHttpServer::onConnection);
    return server_->listen(QHostAddress::LocalHost, 0);
}

void LocalHttpServer::stop() {
    server_->close();
    for (QTcpSocket* s : findChildren<QTcpSocket*>()) s->abort();
}

quint16 LocalHttpServer::port() const { return server_->isListening() ? server_->serverPort() : port_; }

void LocalHttpServer::addRoute(const QString& path, const Route& route) { routes_.insert(path, route); }

void LocalHttpServer::addPage(const QString& path, const QByteArray& html, int delayMs) {
    Route r;
    r.body = html;
    r.delayMs = delayMs;
    addRoute(path, r);
}

QUrl LocalHttpServer::url(const QString& path) const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(tls_ ? "https" : "http").arg(port()).arg(path));
}

void LocalHttpServer::onConnection() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::onReadable(QTcpSocket* socket) {
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (buffer.size() > kMaxHeader) socket->abort();
        else socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("answered", true);
    const QList<QByteArray> request = buffer.left(buffer.indexOf("\r\n")).split(' ');
    if (request.size() < 2) {
        socket->abort();
        return;
    }
    QString path = QString::fromUtf8(request.at(1));
    const int query = path.indexOf(QLatin1Char('?'));
    if (query >= 0) path.truncate(query);
    answer(socket, request.at(0), path, buffer.left(end));
}

void LocalHttpServer::answer(QTcpSocket* socket, const QByteArray& method, const QString& path,
                             const QByteArray& header) {
    hits_[path] += 1;
    Route route;
    if (handlers_.contains(path)) {
        QByteArray request = header;
        if (auto* ssl = qobject_cast<QSslSocket*>(socket); ssl && !ssl->peerCertificate().isNull())
            request += "\r\nX-Client-CN: " + ssl->peerCertificate().subjectInfo(QSslCertificate::CommonName).value(0).toUtf8();
        route = handlers_.value(path)(request);
    } else if (routes_.contains(path)) {
        route = routes_.value(path);
    } else {
        route.status = 404;
        route.body = "<html><head><title>Not found</title></head><body>Not found</body></html>";
    }
    if (!route.basicAuth.isEmpty() &&
        !header.contains("\r\nAuthorization: Basic " + route.basicAuth.toBase64() + "\r\n") &&
        !header.endsWith("\r\nAuthorization: Basic " + route.basicAuth.toBase64())) {
        route.status = 401;
        route.headers = "WWW-Authenticate: Basic realm=\"" + route.realm + "\"\r\n";
        route.body = route.refusal;
        route.contentType = "text/html; charset=utf-8";
        route.stall = false;
    }
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + reason(route.status) + "\r\n";
    reply += "Content-Type: " + route.contentType + "\r\n";
    reply += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
    reply += route.headers;
    reply += "Cache-Control: no-store\r\nConnection: close\r\n\r\n";
    if (method != "HEAD") reply += route.stall ? route.body.left(route.body.size() / 2) : route.body;
    if (route.stall) {
        socket->write(reply);  // the rest never comes; the client gives up or cancels
        return;
    }

    QPointer<QTcpSocket> guard(socket);
    auto send = [guard, reply] {
        if (!guard) return;
        guard->write(reply);
        guard->disconnectFromHost();
    };
    if (route.delayMs > 0)
        QTimer::singleShot(route.delayMs, this, send);
    else
        send();
}

}  // namespace corvano::test
