#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A one-trick HTTP server on loopback: after reading a request it sends `head` and `body`, then closes the
// connection or, with keepOpen, leaves it hanging. With an empty head it never answers.
class FaultyServer : public QTcpServer {
public:
    FaultyServer(QByteArray head, QByteArray body, bool keepOpen)
        : m_head(std::move(head)), m_body(std::move(body)), m_keepOpen(keepOpen) {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                ++requests;
                if (m_head.isEmpty())
                    return;
                socket->write(m_head + m_body);
                socket->flush();
                if (!m_keepOpen)
                    socket->disconnectFromHost();
            });
        });
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }
    QUrl address() const { return QUrl(base() + "/ondaris/ondaris2.asp?user=u&password=segreta"); }

    // A response head with the status, the type (none when empty) and the length.
    static QByteArray head(int status, const QByteArray& type, qint64 length) {
        QByteArray text = "HTTP/1.1 " + QByteArray::number(status) + " X\r\n";
        if (!type.isEmpty())
            text += "Content-Type: " + type + "\r\n";
        return text + "Content-Length: " + QByteArray::number(length) + "\r\nConnection: close\r\n\r\n";
    }

    int requests = 0;

private:
    QByteArray m_head, m_body;
    bool m_keepOpen;
};
