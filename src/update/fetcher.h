#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <array>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// How politely and how patiently the program asks a site.
struct FetchTiming
{
    int spacingMs = 500; // at least this long between the starts of two requests to one host
    int timeoutMs = 30'000; // for the connection and for each pause in a transfer
    std::array<int, 2> retryDelaysMs {1000, 4000}; // before the second and the third try
    int mostRetryAfterS = 120; // the longest Retry-After waited, once
};

// What an earlier answer said about a text, for asking only whether it changed.
struct Validators
{
    QByteArray etag;
    QByteArray lastModified;
};

// The answer to one request, after any tries and redirects.
struct FetchAnswer
{
    enum class Kind { Body, NotModified, NotFound, Failed };
    Kind kind = Kind::Failed;
    int status = 0; // HTTP's, 0 when none came
    QByteArray body; // for Body
    Validators validators; // for Body
    QString failure; // why there is no body, in Japanese, for Failed
};

// Fetches over HTTP and HTTPS one request at a time, as the program's own agent
// (Numerisphere/<version>), through the system's proxy. A timeout, a connection reset or a 5xx
// is tried up to three times; a 429 or 503 asking to wait at most mostRetryAfterS is waited once;
// a 403 or a web page where data was expected is told at once. At most 5 redirects are followed,
// to http and https only and never from https to http; a body over its limit is cut off and
// refused; a certificate that the system does not trust fails the request.
class Fetcher : public QObject
{
    Q_OBJECT

public:
    explicit Fetcher(FetchTiming timing = {}, QObject *parent = nullptr);
    ~Fetcher() override;

    // Asks for url; done is called once with the answer, unless cancel() comes first.
    void get(const QUrl &url, qint64 limit, const Validators &validators,
        const std::function<void(const FetchAnswer &)> &done);
    // Stops the request running or waiting; its done is not called.
    void cancel();

    int requestsSent() const { return m_sent; }

signals:
    void requestStarted(const QUrl &url);

private:
    void start();
    void finish(QNetworkReply *reply);
    // Reads what has come of the body; false once it is over the limit.
    bool take(QNetworkReply *reply);
    QString tooLarge() const; // why a body over the limit is refused
    void answer(const FetchAnswer &answer);
    void again(int delayMs);

    FetchTiming m_timing;
    QNetworkAccessManager *m_manager;
    QHash<QString, QElapsedTimer> m_lastStart; // by host
    int m_sent = 0;
    int m_generation = 0; // a cancel makes waiting timers of earlier requests stale

    // The request in hand.
    QUrl m_url;
    qint64 m_limit = 0;
    Validators m_validators;
    std::function<void(const FetchAnswer &)> m_done;
    int m_tries = 0;
    bool m_waitedRetryAfter = false;
    int m_redirects = 0;
    QByteArray m_body;
    QString m_refused; // why the program stopped the transfer itself
    QString m_tlsFailure;
    QPointer<QNetworkReply> m_reply;
};

// "https://example.jp/a.csv" as the messages show it.
QString AddressText(const QUrl &url);
