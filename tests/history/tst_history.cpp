#include "common/files.h"
#include "history/importfile.h"
#include "history/statistics.h"
#include "settings/cp932.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <semaphore>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString official = u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,"
                         u"1等口数,2等口数,3等口数,4等口数,5等口数,1等賞金,2等賞金,3等賞金,"
                         u"4等賞金,5等賞金,キャリーオーバー\r\n"_s;

// "第1回 2000-10-05 02 08 10 13 27 30 +39", with the prizes where the source gave any.
QString shown(const PastDraw &draw)
{
    QString text = u"第%1回 %2"_s.arg(draw.number).arg(draw.date.toString(Qt::ISODate));
    for (const int number : draw.numbers)
        text += u" %1"_s.arg(number, 2, 10, QChar(u'0'));
    text += draw.bonus ? u" +%1"_s.arg(draw.bonus) : QString();
    if (draw.carryOver >= 0 || draw.winners[0] >= 0) {
        for (std::size_t grade = 0; grade < draw.winners.size(); ++grade)
            text += u" %1/%2"_s.arg(draw.winners[grade]).arg(draw.prizes[grade]);
        text += u" c%1"_s.arg(draw.carryOver);
    }
    return text;
}

// What reading a text gives: its draws, then its rejected lines.
QStringList read(const QString &text)
{
    QStringList rejected;
    QStringList all;
    const ReadDraws draws = ReadResults(text, [&](const RejectedLine &line) {
        rejected << u"line %1: %2"_s.arg(line.line).arg(line.reason);
    });
    for (const PastDraw &draw : draws.draws)
        all << shown(draw);
    return all << rejected;
}

} // namespace

class tst_History : public QObject
{
    Q_OBJECT

private slots:
    void decoding_data();
    void decoding();
    void reading_data();
    void reading();
    void storing();
    void unusableDatabases();
    void twoWritersAtOnce();
    void notAFile();
    void statistics();
    void levels_data();
    void levels();
};

void tst_History::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = u"第1回 ア"_s;
    QTest::newRow("UTF-8 with a mark") << "\xEF\xBB\xBF" + text.toUtf8();
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-16LE with a mark")
        << "\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE)(text);
    QTest::newRow("code page 932") << Cp932::encode(text);
}

void tst_History::decoding()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(DecodeResults(bytes), u"第1回 ア"_s);
}

void tst_History::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    const QString first
        = u"1,2000/10/5,2,8,10,13,27,30,39,2,2,262,12413,174452,45513600,40961900,375200,6900,1000,0\r\n"_s;
    QTest::newRow("the official file")
        << official + first
        << QStringList {
               u"第1回 2000-10-05 02 08 10 13 27 30 +39 2/45513600 2/40961900 262/375200 12413/6900 174452/1000 c0"_s};
    QTest::newRow("amounts with separators, 円 and 該当なし")
        << official
            + u"2,2000-10-12,1,2,3,4,5,6,7,該当なし,1,2,3,4,\"1,000円\",2円,3,4,5,\"1,234,567\"\n"_s
        << QStringList {
               u"第2回 2000-10-12 01 02 03 04 05 06 +7 -1/1000 1/2 2/3 3/4 4/5 c1234567"_s};
    QTest::newRow("other names, any order, full-width digits")
        << u"ボーナス数字,数字１,数字2,数字3,数字4,数字5,数字6,抽選日,回号\n9,1,2,3,4,5,6,2000年10月5日,第3回\n"_s
        << QStringList {u"第3回 2000-10-05 01 02 03 04 05 06 +9"_s};
    QTest::newRow("No and 数字B, no date")
        << u"No,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,数字B\n4,6,5,4,3,2,1,\n"_s
        << QStringList {u"第4回  01 02 03 04 05 06"_s};
    QTest::newRow("quoted fields across lines, blank lines")
        << official
            + u"\r\n\"5\",\"2000/10/"
              u"5\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"a\r\nb\"\r\n\r\n6,2000/10/"
              u"5,1,2,3,4,5,99,7\r\n7,2000/10/5,\"1\"\"2\",2,3,4,5,6,7\r\n"_s
        << QStringList {u"第5回 2000-10-05 01 02 03 04 05 06 +7"_s,
               u"line 6: 数字「99」は 1 から 43 までではありません"_s,
               u"line 7: 数字「1\"2」は 1 から 43 までではありません"_s};
    QTest::newRow("pasted, a bonus in parentheses")
        << u"第2097回 2026/4/27 3 20 24 27 34 42 (37)"_s
        << QStringList {u"第2097回 2026-04-27 03 20 24 27 34 42 +37"_s};
    QTest::newRow("pasted, a seventh number, 、 and tabs")
        << u"2098\t2026-05-04、1、2、3、4、5、43、7"_s
        << QStringList {u"第2098回 2026-05-04 01 02 03 04 05 43 +7"_s};
    QTest::newRow("pasted, full-width, no date, no bonus")
        << u"第２０９９回　１　２　３　４　５　６（７）\n2100 1 2 3 4 5 6"_s
        << QStringList {u"第2099回  01 02 03 04 05 06 +7"_s, u"第2100回  01 02 03 04 05 06"_s};
    QTest::newRow("rejected lines")
        << u"1 1 2 3 4 5\n2 0 2 3 4 5 6\n3 1 2 3 4 5 44\n4 1 2 3 4 5 5\n"
           u"5 1 2 3 4 5 6 (6)\n6 1 2 3 4 5 6 (44)\n0 1 2 3 4 5 6\n"
           u"8 2000/2/30 1 2 3 4 5 6\n9 1 2 3 4 5 6 7 8"_s
        << QStringList {u"line 1: 本数字が 6 つではありません"_s,
               u"line 2: 数字「0」は 1 から 43 までではありません"_s,
               u"line 3: 数字「44」は 1 から 43 までではありません"_s,
               u"line 4: 数字 5 が 2 回あります"_s,
               u"line 5: ボーナス数字「6」が正しくありません"_s,
               u"line 6: ボーナス数字「44」が正しくありません"_s,
               u"line 7: 回号が正しくありません"_s, u"line 8: 日付が正しくありません"_s,
               u"line 9: 本数字が 6 つではありません"_s};
    QTest::newRow("a short row") << official + u"7,2000/10/5,1,2,3\r\n"_s
                                 << QStringList {u"line 2: 列が足りません"_s};
}

void tst_History::reading()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(read(text), expected);
}

void tst_History::storing()
{
    // New draws are added, a repeated one is present, one with other numbers is a conflict and
    // never replaces what is stored.
    QTemporaryDir dir;
    HistoryDatabase database(dir.filePath(u"nmr-history.sqlite"_s));
    QVERIFY(database.fault().isEmpty());
    const auto store = [&](const QString &text) {
        const auto stored = database.store(ReadResults(text, [](const RejectedLine &) {}));
        QStringList conflicts;
        for (const RejectedLine &line : stored->conflicts)
            conflicts << u"line %1: %2"_s.arg(line.line).arg(line.reason);
        return QStringList {u"added %1, present %2"_s.arg(stored->added).arg(stored->present)}
        << conflicts;
    };
    QCOMPARE(
        store(official
            + u"1,2000/10/5,2,8,10,13,27,30,39,2,2,262,12413,174452,45513600,40961900,375200,6900,1000,0"_s),
        QStringList {u"added 1, present 0"_s});
    QCOMPARE(store(u"2 1 2 3 4 5 6\n1 2000/10/5 2 8 10 13 27 30\n1 2 8 10 13 27 31"_s),
        (QStringList {u"added 1, present 1"_s, u"line 3: 第1回は別の数字で登録済みです"_s}));
    const std::vector<PastDraw> draws = database.draws();
    QCOMPARE(draws.size(), 2u);
    QCOMPARE(shown(draws[0]),
        u"第1回 2000-10-05 02 08 10 13 27 30 +39 2/45513600 2/40961900 262/375200 12413/6900 174452/1000 c0"_s);
    QCOMPARE(HistoryDatabase(dir.filePath(u"nmr-history.sqlite"_s)).draws(), draws);
}

void tst_History::unusableDatabases()
{
    // A file that is no database, one whose pages are damaged, one that a newer version made
    // and a directory: said, and left as they were.
    QTemporaryDir dir;
    const QString damaged = dir.filePath(u"damaged.sqlite"_s);
    {
        HistoryDatabase made(damaged);
        QString many;
        for (int draw = 1; draw <= 2000; ++draw)
            many += u"%1 1 2 3 4 5 6\n"_s.arg(draw);
        QVERIFY(made.store(ReadResults(many, [](const RejectedLine &) {})));
    }
    QByteArray pages = readFile(damaged);
    QVERIFY(pages.size() > 16384
        && writeFile(damaged, pages.replace(12288, 4096, QByteArray(4096, '\x7f'))));
    const QString garbage = dir.filePath(u"garbage.sqlite"_s);
    QVERIFY(writeFile(garbage, QByteArray(4096, 'x')));
    const QString newer = dir.filePath(u"newer.sqlite"_s);
    {
        HistoryDatabase made(newer);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"newer"_s);
        db.setDatabaseName(newer);
        QVERIFY(db.open()
            && QSqlQuery(db).exec(
                u"PRAGMA user_version = %1"_s.arg(HistoryDatabase::SchemaVersion + 1)));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"newer"_s);
    for (const auto &[path, fault] : {std::pair(garbage, u"は壊れているため使えません。"_s),
             std::pair(damaged, u"は壊れているため使えません。"_s),
             std::pair(newer, u"は新しい版のプログラムで作られたため使えません。"_s),
             std::pair(dir.path(), u"を開けません。"_s)}) {
        const QByteArray before = readFile(path);
        HistoryDatabase database(path);
        QVERIFY2(database.fault().endsWith(fault)
                && database.fault().contains(QDir::toNativeSeparators(path)),
            qPrintable(database.fault()));
        QVERIFY(!database.store(ReadResults(u"1 1 2 3 4 5 6"_s, [](const RejectedLine &) {})));
        QCOMPARE(readFile(path), before);
    }
}

void tst_History::twoWritersAtOnce()
{
    // While another connection holds the write lock, a store waits for it instead of failing.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr-history.sqlite"_s);
    HistoryDatabase database(path);
    std::binary_semaphore locked(0);
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            db.setDatabaseName(path);
            QSqlQuery query(db.open() ? db : QSqlDatabase());
            query.exec(u"BEGIN IMMEDIATE"_s);
            query.exec(
                u"INSERT INTO draws (number, n1, n2, n3, n4, n5, n6) VALUES (7, 1, 2, 3, 4, 5, 6)"_s);
            locked.release();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            query.exec(u"COMMIT"_s);
        }
        QSqlDatabase::removeDatabase(u"other"_s);
    });
    locked.acquire();
    const auto stored = database.store(
        ReadResults(u"8 1 2 3 4 5 6\n7 1 2 3 4 5 6"_s, [](const RejectedLine &) {}));
    other.join();
    QVERIFY(stored);
    QCOMPARE(std::pair(stored->added, stored->present), std::pair(1, 1));
}

void tst_History::notAFile()
{
    // A directory or a FIFO is not read, nor blocked on.
    QTemporaryDir dir;
    HistoryDatabase database(dir.filePath(u"nmr-history.sqlite"_s));
#ifdef Q_OS_UNIX
    QVERIFY(mkfifo(QFile::encodeName(dir.filePath(u"fifo"_s)), 0600) == 0);
#endif
    for (const QString &name : {u"fifo"_s, QString()}) {
        const ImportReport report
            = ImportFile(database, dir.filePath(name), [](const RejectedLine &) {});
        QVERIFY(!report.stored);
        QCOMPARE(ImportSummary(u"x"_s, report), u"x: 読み込めません"_s);
    }
}

void tst_History::statistics()
{
    // Over all three draws, and over the last two: each number's count, how long ago it was
    // last drawn, and its times as the bonus; the expected count and its band.
    const std::vector<PastDraw> draws = ReadResults(
        u"1 1 2 3 4 5 6 (7)\n2 1 2 3 4 5 8 (9)\n3 10 11 12 13 14 15 (1)"_s,
        [](const RejectedLine &) {}).draws;
    QStringList seen;
    for (const int last : {0, 2, 3, 4}) {
        const PeriodStatistics period = StatisticsOf(draws, last);
        seen << u"%1 draws, expected %2 ± %3"_s.arg(period.draws)
                    .arg(period.expected(), 0, 'f', 3)
                    .arg(period.band(), 0, 'f', 3);
        for (const int number : {1, 6, 7, 8, 10, 43}) {
            const NumberStatistics &figures = period.numbers[std::size_t(number - 1)];
            seen << u"%1: %2 %3 %4"_s.arg(number)
                        .arg(figures.drawn)
                        .arg(figures.sinceLast)
                        .arg(figures.asBonus);
        }
    }
    const QStringList all {u"3 draws, expected 0.419 ± 1.200"_s, u"1: 2 1 1"_s, u"6: 1 2 0"_s,
        u"7: 0 -1 1"_s, u"8: 1 1 0"_s, u"10: 1 0 0"_s, u"43: 0 -1 0"_s};
    QCOMPARE(seen,
        QStringList(all) << u"2 draws, expected 0.279 ± 0.980"_s << u"1: 1 1 1"_s << u"6: 0 -1 0"_s
                         << u"7: 0 -1 0"_s << u"8: 1 1 0"_s << u"10: 1 0 0"_s << u"43: 0 -1 0"_s
                         << all << all);
}

void tst_History::levels_data()
{
    // Each number's count as a function of its index i, 0 to 42; the levels by both rules.
    QTest::addColumn<int>("modulus"); // count i % modulus; 1 gives every count 0
    QTest::addColumn<QString>("often");
    QTest::addColumn<QString>("seldom");
    const QString ramp = u"123456789ABCDEF"_s;
    QTest::newRow("all counts equal")
        << 1 << QString(NumberCount, u'8') << QString(NumberCount, u'8');
    QTest::newRow("0 to 14") << 15 << (ramp.repeated(3).left(NumberCount))
                             << u"FEDCBA987654321"_s.repeated(3).left(NumberCount);
    QTest::newRow("0 to 28: halves round up")
        << 29 << u"12233445566778899AABBCCDDEEFF12233445566778"_s
        << u"FFEEDDCCBBAA99887766554433221FFEEDDCCBBAA99"_s;
}

void tst_History::levels()
{
    QFETCH(int, modulus);
    QFETCH(QString, often);
    QFETCH(QString, seldom);
    PeriodStatistics period;
    period.draws = 1;
    for (int i = 0; i < NumberCount; ++i)
        period.numbers[std::size_t(i)].drawn = i % modulus;
    QCOMPARE(LevelsFromHistory(period, LevelRule::OftenDrawnHigher), often);
    QCOMPARE(LevelsFromHistory(period, LevelRule::SeldomDrawnHigher), seldom);
    QVERIFY(!LevelsFromHistory({}, LevelRule::OftenDrawnHigher)); // no draw, no levels
}

QTEST_GUILESS_MAIN(tst_History)
#include "tst_history.moc"
