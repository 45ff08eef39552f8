#include "fetcher.h"

#include "productinfo.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QSslError>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int MostTries = 3;
constexpr int MostRedirects = 5;

QString Seconds(int ms)
{
    return QString::number(ms / 1000.0);
}

QString Size(qint64 bytes)
{
    return bytes % (1 << 20) == 0 ? u"%1 MiB"_s.arg(bytes >> 20) : u"%1 バイト"_s.arg(bytes);
}

bool WebPage(const QNetworkReply *reply, const QByteArray &body)
{
    if (reply->header(QNetworkRequest::ContentTypeHeader).toString().startsWith(u"text/html"_s))
        return true;
    const QByteArray start = body.left(512).trimmed().toLower();
    return start.startsWith("<!doctype") || start.startsWith("<html") || start.startsWith("<?xml");
}

// Retry-After in seconds, from a number of seconds or an HTTP date; -1 when there is none.
qint64 RetryAfter(const QNetworkReply *reply)
{
    const QByteArray value = reply->rawHeader("Retry-After").trimmed();
    if (value.isEmpty())
        return -1;
    bool number = false;
    const qint64 seconds = value.toLongLong(&number);
    if (number)
        return seconds < 0 ? -1 : seconds;
    const QDateTime when = QDateTime::fromString(QString::fromLatin1(value), Qt::RFC2822Date);
    return when.isValid() ? std::max<qint64>(0, QDateTime::currentDateTimeUtc().secsTo(when)) : -1;
}

} // namespace

QString AddressText(const QUrl &url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo);
}

Fetcher::Fetcher(FetchTiming timing, QObject *parent)
    : QObject(parent)
    , m_timing(timing)
    , m_manager(new QNetworkAccessManager(this))
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    m_manager->setAutoDeleteReplies(false);
}

Fetcher::~Fetcher()
{
    cancel();
}

void Fetcher::get(const QUrl &url, qint64 limit, const Validators &validators,
    const std::function<void(const FetchAnswer &)> &done)
{
    m_url = url;
    m_limit = limit;
    m_validators = validators;
    m_done = done;
    m_tries = 0;
    m_waitedRetryAfter = false;
    start();
}

void Fetcher::cancel()
{
    ++m_generation;
    m_done = {};
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void Fetcher::again(int delayMs)
{
    const int generation = m_generation;
    QTimer::singleShot(delayMs, this, [this, generation] {
        if (generation == m_generation)
            start();
    });
}

void Fetcher::start()
{
    QElapsedTimer &last = m_lastStart[m_url.host()];
    if (last.isValid() && last.elapsed() < m_timing.spacingMs) {
        again(int(m_timing.spacingMs - last.elapsed()));
        return;
    }
    last.start();
    ++m_tries;
    ++m_sent;
    m_redirects = 0;
    m_body.clear();
    m_refused.clear();
    m_tlsFailure.clear();

    QNetworkRequest request(m_url);
    request.setHeader(QNetworkRequest::UserAgentHeader,
        u"%1/%2"_s.arg(QStringView(ApplicationTitle), QStringView(ApplicationVersion)));
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // One more than the program follows, so that the program, not Qt, tells the one too many.
    request.setMaximumRedirectsAllowed(MostRedirects + 1);
    request.setTransferTimeout(m_timing.timeoutMs);
    if (!m_validators.etag.isEmpty())
        request.setRawHeader("If-None-Match", m_validators.etag);
    if (!m_validators.lastModified.isEmpty())
        request.setRawHeader("If-Modified-Since", m_validators.lastModified);
    emit requestStarted(m_url);

    QNetworkReply *reply = m_manager->get(request);
    m_reply = reply;
    const auto refuse = [this, reply](const QString &why) {
        m_refused = why;
        reply->abort();
    };
    connect(reply, &QNetworkReply::redirected, this, [this, refuse](const QUrl &to) {
        if (to.scheme() != u"http" && to.scheme() != u"https")
            refuse(u"取得元が http でも https でもないアドレスへ転送しようとしました（%1）"_s.arg(
                AddressText(to)));
        else if (++m_redirects > MostRedirects)
            refuse(u"転送が %1 回を超えました"_s.arg(MostRedirects));
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply, refuse] {
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (length > m_limit)
            refuse(tooLarge());
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, refuse] {
        if (!take(reply))
            refuse(tooLarge());
    });
    connect(reply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError> &errors) {
        QStringList texts;
        for (const QSslError &error : errors)
            texts << error.errorString();
        m_tlsFailure = texts.join(u"、"_s);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
}

bool Fetcher::take(QNetworkReply *reply)
{
    m_body += reply->read(m_limit + 1 - m_body.size());
    return m_body.size() <= m_limit;
}

QString Fetcher::tooLarge() const
{
    return u"応答が大きすぎます（%1 を超えます）"_s.arg(Size(m_limit));
}

void Fetcher::finish(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    if (m_refused.isEmpty() && !take(reply))
        m_refused = tooLarge();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    FetchAnswer result;
    result.status = status;
    const auto retried = [&] {
        if (m_tries >= MostTries)
            return false;
        again(m_timing.retryDelaysMs[std::size_t(m_tries - 1)]);
        return true;
    };

    if (!m_refused.isEmpty()) {
        result.failure = m_refused;
    } else if (!m_tlsFailure.isEmpty()) {
        result.failure = u"取得元の証明書を確かめられません（%1）"_s.arg(m_tlsFailure);
    } else if (status == 304) {
        result.kind = FetchAnswer::Kind::NotModified;
    } else if (status == 404 || status == 410) {
        result.kind = FetchAnswer::Kind::NotFound;
    } else if (const bool page = WebPage(reply, m_body); status == 403 || (status == 200 && page)) {
        result.failure = page
            ? u"取得元が CSV ではなくウェブページを返しました（HTTP %1）。取得元の設定を確認してください"_s
                  .arg(status)
            : u"取得元が取得を断りました（HTTP 403）。取得元の設定を確認してください"_s;
    } else if (status == 429 || status == 503) {
        const qint64 wait = RetryAfter(reply);
        if (wait >= 0 && wait <= m_timing.mostRetryAfterS && !m_waitedRetryAfter) {
            m_waitedRetryAfter = true;
            --m_tries;
            again(int(wait * 1000));
            return;
        }
        if (status == 503 && wait < 0 && retried())
            return;
        result.failure = wait > m_timing.mostRetryAfterS
            ? u"取得元が %1 秒待つよう求めています（HTTP %2）。しばらくしてからもう一度取得してください"_s
                  .arg(wait)
                  .arg(status)
            : u"取得元が混み合っています（HTTP %1）。しばらくしてからもう一度取得してください"_s
                  .arg(status);
    } else if (status >= 500) {
        if (retried())
            return;
        result.failure
            = u"取得元でエラーが起きました（HTTP %1、%2 回試しました）"_s.arg(status).arg(
                MostTries);
    } else if (status == 200 && error == QNetworkReply::NoError) {
        result.kind = FetchAnswer::Kind::Body;
        result.body = m_body;
        result.validators = {reply->rawHeader("ETag"), reply->rawHeader("Last-Modified")};
    } else if (error == QNetworkReply::OperationCanceledError
        || error == QNetworkReply::TimeoutError) {
        if (retried())
            return;
        result.failure
            = u"取得元が応答しません（%1 秒、%2 回試しました）"_s.arg(Seconds(m_timing.timeoutMs))
                  .arg(MostTries);
    } else if (error == QNetworkReply::RemoteHostClosedError
        || error == QNetworkReply::UnknownNetworkError) {
        if (retried())
            return;
        result.failure = u"取得元との接続が途中で切れました（%1 回試しました）"_s.arg(MostTries);
    } else if (error == QNetworkReply::TooManyRedirectsError) {
        result.failure = u"転送が %1 回を超えました"_s.arg(MostRedirects);
    } else if (error == QNetworkReply::ProtocolUnknownError
        || error == QNetworkReply::InsecureRedirectError) {
        result.failure = u"取得元が http でも https でもないアドレスへ転送しようとしました"_s;
    } else if (error == QNetworkReply::SslHandshakeFailedError) {
        result.failure = u"取得元との暗号化した接続ができません（%1）"_s.arg(reply->errorString());
    } else if (status > 0) {
        result.failure = u"取得元がエラーを返しました（HTTP %1）"_s.arg(status);
    } else {
        result.failure = u"取得元に接続できません（%1）"_s.arg(reply->errorString());
    }
    answer(result);
}

void Fetcher::answer(const FetchAnswer &answer)
{
    m_reply = nullptr;
    if (const auto done = std::exchange(m_done, {}))
        done(answer);
}
