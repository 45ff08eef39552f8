#include "common/files.h"
#include "common/history.h"
#include "common/httpserver.h"
#include "settings/cp932.h"
#include "update/drawfile.h"
#include "update/resultsupdate.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Answers = std::deque<HttpAnswer>;
Q_DECLARE_METATYPE(Answers)

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
    void savedTicketsGraded();
    void cancelKeepsCompleted();
    void firstFillFromHistory();
};

void tst_Update::drawFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("game");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("read"); // the draw's official fields, or the reason
    const QString loto6 = u"A1022124.CSV"_s;
    const QString loto7 = u"A1030694.CSV"_s;
    const QString mini = u"A1011290.CSV"_s;
    QString read2124 = u"2124,2026/7/30,6,20,29,36,37,41,19,0,8,165,8005,134914,0,8247000,"
                       u"431800,9400,1000,219914692"_s;
    const QString as2019 = QString(read2124).replace(u"2026/7/30"_s, u"2019/5/1"_s);
    const QString unsettled = QString(read2124).replace(u",8247000,"_s, u",,"_s);
    QTest::newRow("loto6") << loto6 << "loto6" << 2124 << ""
                           << "" << read2124;
    QTest::newRow("LF only") << loto6 << "loto6" << 2124 << "\r"
                             << "" << read2124;
    QTest::newRow("loto7, zero-padded, bonuses as drawn")
        << loto7 << "loto7" << 694 << ""
        << ""
        << "694,2026/9/4,2,9,14,21,27,33,36,34,12,1,6,151,6311,100283,153040,600000000,7310300,"
           "670000,9300,1400,1000,1585217804";
    QTest::newRow("miniloto, 平成, no carry-over")
        << mini << "miniloto" << 1290 << ""
        << ""
        << "1290,2019/4/30,3,11,19,24,30,7,0,12,333,10501,0,1523100,13600,1000";
    QTest::newRow("令和元年") << loto6 << "loto6" << 2124 << "令和8年7月30日"
                              << "令和元年5月1日" << as2019;
    QTest::newRow("full-width title digits") << loto6 << "loto6" << 2124 << "第2124回"
                                             << "第２１２４回" << read2124;
    QTest::newRow("prize 未確定") << loto6 << "loto6" << 2124 << "8247000円"
                                  << "未確定" << unsettled;
    QTest::newRow("another game") << loto7 << "loto6" << 694 << ""
                                  << ""
                                  << "第694回のファイルは ロト7 のものです";
    QTest::newRow("another draw") << loto6 << "loto6" << 2125 << ""
                                  << ""
                                  << "第2125回を求めましたが、第2124回のファイルでした";
    QTest::newRow("no code line") << loto6 << "loto6" << 2124 << "A52"
                                  << "<html>"
                                  << "1 行目";
    QTest::newRow("code line too long") << loto6 << "loto6" << 2124 << "A52"
                                        << "A520"
                                        << "1 行目";
    QTest::newRow("no title") << loto6 << "loto6" << 2124 << "第2124回ロト６"
                              << "2124"
                              << "2 行目";
    QTest::newRow("unknown game") << loto6 << "loto6" << 2124 << "ロト６"
                                  << "ビンゴ５"
                                  << "「ビンゴ5」を名乗ります";
    QTest::newRow("令和 before its first day") << loto6 << "loto6" << 2124 << "令和8年7月30日"
                                               << "令和元年4月30日"
                                               << "抽せん日が読めません";
    QTest::newRow("平成 after its last day") << mini << "miniloto" << 1290 << "平成31年4月30日"
                                             << "平成31年5月1日"
                                             << "抽せん日が読めません";
    QTest::newRow("no bonus") << loto6 << "loto6" << 2124 << ",ボーナス数字,19"
                              << ""
                              << "本数字とボーナス数字が 6 個と 1 個ではありません";
    QTest::newRow("one bonus of two") << loto7 << "loto7" << 694 << ",34,12"
                                      << ",34"
                                      << "本数字とボーナス数字が 7 個と 2 個ではありません";
    QTest::newRow("number past the range") << loto6 << "loto6" << 2124 << ",41,"
                                           << ",44,"
                                           << "第2124回：";
    QTest::newRow("bonus among the numbers") << loto6 << "loto6" << 2124 << "数字,19"
                                             << "数字,41"
                                             << "第2124回：";
    QTest::newRow("count that is no number") << loto6 << "loto6" << 2124 << "165口"
                                             << "多数"
                                             << "第2124回の3等「多数,431800円」が読めません";
    QTest::newRow("empty") << loto6 << "loto6" << 2124 << Cp932::decode(Sample(loto6)) << ""
                           << "1 行目";
}

void tst_Update::drawFile()
{
    QFETCH(QString, file);
    QFETCH(QString, game);
    QFETCH(int, number);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, read);
    const Game &played = *FindGame(game);
    const DrawFileRead result
        = ReadDrawFile(played, number, from.isEmpty() ? Sample(file) : Edited(file, from, to));
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
    QTest::addColumn<QString>("user"); // nmr-sources.ini
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("source"); // index | the draw 2124's address | first | history
    QTest::addColumn<QString>("faults");
    const QString shipped6 = u"https://www.mizuhobank.co.jp/retail/takarakuji/loto/loto6/csv/"_s;
    const QString index6
        = shipped6 + u"loto6.csv https://www.mizuhobank.co.jp/takarakuji/apl/txt/loto6/name.txt"_s;
    QTest::newRow("shipped loto6") << ""
                                   << "loto6" << index6 + " | " + shipped6 + "A1022124.CSV | 461 | "
                                   << "";
    QTest::newRow("shipped loto7")
        << ""
        << "loto7"
        << "https://www.mizuhobank.co.jp/retail/takarakuji/loto/loto7/csv/loto7.csv "
           "https://www.mizuhobank.co.jp/takarakuji/apl/txt/loto7/name.txt | "
           "https://www.mizuhobank.co.jp/retail/takarakuji/loto/loto7/csv/A1032124.CSV | 1 | "
        << "";
    QTest::newRow("shipped miniloto")
        << ""
        << "miniloto"
        << "https://www.mizuhobank.co.jp/retail/takarakuji/loto/miniloto/csv/miniloto.csv "
           "https://www.mizuhobank.co.jp/takarakuji/apl/txt/miniloto/name.txt | "
           "https://www.mizuhobank.co.jp/retail/takarakuji/loto/miniloto/csv/A1012124.CSV | 521 | "
        << "";
    QTest::newRow("one key overridden, the others kept")
        << "[loto6]\r\nDraw = http://example.jp/{draw}.csv\r\n; a "
           "comment\r\nHistory=https://example.jp/all.csv"
        << "loto6" << index6 + " | http://example.jp/2124.csv | 461 | https://example.jp/all.csv"
        << "";
    QTest::newRow("section by name, keys in any case")
        << "[ロト6]\nfirstdraw=1000\nINDEX=http://a.jp/i"
        << "loto6"
        << "http://a.jp/i | " + shipped6 + "A1022124.CSV | 1000 | "
        << "";
    QTest::newRow("unknown key told")
        << "[loto6]\nIndexes=http://a.jp/i"
        << "loto6" << index6 + " | " + shipped6 + "A1022124.CSV | 461 | "
        << "nmr-sources.ini 2 行目：知らないキー「Indexes」です（Index, Draw, FirstDraw, History）";
    QTest::newRow("unknown section told once")
        << "[bingo5]\nIndex=http://a.jp/i\nDraw=http://a.jp/{draw}"
        << "loto6" << index6 + " | " + shipped6 + "A1022124.CSV | 461 | "
        << "nmr-sources.ini 1 行目：知らないゲーム「[bingo5]」です（loto6|loto7|miniloto）";
    QTest::newRow("key outside a section")
        << "Index=http://a.jp/i"
        << "loto6" << index6 + " | " + shipped6 + "A1022124.CSV | 461 | "
        << "nmr-sources.ini 1 行目：ゲームの節（[loto6] など）の外にあります";
    QTest::newRow("file: and ftp: refused, https kept")
        << "[loto6]\nIndex=file:///etc/passwd https://a.jp/i ftp://a.jp/i"
        << "loto6"
        << "https://a.jp/i | " + shipped6 + "A1022124.CSV | 461 | "
        << "nmr-sources.ini 2 行目：http か https のアドレスではありません：file:///etc/passwd\n"
           "nmr-sources.ini 2 行目：http か https のアドレスではありません：ftp://a.jp/i";
    QTest::newRow("draw without its number")
        << "[loto6]\nDraw=https://a.jp/latest.csv"
        << "loto6" << index6 + " | " + shipped6 + "A1022124.CSV | 461 | "
        << "nmr-sources.ini 2 行目：回の番号 {draw} または {draw:4} "
           "がありません：https://a.jp/latest.csv";
    QTest::newRow("first draw not a number")
        << "[loto6]\nFirstDraw=-1\nnoequals"
        << "loto6" << index6 + " | " + shipped6 + "A1022124.CSV | 461 | "
        << "nmr-sources.ini 2 行目：回の番号ではありません：-1\nnmr-sources.ini 3 "
           "行目：「キー=値」の形ではありません";
}

void tst_Update::sources()
{
    QFETCH(QString, user);
    QFETCH(QString, game);
    QFETCH(QString, source);
    QFETCH(QString, faults);
    const Sources read = ReadSources(ShippedSources(), user.toUtf8(), u"nmr-sources.ini"_s);
    const Source &of = *read.of(*FindGame(game));
    QStringList index;
    for (const QUrl &url : of.index)
        index << url.toString();
    QCOMPARE(u"%1 | %2 | %3 | %4"_s.arg(index.join(u' '), of.drawUrl(2124).toString())
                 .arg(of.firstDraw)
                 .arg(of.history.toString()),
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
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QString>("user"); // more of nmr-sources.ini; {server} for the server
    QTest::addColumn<QString>("told"); // in the problems; none when empty
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("requests"); // to path
    const QByteArray draw = "/A1022124.CSV";
    const QByteArray page = "<!DOCTYPE html>\n<html><body>blocked</body></html>";
    const HttpAnswer ok {200, Sample(u"A1022124.CSV"_s)};
    const QString all = u"2122 2123 2124"_s;
    QTest::newRow("500 then 200") << draw << Answers {{500, "oops"}, ok} << ""
                                  << "" << all << 2;
    QTest::newRow("503 three times") << draw << Answers {{503, ""}} << ""
                                     << "取得元が混み合っています（HTTP 503）"
                                     << "" << 3;
    QTest::newRow("429 with Retry-After waited once")
        << draw << Answers {{429, "", {{"Retry-After", "1"}}}, ok} << ""
        << "" << all << 2;
    QTest::newRow("429 asking too long a wait")
        << draw << Answers {{429, "", {{"Retry-After", "2"}}}} << ""
        << "取得元が 2 秒待つよう求めています（HTTP 429）"
        << "" << 1;
    QTest::newRow("403 with a web page")
        << draw << Answers {{403, page, {{"Content-Type", "text/html"}}}} << ""
        << "取得元が CSV ではなくウェブページを返しました（HTTP "
           "403）。取得元の設定を確認してください（http://127.0.0.1:"
        << "" << 1;
    QTest::newRow("web page where a CSV was expected") << draw << Answers {{200, page}} << ""
                                                       << "ウェブページを返しました（HTTP 200）"
                                                       << "" << 1;
    QTest::newRow("redirect loop") << draw << Answers {{302, "", {{"Location", draw}}}} << ""
                                   << "転送が 5 回を超えました"
                                   << "" << 6;
    QTest::newRow("redirect to file:")
        << draw << Answers {{302, "", {{"Location", "file:///etc/passwd"}}}} << ""
        << "http でも https でもないアドレスへ転送しようとしました"
        << "" << 1;
    QTest::newRow("body cut in the middle")
        << draw << Answers {{200, ok.body, {}, HttpAnswer::Act::CutBody}} << ""
        << "取得元との接続が途中で切れました（3 回試しました）"
        << "" << 3;
    QTest::newRow("body of 2 MiB") << draw << Answers {{200, QByteArray(2 << 20, '1')}} << ""
                                   << "応答が大きすぎます（1 MiB を超えます）"
                                   << "" << 1;
    QTest::newRow("server that never answers")
        << draw << Answers {{200, {}, {}, HttpAnswer::Act::Silent}} << ""
        << "取得元が応答しません（0.4 秒、3 回試しました）"
        << "" << 3;
    QTest::newRow("draw file of another game")
        << draw << Answers {{200, Sample(u"A1030694.CSV"_s)}} << ""
        << "第694回のファイルは ロト7 のものです"
        << "2122 2123" << 1;
    QTest::newRow("draw not published yet") << draw << Answers {{404, ""}} << ""
                                            << ""
                                            << "2122 2123" << 1;
    QTest::newRow("first index gone, the next answers")
        << QByteArray("/gone.txt") << Answers {{404, ""}}
        << "Index={server}/gone.txt {server}/loto6.csv"
        << "" << all << 1;
    QTest::newRow("index a web page")
        << QByteArray("/loto6.csv") << Answers {{200, page, {{"Content-Type", "text/html"}}}} << ""
        << "ウェブページを返しました"
        << "" << 1;
    QTest::newRow("index listing nothing")
        << QByteArray("/loto6.csv") << Answers {{200, "hello"}} << ""
        << "一覧にロト6の回が見つかりません"
        << "" << 1;
}

void tst_Update::faults()
{
    QFETCH(QByteArray, path);
    QFETCH(Answers, answers);
    QFETCH(QString, user);
    QFETCH(QString, told);
    QFETCH(QString, stored);
    QFETCH(int, requests);
    HttpServer server;
    serveDraws(server);
    server.answerInTurn(path, answers);
    History history(freshDatabase());
    const GameUpdate update = check(
        history, ServedSources(server, user.replace(u"{server}"_s, server.url({}).toString())));
    QVERIFY2(update.problems.join(u'\n').contains(told), qPrintable(update.problems.join(u'\n')));
    QCOMPARE(update.problems.isEmpty(), told.isEmpty());
    QCOMPARE(update.failed, !told.isEmpty());
    QCOMPARE(Joined(storedNumbers(history)), stored);
    QCOMPARE(server.paths().count(path), requests);
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
    HttpServer server(true);
    serveDraws(server);
    History history(freshDatabase());
    const GameUpdate update = check(history, ServedSources(server));
    QVERIFY2(update.problems.join(u'\n').contains(u"取得元の証明書を確かめられません"_s),
        qPrintable(update.problems.join(u'\n')));
    QVERIFY(update.failed);
    QVERIFY(history.draws().empty());
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
            {1, 2, 6, 19, 20, 29}}));
    QVERIFY(history.saveTickets(2125, {{1, 2, 3, 4, 5, 6}}));
    const GameUpdate update = check(history, ServedSources(server));
    QCOMPARE(update.grades.join(u'\n'),
        u"第2124回：保存した券 5 枚のうち 2等 1 枚、4等 1 枚、5等 2 枚"_s);
    QVERIFY(history.saveTickets(2123, {{1, 2, 3, 4, 5, 8}}));
    server.answer("/loto6.csv", {200, Cp932::encode(u"第2123回ロト６"_s)});
    QCOMPARE(check(history, ServedSources(server)).grades.join(u'\n'), QString());
}

void tst_Update::cancelKeepsCompleted()
{
    HttpServer server;
    serveDraws(server);
    History history(freshDatabase());
    const GameUpdate update = check(history, ServedSources(server), [](ResultsUpdate &update) {
        connect(&update, &ResultsUpdate::progressed, &update, [&update](const QString &, int done) {
            if (done == 2)
                update.cancel();
        });
    });
    QVERIFY(update.cancelled);
    QCOMPARE(update.summary(), u"ロト6：新規 2 回（第2123回〜第2124回）、中止しました"_s);
    QCOMPARE(Joined(storedNumbers(history)), u"2123 2124"_s);
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

QTEST_GUILESS_MAIN(tst_Update)
#include "tst_update.moc"
