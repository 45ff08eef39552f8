#include "common/cases.h"
#include "common/files.h"
#include "common/history.h"
#include "common/httpserver.h"
#include "settings/cp932.h"
#include "update/drawfile.h"
#include "update/resultsupdate.h"
#include "update/updatesession.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray Sample(const QString &name)
{
    return readFile(QStringLiteral(NMR_TEST_DATA "/update/") + name);
}

// The sample's text with one piece replaced, in code page 932 as published.
QByteArray Edited(const QString &name, const QString &from, const QString &to)
{
    return Cp932::encode(Cp932::decode(Sample(name)).replace(from, to));
}

// A draw's file in the official layout, for draw `number` of the 6-of-43 game: the numbers of
// the sample shifted by the draw, so that each differs.
QByteArray DrawFile(int number)
{
    const int shift = number % 2;
    return Cp932::encode(
        u"A52\r\n第%1回ロト６,数字選択式全国自治宝くじ,令和8年7月30日\r\n本数字,%2,20,29,36,37,41,ボーナス数字,19\r\n１等,該当なし,該当なし\r\n２等,8口,8247000円\r\n３等,165口,431800円\r\n４等,8005口,9400円\r\n５等,134914口,1000円\r\nキャリーオーバー,0円\r\n"_s
            .arg(number)
            .arg(6 + shift));
}

// Answers as the cases write them: "500 oops | 200 @A1022124.CSV".
std::deque<HttpAnswer> Answered(const QString &text)
{
    std::deque<HttpAnswer> answers;
    for (const QString &written : text.split(u" | "_s)) {
        QStringList tokens = written.split(u' ');
        HttpAnswer &answer = answers.emplace_back(tokens.takeFirst().toInt());
        for (const QString &token : std::as_const(tokens)) {
            if (token == u"cut" || token == u"silent")
                answer.act = token == u"cut" ? HttpAnswer::Act::CutBody : HttpAnswer::Act::Silent;
            else if (token.startsWith(u'@'))
                answer.body = Sample(token.mid(1));
            else if (token.contains(u'='))
                answer.headers.append(
                    {token.section(u'=', 0, 0).toLatin1(), token.section(u'=', 1).toLatin1()});
            else
                answer.body = token == u"page"
                    ? "<!DOCTYPE html>\n<html><body>blocked</body></html>"
                    : token.startsWith(u"size:") ? QByteArray(token.mid(5).toInt(), '1')
                                                 : token.toUtf8();
        }
    }
    return answers;
}

QString Joined(const std::vector<int> &numbers)
{
    QStringList texts;
    for (const int number : numbers)
        texts << QString::number(number);
    return texts.join(u' ');
}

// Short enough for a test, in the same proportions.
constexpr FetchTiming Quick {20, 400, {10, 40}, 1};

} // namespace

class tst_Update : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_databases = 0;

    // The 6-of-43 game's source on the server: an index listing 2122 to 2124, and their files.
    Sources ServedSources(const HttpServer &server, const QString &user = {})
    {
        const QString sources = u"[loto6]\nIndex=%1\nDraw=%2\nFirstDraw=2122\n"_s.arg(
            server.url(u"/loto6.csv"_s).toString(),
            server.url({}).toString() + u"/A102{draw:4}.CSV"_s);
        return ReadSources(ShippedSources(), (sources + user).toUtf8(), u"nmr-sources.ini"_s);
    }

    void serveDraws(HttpServer &server)
    {
        server.answer("/loto6.csv",
            {200, Cp932::encode(u"第2124回ロト６,令和8年7月30日\r\n第2123回ロト６\r\n"_s),
                {{"ETag", "\"v1\""}, {"Last-Modified", "Thu, 30 Jul 2026 12:00:00 GMT"}}});
        for (const int number : {2122, 2123})
            server.answer("/A102" + QByteArray::number(number) + ".CSV", {200, DrawFile(number)});
        server.answer("/A1022124.CSV", {200, Sample(u"A1022124.CSV"_s)});
    }

    // One check of the 6-of-43 game; during is given the update before it starts.
    GameUpdate check(History &history, const Sources &sources,
        const std::function<void(ResultsUpdate &)> &during = {}, FetchTiming timing = Quick)
    {
        ResultsUpdate update(history.database, sources, timing);
        std::optional<GameUpdate> result;
        connect(&update, &ResultsUpdate::finished, this,
            [&](const std::vector<GameUpdate> &updates) { result = updates.at(0); });
        if (during)
            during(update);
        update.start({&Loto6()});
        if (!QTest::qWaitFor([&] { return result.has_value(); }, 20'000))
            qFatal("the check did not finish");
        QTest::qWait(60); // a request made after the end would reach the server
        return *result;
    }

    std::vector<int> storedNumbers(History &history)
    {
        std::vector<int> numbers;
        for (const PastDraw &draw : history.draws())
            numbers.push_back(draw.number);
        return numbers;
    }

    QString freshDatabase() { return m_dir.filePath(u"h%1.sqlite"_s.arg(++m_databases)); }

private slots:
    void drawFile_data();
    void drawFile();
    void newestIndexed_data();
    void newestIndexed();
    void sources_data();
    void sources();
    void fillThenNothingNew();
    void faults_data();
    void faults();
    void conflictKeepsStored();
    void untrustedCertificate();
    void unusableDatabase();
    void savedTicketsGraded();
    void cancelKeepsCompleted();
    void firstFillFromHistory();
    void automaticDue_data();
    void automaticDue();
};

void tst_Update::drawFile_data()
{
    AddCaseRows(u"drawfiles.txt"_s, {"file", "game", "number", "from", "to", "read"});
}

void tst_Update::drawFile()
{
    QFETCH(QString, file);
    QFETCH(QString, game);
    QFETCH(QString, number);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, read);
    const Game &played = *FindGame(game);
    const QByteArray bytes = from == u"*" ? QByteArray()
        : from.isEmpty()                  ? Sample(file)
                                          : Edited(file, from, to);
    const DrawFileRead result = ReadDrawFile(played, number.toInt(), bytes);
    if (result.draw)
        QCOMPARE(DrawFields(played, *result.draw).join(u','), read);
    else
        QVERIFY2(result.reason.contains(read), qPrintable(result.reason));
}

void tst_Update::newestIndexed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("newest");
    QTest::newRow("titles, newest first") << "第2124回ロト６,令和8年7月30日\n第2123回ロト６\n"
                                          << 2124;
    QTest::newRow("file names") << "A1022122.CSV\nA1022124.csv\nA1022123.CSV" << 2124;
    QTest::newRow("both, zero-padded") << "第0461回ロト6\n\"A1020462.CSV\"" << 462;
    QTest::newRow("other games' titles") << "第0694回ロト７\n第1290回ミニロト\n第5回ロト6" << 5;
    QTest::newRow("other games' files") << "A1030694.CSV A1011290.CSV" << 0;
    QTest::newRow("nothing") << "<html><body>moved</body></html>" << 0;
    QTest::newRow("past the last draw number")
        << "第2000000回ロト6 A1022000000.CSV 第12回ロト6" << 12;
}

void tst_Update::newestIndexed()
{
    QFETCH(QString, text);
    QFETCH(int, newest);
    QCOMPARE(NewestIndexedDraw(Loto6(), u"A102"_s, text), newest);
}

void tst_Update::sources_data()
{
    AddCaseRows(u"sources.txt"_s, {"user", "game", "source", "faults"});
}

void tst_Update::sources()
{
    QFETCH(QString, user);
    QFETCH(QString, game);
    QFETCH(QString, source);
    QFETCH(QString, faults);
    const Sources read = ReadSources(ShippedSources(), user.toUtf8(), u"nmr-sources.ini"_s);
    const Source &of = *read.of(*FindGame(game));
    // The shipped addresses by their scheme and file name: the tests name no site but their own.
    const auto shown = [](const QUrl &url) {
        return url.host() == u"127.0.0.1" || url.isEmpty()
            ? url.toString()
            : url.scheme() + u"…/"_s + url.fileName();
    };
    QStringList index;
    for (const QUrl &url : of.index)
        index << shown(url);
    QCOMPARE(u"%1 | %2 | %3 | %4"_s.arg(index.join(u' '), shown(of.drawUrl(2124)))
                 .arg(of.firstDraw)
                 .arg(shown(of.history)),
        source);
    QCOMPARE(read.faults.join(u'\n'), faults);
}

void tst_Update::fillThenNothingNew()
{
    HttpServer server;
    serveDraws(server);
    History history(freshDatabase());
    const Sources sources = ServedSources(server);
    FetchTiming polite = Quick;
    polite.spacingMs = 150;
    const GameUpdate first = check(history, sources, {}, polite);
    for (std::size_t i = 1; i < server.requests.size(); ++i)
        QCOMPARE_GE(server.requests[i].at - server.requests[i - 1].at, 100);
    QCOMPARE(first.summary(), u"ロト6：新規 3 回（第2122回〜第2124回）、最新です"_s);
    QCOMPARE(Joined(first.added), u"2124 2123 2122"_s);
    QCOMPARE(Joined(storedNumbers(history)), u"2122 2123 2124"_s);
    QCOMPARE(server.paths().join(' '), "/loto6.csv /A1022124.CSV /A1022123.CSV /A1022122.CSV");
    QCOMPARE(server.requests[0].headers.value("user-agent").left(13), "Numerisphere/");
    QVERIFY(!server.requests[0].headers.contains("if-none-match"));
    QCOMPARE(LastSourceCheck(history.database, Loto6()).value->brought, first.summary());

    // Nothing new: one conditional request, answered by 304.
    server.requests.clear();
    server.answer("/loto6.csv", {304, {}});
    const GameUpdate second = check(history, sources);
    QCOMPARE(second.summary(), u"ロト6：新規 0 回、最新です"_s);
    QCOMPARE(server.paths().join(' '), "/loto6.csv");
    QCOMPARE(server.requests[0].headers.value("if-none-match"), "\"v1\"");
    QCOMPARE(
        server.requests[0].headers.value("if-modified-since"), "Thu, 30 Jul 2026 12:00:00 GMT");
    QCOMPARE(Joined(storedNumbers(history)), u"2122 2123 2124"_s);
    const std::optional<SourceCheck> last = LastSourceCheck(history.database, Loto6()).value;
    QCOMPARE(last->newest, 2124);
    QCOMPARE(last->validators.etag, "\"v1\"");
}

void tst_Update::faults_data()
{
    AddCaseRows(u"fetchfaults.txt"_s, {"path", "answers", "user", "told", "stored", "requests"});
}

void tst_Update::faults()
{
    QFETCH(QString, path);
    QFETCH(QString, answers);
    QFETCH(QString, user);
    QFETCH(QString, told);
    QFETCH(QString, stored);
    QFETCH(QString, requests);
    HttpServer server;
    serveDraws(server);
    server.answerInTurn(path.toLatin1(), Answered(answers));
    History history(freshDatabase());
    const GameUpdate update = check(
        history, ServedSources(server, user.replace(u"{server}"_s, server.url({}).toString())));
    QVERIFY2(update.problems.join(u'\n').contains(told), qPrintable(update.problems.join(u'\n')));
    QCOMPARE(update.problems.isEmpty(), told.isEmpty());
    QCOMPARE(update.failed, !told.isEmpty());
    QCOMPARE(Joined(storedNumbers(history)), stored);
    QCOMPARE(server.paths().count(path.toLatin1()), requests.toInt());
}

void tst_Update::conflictKeepsStored()
{
    HttpServer server;
    serveDraws(server);
    History history(freshDatabase());
    ReadDraws mine;
    mine.draws = {ReadDrawFile(Loto6(), 2124,
        Edited(u"A1022124.CSV"_s, u",06,"_s, u",05,"_s)
            .replace(Cp932::encode(u"8247000円"_s), Cp932::encode(u"未確定"_s)))
                      .draw.value()};
    mine.lines = {1};
    QVERIFY(history.store(mine, u"test"_s));
    const GameUpdate update = check(history, ServedSources(server));
    QVERIFY2(update.problems.join(u'\n').contains(
                 u"第2124回が保存済みの結果と違うので、保存済みのままにしました"_s),
        qPrintable(update.problems.join(u'\n')));
    QCOMPARE(Joined(update.added), u"2123 2122"_s);
    QCOMPARE(history.draws().back().numbers.front(), 5);
}

void tst_Update::untrustedCertificate()
{
    // The index over TLS with a certificate nobody trusts is refused; the next index, over plain
    // HTTP on another server, then answers as if nothing had failed before it.
    HttpServer trusting(true);
    HttpServer server;
    serveDraws(server);
    History history(freshDatabase());
    const GameUpdate update = check(history,
        ServedSources(server,
            u"Index=%1 %2\n"_s.arg(
                trusting.url(u"/loto6.csv"_s).toString(), server.url(u"/loto6.csv"_s).toString())));
    QVERIFY(trusting.requests.empty());
    QCOMPARE(Joined(storedNumbers(history)), u"2122 2123 2124"_s);
    QVERIFY(!update.failed);
    History refused(freshDatabase());
    const GameUpdate alone = check(refused,
        ServedSources(server, u"Index=%1\n"_s.arg(trusting.url(u"/loto6.csv"_s).toString())));
    QVERIFY2(alone.problems.join(u'\n').contains(u"取得元の証明書を確かめられません"_s),
        qPrintable(alone.problems.join(u'\n')));
    QVERIFY(alone.failed && refused.draws().empty());
}

void tst_Update::unusableDatabase()
{
    HttpServer server;
    serveDraws(server);
    const QString folder = freshDatabase();
    QVERIFY(QDir().mkpath(folder));
    History history(folder);
    const GameUpdate update = check(history, ServedSources(server));
    QVERIFY(update.failed);
    QCOMPARE(update.problems, QStringList {u"ロト6："_s + history.fault()});
    QVERIFY(server.requests.empty());
}

void tst_Update::savedTicketsGraded()
{
    HttpServer server;
    serveDraws(server);
    History history(freshDatabase());
    // 2124 drew 06 20 29 36 37 41 and 19.
    QVERIFY(history.saveTickets(2124,
        {{6, 19, 20, 29, 36, 37}, {1, 2, 3, 6, 20, 29}, {2, 3, 6, 20, 29, 36}, {1, 2, 3, 4, 5, 7},
            {1, 2, 6, 19, 20, 29}, {6, 20, 29, 36, 37, 41}}));
    QVERIFY(history.saveTickets(2125, {{1, 2, 3, 4, 5, 6}}));
    const GameUpdate update = check(history, ServedSources(server));
    QCOMPARE(update.grades.join(u'\n'),
        u"第2124回：保存した券 6 枚のうち 1等 1 枚、2等 1 枚、4等 1 枚、5等 2 枚"_s);
    QVERIFY(history.saveTickets(2123, {{1, 2, 3, 4, 5, 8}}));
    server.answer("/loto6.csv", {200, Cp932::encode(u"第2123回ロト６"_s)});
    QCOMPARE(check(history, ServedSources(server)).grades.join(u'\n'), QString());
}

void tst_Update::cancelKeepsCompleted()
{
    HttpServer server;
    serveDraws(server);
    History history(freshDatabase());
    FetchTiming prompt = Quick;
    prompt.spacingMs = 0;
    const GameUpdate update = check(
        history, ServedSources(server),
        [](ResultsUpdate &update) {
            connect(
                &update, &ResultsUpdate::progressed, &update, [&update](const QString &, int done) {
                    if (done == 2)
                        update.cancel();
                });
        },
        prompt);
    QVERIFY(update.cancelled);
    QCOMPARE(update.summary(), u"ロト6：新規 2 回（第2123回〜第2124回）、中止しました"_s);
    QCOMPARE(Joined(storedNumbers(history)), u"2123 2124"_s);
    QCOMPARE(server.paths().join(' '), "/loto6.csv /A1022124.CSV /A1022123.CSV");
}

void tst_Update::firstFillFromHistory()
{
    HttpServer server;
    serveDraws(server);
    server.answer("/all.csv",
        {200,
            Cp932::encode(
                u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字\r\n"
                u"2121,2026/7/20,1,2,3,4,5,6,7\r\n2122,2026/7/30,6,20,29,36,37,41,19\r\n"_s)});
    History history(freshDatabase());
    const QString user = u"History=%1\n"_s.arg(server.url(u"/all.csv"_s).toString());
    const GameUpdate update = check(history, ServedSources(server, user));
    QCOMPARE(
        server.paths().join(' '), "/all.csv /loto6.csv /A1022124.CSV /A1022123.CSV /A1022122.CSV");
    // 2122 came from the whole history without its prizes, and its own file completed it.
    QCOMPARE(update.problems.join(u'\n'), QString());
    QCOMPARE(update.summary(),
        u"ロト6：新規 4 回（第2121回〜第2124回）、補完 1 回（第2122回）、最新です"_s);
    QCOMPARE(Joined(storedNumbers(history)), u"2121 2122 2123 2124"_s);
}

void tst_Update::automaticDue_data()
{
    QTest::addColumn<qint64>("checkedAgo"); // seconds before now; none when 0
    QTest::addColumn<bool>("unreadable");
    QTest::addColumn<bool>("due");
    const qint64 interval = UpdateSession::AutomaticIntervalS;
    QTest::newRow("never checked") << qint64(0) << false << true;
    QTest::newRow("checked just inside six hours") << interval - 1 << false << false;
    QTest::newRow("checked six hours ago") << interval << false << true;
    QTest::newRow("stamped after now, the clock set back") << qint64(-60) << false << true;
    QTest::newRow("a database that cannot be read") << qint64(0) << true << false;
}

void tst_Update::automaticDue()
{
    QFETCH(qint64, checkedAgo);
    QFETCH(bool, unreadable);
    QFETCH(bool, due);
    const QString path = freshDatabase();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (unreadable)
        QVERIFY(QDir().mkpath(path));
    else if (checkedAgo != 0) {
        HistoryDatabase database(path);
        SourceCheck check;
        check.time = now.addSecs(-checkedAgo);
        check.address = QUrl(u"http://127.0.0.1/index.txt"_s);
        check.brought = u"ミニロト：新規 0 回、最新です"_s;
        QVERIFY(!NoteSourceCheck(database, MiniLoto(), check));
    }
    QCOMPARE(UpdateSession(path, {}).automaticDue(now), due);
}

QTEST_GUILESS_MAIN(tst_Update)
#include "tst_update.moc"
