#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <deque>
#include <map>

// How the test server answers one request: a status with headers and a body, or a body cut off
// in the middle (the connection closed), or never a word.
struct HttpAnswer
{
    enum class Act { Answer, CutBody, Silent };
    HttpAnswer(int status = 200, const QByteArray &body = {},
        const QList<std::pair<QByteArray, QByteArray>> &headers = {}, Act act = Act::Answer)
        : status(status)
        , body(body)
        , headers(headers)
        , act(act)
    { }
    int status = 200;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    Act act = Act::Answer;
};

struct HttpRequest
{
    qint64 at = 0; // ms since the server started
    QByteArray path;
    QHash<QByteArray, QByteArray> headers; // names in lower case
};

// An HTTP/1.1 server on 127.0.0.1 for the tests, over TLS with a certificate nobody trusts when
// asked. Each path answers with its queue of answers, the last one for good; any other path is
// a 404. Every request is recorded.
class HttpServer : public QObject
{
public:
    explicit HttpServer(bool tls = false)
    {
        if (tls) {
            auto *server = new QSslServer(this);
            QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
            configuration.setLocalCertificate(
                QSslCertificate::fromPath(QStringLiteral(NMR_TEST_DATA "/update/untrusted.crt"))
                    .value(0));
            QFile key(QStringLiteral(NMR_TEST_DATA "/update/untrusted.key"));
            key.open(QIODevice::ReadOnly);
            configuration.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
            server->setSslConfiguration(configuration);
            m_server = server;
        } else {
            m_server = new QTcpServer(this);
        }
        m_server->listen(QHostAddress::LocalHost);
        m_started.start();
        connect(m_server, &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket *socket = m_server->nextPendingConnection())
                serve(socket);
        });
        m_scheme = tls ? QStringLiteral("https") : QStringLiteral("http");
    }

    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2%3")
                        .arg(m_scheme)
                        .arg(m_server->serverPort())
                        .arg(path));
    }

    void answerInTurn(const QByteArray &path, std::deque<HttpAnswer> answers)
    {
        m_answers[path] = std::move(answers);
    }
    void answer(const QByteArray &path, const HttpAnswer &answer) { m_answers[path] = {answer}; }

    std::vector<HttpRequest> requests;

    QByteArrayList paths() const
    {
        QByteArrayList paths;
        for (const HttpRequest &request : requests)
            paths << request.path;
        return paths;
    }

private:
    void serve(QTcpSocket *socket)
    {
        auto *received = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, [socket, received] {
            delete received;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            *received += socket->readAll();
            for (qsizetype end; (end = received->indexOf("\r\n\r\n")) >= 0;) {
                const QByteArrayList lines = received->left(end).split('\n');
                received->remove(0, end + 4);
                HttpRequest request;
                request.at = m_started.elapsed();
                request.path = lines.value(0).split(' ').value(1);
                for (qsizetype i = 1; i < lines.size(); ++i) {
                    const qsizetype colon = lines[i].indexOf(':');
                    request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                        lines[i].mid(colon + 1).trimmed());
                }
                requests.push_back(request);
                respond(socket, next(request.path));
            }
        });
    }

    HttpAnswer next(const QByteArray &path)
    {
        const auto found = m_answers.find(path);
        if (found == m_answers.end() || found->second.empty())
            return {404, "not found"};
        HttpAnswer answer = found->second.front();
        if (found->second.size() > 1)
            found->second.pop_front();
        return answer;
    }

    static void respond(QTcpSocket *socket, const HttpAnswer &answer)
    {
        if (answer.act == HttpAnswer::Act::Silent)
            return;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + " Answer\r\n";
        head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
        for (const auto &[name, value] : answer.headers)
            head += name + ": " + value + "\r\n";
        socket->write(head + "\r\n");
        if (answer.act == HttpAnswer::Act::CutBody) {
            socket->write(answer.body.left(answer.body.size() / 2));
            socket->disconnectFromHost();
        } else {
            socket->write(answer.body);
        }
    }

    QElapsedTimer m_started;
    QTcpServer *m_server = nullptr;
    QString m_scheme;
    std::map<QByteArray, std::deque<HttpAnswer>> m_answers;
};
