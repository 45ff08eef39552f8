#include "common/cases.h"
#include "common/files.h"
#include "common/history.h"
#include "engine/draw.h"
#include "history/chartgeometry.h"
#include "history/drawsmodel.h"
#include "history/exportresults.h"
#include "history/importfile.h"
#include "history/migrations.h"
#include "history/statistics.h"
#include "history/statisticsmodel.h"
#include "settings/cp932.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>
#include <random>
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
const QString loto7Header
    = u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,"
      u"BONUS数字1,BONUS数字2,1等口数,2等口数,3等口数,4等口数,5等口数,6等口数,"
      u"1等賞金,2等賞金,3等賞金,4等賞金,5等賞金,6等賞金,キャリーオーバー\r\n"_s;
const QString miniHeader = u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,BONUS数字,1等口数,"
                           u"2等口数,3等口数,4等口数,1等賞金,2等賞金,3等賞金,4等賞金"_s;

// "第1回 2000-10-05 02 08 10 13 27 30 +39", with the prizes where the source gave any.
QString shown(const PastDraw &draw, const Game &game = Loto6())
{
    QString text = u"第%1回 %2"_s.arg(draw.number).arg(draw.date.toString(Qt::ISODate));
    for (const int number : draw.numbers)
        text += u" %1"_s.arg(number, 2, 10, QChar(u'0'));
    for (const int bonus : draw.bonuses)
        text += u" +%1"_s.arg(bonus);
    if (draw.carryOver >= 0 || draw.winners[0] >= 0) {
        for (std::size_t grade = 0; grade < std::size_t(game.gradeCount()); ++grade)
            text += u" %1/%2"_s.arg(draw.winners[grade]).arg(draw.prizes[grade]);
        text += u" c%1"_s.arg(draw.carryOver);
    }
    return text;
}

// What reading a text gives: its draws, then its rejected lines.
QStringList read(const QString &text, const Game &game = Loto6())
{
    QStringList rejected;
    QStringList all;
    const ReadDraws draws = ReadResults(game, text, [&](const RejectedLine &line) {
        rejected << u"line %1: %2"_s.arg(line.line).arg(line.reason);
    });
    for (const PastDraw &draw : draws.draws)
        all << shown(draw, game);
    if (!draws.refused.isEmpty())
        all << draws.refused;
    return all << rejected;
}

// Reads a text into the database; nothing rejected is expected unless it says so.
std::optional<DrawStore::Stored> store(History &database, const QString &text)
{
    return database.store(ReadResults(Loto6(), text, [](const RejectedLine &) {}), u"test"_s);
}

// A database with one draw in it.
bool StoreOne(const QString &path)
{
    History database(path);
    return database
        .store(ReadResults(Loto6(), u"第1回 1 2 3 4 5 6"_s, [](const RejectedLine &) {}), u"test"_s)
        .has_value();
}

// A database file made by hand: its SQL run on a connection of its own.
bool makeDatabase(const QString &path, const QStringList &statements)
{
    bool done = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"by hand"_s);
        db.setDatabaseName(path);
        QSqlQuery query(db.open() ? db : QSqlDatabase());
        for (const QString &statement : statements)
            done = done && query.exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(u"by hand"_s);
    return done;
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
    void readingGames_data();
    void readingGames();
    void wholeHistories_data();
    void wholeHistories();
    void gameShapesChecked_data();
    void gameShapesChecked();
    void storedDrawFaults_data();
    void storedDrawFaults();
    void storing();
    void unusableDatabases();
    void valuesReadBack_data();
    void valuesReadBack();
    void readErrors();
    void ticketChanged();
    void climbs_data();
    void climbs();
    void importReasons_data();
    void importReasons();
    void twoWritersAtOnce();
    void busyIsNotBroken();
    void statistics();
    void missingDraws_data();
    void missingDraws();
    void missingWithin_data();
    void missingWithin();
    void levels_data();
    void levels();
    void levelsWithinChance_data();
    void levelsWithinChance();
    void exportReadsBack();
    void drawFields_data();
    void drawFields();
    void statisticsSorted_data();
    void statisticsSorted();
    void drawsSorted();
    void csvSuffix_data();
    void csvSuffix();
    void chartScale_data();
    void chartScale();
};

void tst_History::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = u"第1回 ア"_s;
    QTest::newRow("UTF-8 with a mark") << "\xEF\xBB\xBF" + text.toUtf8();
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-16LE with a mark")
        << "\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE)(text);
    QTest::newRow("UTF-16BE with a mark")
        << "\xFE\xFF" + QStringEncoder(QStringConverter::Utf16BE)(text);
    QTest::newRow("code page 932") << Cp932::encode(text);
}

void tst_History::decoding()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(DecodeResults(bytes), u"第1回 ア"_s);
}

void tst_History::reading_data()
{
    AddCaseRows(u"reading.txt"_s, {"text"}, "expected");
}

void tst_History::reading()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(read(text), expected);
}

void tst_History::readingGames_data()
{
    AddCaseRows(u"reading-games.txt"_s, {"game", "text"}, "expected");
}

void tst_History::readingGames()
{
    QFETCH(QString, game);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(read(text, *FindGame(game)), expected);
}

void tst_History::wholeHistories_data()
{
    // A game's whole history in its official layout, as long as the real one, in each encoding.
    QTest::addColumn<QString>("game");
    QTest::addColumn<int>("draws");
    QTest::addColumn<bool>("codePage932");
    QTest::newRow("Loto 7, 700 draws, code page 932") << u"loto7"_s << 700 << true;
    QTest::newRow("Loto 7, 700 draws, UTF-8") << u"loto7"_s << 700 << false;
    QTest::newRow("Mini Loto, 1,350 draws, code page 932") << u"miniloto"_s << 1350 << true;
    QTest::newRow("Mini Loto, 1,350 draws, UTF-8") << u"miniloto"_s << 1350 << false;
}

void tst_History::wholeHistories()
{
    // Every column of every draw is read exact: bonus numbers in draw order, dates padded and
    // not, counts and amounts past 2^31; the game is told from the header; stored and
    // exported, the file reads back to the same draws.
    QFETCH(QString, game);
    QFETCH(int, draws);
    QFETCH(bool, codePage932);
    const Game &rules = *FindGame(game);
    QRandomGenerator random(draws);
    std::vector<PastDraw> expected;
    QString text = game == u"loto7"_s ? loto7Header : miniHeader + u",EOF\r\n"_s;
    for (int number = 1; number <= draws; ++number) {
        PastDraw &draw = expected.emplace_back();
        draw.number = number;
        draw.date = QDate(1999, 4, 8).addDays(7 * number);
        std::vector<int> all(std::size_t(rules.numbers));
        std::iota(all.begin(), all.end(), 1);
        std::shuffle(all.begin(), all.end(), random);
        draw.numbers = Numbers(std::span(all).first(std::size_t(rules.drawn)));
        draw.numbers.sort();
        draw.bonuses
            = Numbers(std::span(all).subspan(std::size_t(rules.drawn), std::size_t(rules.bonuses)));
        QStringList fields {QString::number(number),
            draw.date.toString(number % 2 ? u"yyyy/M/d"_s : u"yyyy/MM/dd"_s)};
        for (const int each : draw.numbers)
            fields << QString::number(each);
        for (const int each : draw.bonuses)
            fields << QString::number(each);
        for (int grade = 0; grade < rules.gradeCount(); ++grade)
            fields << QString::number(draw.winners[std::size_t(grade)] = random.bounded(1'000'000));
        for (int grade = 0; grade < rules.gradeCount(); ++grade)
            fields << QString::number(draw.prizes[std::size_t(grade)]
                = qint64(random.bounded(1'000'000)) * (grade + 1) * 1000);
        if (rules.carryOver)
            fields << QString::number(draw.carryOver = qint64(random.bounded(20'000'000)) * 1000);
        text += fields.join(u',') + u"\r\n"_s;
    }
    const QByteArray bytes = codePage932 ? Cp932::encode(text) : text.toUtf8();
    const QString decoded = DecodeResults(bytes);
    QCOMPARE(ResultsGame(decoded), &rules);
    QStringList rejected;
    const ReadDraws read = ReadResults(rules, decoded, [&](const RejectedLine &line) {
        rejected << u"line %1: %2"_s.arg(line.line).arg(line.reason);
    });
    QCOMPARE(rejected, QStringList());
    QCOMPARE(read.draws, expected);

    QTemporaryDir dir;
    History database(dir.filePath(u"nmr-history.sqlite"_s));
    database.drawStore.setGame(rules);
    QVERIFY(database.store(read, u"t"_s));
    QCOMPARE(database.draws(), expected);
    const QString exported = DrawsCsv(rules, database.draws());
    QCOMPARE(ReadResults(rules, exported, [](const RejectedLine &) { QFAIL("rejected"); }).draws,
        expected);
    database.drawStore.setGame(Loto6());
    QVERIFY(database.draws().empty());
}

void tst_History::gameShapesChecked_data()
{
    AddCaseRows(u"game-shapes.txt"_s, {"table", "values", "taken"});
}

void tst_History::gameShapesChecked()
{
    QFETCH(QString, table);
    QFETCH(QString, values);
    QFETCH(QString, taken);
    QTemporaryDir dir;
    History database(dir.filePath(u"nmr-history.sqlite"_s));
    QVERIFY(database.draws().empty());
    QSqlQuery query(database.database.connection());
    const QString columns = table == u"draws"_s
        ? u"game, number, n1, n2, n3, n4, n5, n6, n7, bonus, bonus2, winners5, prize6, carry_over"_s
        : u"game, draw, line, n1, n2, n3, n4, n5, n6, n7"_s;
    QCOMPARE(query.exec(u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table, columns, values)),
        taken == u"taken"_s);
}

void tst_History::storedDrawFaults_data()
{
    // A draw as a store gives it back, judged against its game's shape: the numbers, the bonus
    // numbers, and a figure given for a grade (winners, by grade from 1) or a carry-over.
    QTest::addColumn<QString>("game");
    QTest::addColumn<Numbers>("numbers");
    QTest::addColumn<Numbers>("bonuses");
    QTest::addColumn<int>("winnersOf");
    QTest::addColumn<qint64>("carryOver");
    QTest::addColumn<QString>("fault");
    const Numbers seven {1, 2, 3, 4, 5, 6, 7};
    const Numbers five {1, 2, 3, 4, 5};
    QTest::newRow("loto7") << u"loto7"_s << seven << Numbers {9, 8} << 6 << qint64(0) << QString();
    QTest::newRow("loto7, one bonus") << u"loto7"_s << seven << Numbers {8} << 0 << qint64(-1)
                                      << u"ボーナス数字が 2 つではありません"_s;
    QTest::newRow("loto7, a bonus twice") << u"loto7"_s << seven << Numbers {8, 8} << 0
                                          << qint64(-1) << u"ボーナス数字 8 が正しくありません"_s;
    QTest::newRow("loto7, a bonus drawn") << u"loto7"_s << seven << Numbers {8, 7} << 0
                                          << qint64(-1) << u"ボーナス数字 7 が正しくありません"_s;
    QTest::newRow("loto7, 38") << u"loto7"_s << Numbers {1, 2, 3, 4, 5, 6, 38} << Numbers {} << 0
                               << qint64(-1) << u"数字 38 が正しくありません"_s;
    QTest::newRow("loto7, a bonus of 38") << u"loto7"_s << seven << Numbers {8, 38} << 0
                                          << qint64(-1) << u"ボーナス数字 38 が正しくありません"_s;
    QTest::newRow("miniloto") << u"miniloto"_s << Numbers {1, 2, 3, 4, 31} << Numbers {6} << 4
                              << qint64(-1) << QString();
    QTest::newRow("miniloto, six") << u"miniloto"_s << Numbers {1, 2, 3, 4, 5, 6} << Numbers {} << 0
                                   << qint64(-1) << u"本数字が 5 つではありません"_s;
    QTest::newRow("miniloto, a fifth grade") << u"miniloto"_s << five << Numbers {} << 5
                                             << qint64(-1) << u"口数か金額が正しくありません"_s;
    QTest::newRow("miniloto, a carry-over") << u"miniloto"_s << five << Numbers {} << 0 << qint64(0)
                                            << u"口数か金額が正しくありません"_s;
    QTest::newRow("loto6, a sixth grade") << u"loto6"_s << Numbers {1, 2, 3, 4, 5, 6} << Numbers {7}
                                          << 6 << qint64(0) << u"口数か金額が正しくありません"_s;
}

void tst_History::storedDrawFaults()
{
    QFETCH(QString, game);
    QFETCH(Numbers, numbers);
    QFETCH(Numbers, bonuses);
    QFETCH(int, winnersOf);
    QFETCH(qint64, carryOver);
    PastDraw draw;
    draw.number = 1;
    draw.numbers = numbers;
    draw.bonuses = bonuses;
    if (winnersOf > 0)
        draw.winners[std::size_t(winnersOf - 1)] = 0;
    draw.carryOver = carryOver;
    QTEST(StoredDrawFault(*FindGame(game), draw), "fault");
}

void tst_History::storing()
{
    // New draws are added; a repeated one is present; one that brings fields the stored draw
    // lacks completes it; one with other numbers or another value of a field is a conflict, and
    // never changes what is stored.
    QTemporaryDir dir;
    History database(dir.filePath(u"nmr-history.sqlite"_s));
    QVERIFY(database.fault().isEmpty());
    const auto stored = [&](const QString &text) {
        const auto done = store(database, text);
        QStringList seen {u"added %1, completed %2, present %3"_s.arg(done->added)
                              .arg(done->completed)
                              .arg(done->present)};
        for (const RejectedLine &line : done->conflicts)
            seen << u"line %1: %2"_s.arg(line.line).arg(line.reason);
        return seen;
    };
    const QString full = official
        + u"1,2000/10/5,2,8,10,13,27,30,39,2,2,262,12413,174452,45513600,40961900,375200,6900,1000,0"_s;
    QCOMPARE(stored(u"第1回 2 8 10 13 27 30\n2 2000/10/12 1 2 3 4 5 6 (7)"_s),
        QStringList {u"added 2, completed 0, present 0"_s});
    const auto completed
        = database.store(ReadResults(Loto6(), full, [](const RejectedLine &) {}), u"completion"_s);
    QCOMPARE(std::pair(completed->added, completed->completed), std::pair(0, 1));
    QCOMPARE(database.drawStore.lastImport().value->source, u"completion"_s);
    QCOMPARE(stored(full), QStringList {u"added 0, completed 0, present 1"_s});
    QCOMPARE(stored(u"1 2000/10/5 2 8 10 13 27 30\n第1回 2 8 10 13 27 30 (39)"_s),
        QStringList {u"added 0, completed 0, present 2"_s});
    QCOMPARE(
        stored(u"第1回 2 8 10 13 27 31\n1 2000/10/6 2 8 10 13 27 30\n第1回 2 8 10 13 27 30 (40)\n"
               u"第2回 2000/10/12 1 2 3 4 5 6 (8)"_s),
        (QStringList {u"added 0, completed 0, present 0"_s,
            u"line 1: 第1回は別の数字で登録済みです"_s,
            u"line 2: 第1回の日付は別の値で登録済みです"_s,
            u"line 3: 第1回のボーナス数字は別の値で登録済みです"_s,
            u"line 4: 第2回のボーナス数字は別の値で登録済みです"_s}));
    QCOMPARE(stored(QString(full).replace(u"45513600"_s, u"45513601"_s)),
        (QStringList {u"added 0, completed 0, present 0"_s,
            u"line 2: 第1回の1等賞金は別の値で登録済みです"_s}));
    QCOMPARE(stored(QString(full).replace(u",39,2,2,"_s, u",39,3,2,"_s)),
        (QStringList {u"added 0, completed 0, present 0"_s,
            u"line 2: 第1回の1等口数は別の値で登録済みです"_s}));
    QCOMPARE(stored(QString(full)
                        .replace(u"2000/10/5"_s, u"2000/10/6"_s)
                        .replace(u"45513600"_s, u"45513601"_s)
                        .replace(u",1000,0"_s, u",1000,1"_s)),
        (QStringList {u"added 0, completed 0, present 0"_s,
            u"line 2: 第1回の日付、1等賞金、キャリーオーバーは別の値で登録済みです"_s}));
    // Any one of the numbers differing is a conflict, the first as much as the last.
    const Numbers first {2, 8, 10, 13, 27, 30};
    for (std::size_t at = 0; at < 6; ++at) {
        Numbers other = first;
        other[at] = 40 + int(at / 3);
        other.sort();
        QCOMPARE(stored(u"第1回 "_s + DrawText(other)),
            (QStringList {
                u"added 0, completed 0, present 0"_s, u"line 1: 第1回は別の数字で登録済みです"_s}));
    }
    const std::vector<PastDraw> draws = database.draws();
    QCOMPARE(draws.size(), 2u);
    QCOMPARE(shown(draws[0]),
        u"第1回 2000-10-05 02 08 10 13 27 30 +39 2/45513600 2/40961900 262/375200 12413/6900 174452/1000 c0"_s);
    QCOMPARE(History(dir.filePath(u"nmr-history.sqlite"_s)).draws(), draws);

    // A draw mended keeps its place; one moved to a number already stored is refused; removed
    // draws are gone, and a store cancelled halfway leaves everything as it was.
    PastDraw mended = draws[1];
    mended.numbers = {1, 2, 3, 4, 5, 9};
    QCOMPARE(database.drawStore.replaceDraw(2, mended).text, QString());
    mended.number = 1;
    QCOMPARE(database.drawStore.replaceDraw(2, mended).text, u"第1回は登録済みです。"_s);
    QCOMPARE(database.draws()[1].numbers, (Numbers {1, 2, 3, 4, 5, 9}));
    QCOMPARE(database.drawStore.removeDraws({2, 7}).text, QString());
    QCOMPARE(database.draws(), std::vector {draws[0]});
    QString many;
    for (int draw = 10; draw < 3000; ++draw)
        many += u"第%1回 1 2 3 4 5 6\n"_s.arg(draw);
    int asked = 0;
    const auto cancelled = database.store(ReadResults(Loto6(), many, [](const RejectedLine &) {}),
        u"x"_s, [&](qsizetype) { return ++asked < 2; });
    QVERIFY(cancelled && cancelled->cancelled);
    QCOMPARE(asked, 2);
    QCOMPARE(database.draws(), std::vector {draws[0]});
    // Only a store that changed something is remembered.
    QCOMPARE(database.drawStore.lastImport().value->source, u"completion"_s);
}

void tst_History::unusableDatabases()
{
    // A file that is no database, one whose pages are damaged, one that a newer version made
    // and a directory: said, and left as they were.
    QTemporaryDir dir;
    const QString damaged = dir.filePath(u"damaged.sqlite"_s);
    {
        History made(damaged);
        QString many;
        for (int draw = 1; draw <= 2000; ++draw)
            many += u"第%1回 1 2 3 4 5 6\n"_s.arg(draw);
        QVERIFY(store(made, many));
    }
    QByteArray pages = readFile(damaged);
    QVERIFY(pages.size() > 16384
        && writeFile(damaged, pages.replace(12288, 4096, QByteArray(4096, '\x7f'))));
    const QString garbage = dir.filePath(u"garbage.sqlite"_s);
    QVERIFY(writeFile(garbage, QByteArray(4096, 'x')));
    const QString newer = dir.filePath(u"newer.sqlite"_s);
    {
        History made(newer);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"newer"_s);
        db.setDatabaseName(newer);
        QVERIFY(db.open()
            && QSqlQuery(db).exec(
                u"PRAGMA user_version = %1"_s.arg(HistoryDatabase::SchemaVersion + 1)));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"newer"_s);
    // Another program's database, and ours of the second schema holding a number no draw has.
    const QString foreign = dir.filePath(u"foreign.sqlite"_s);
    QVERIFY(makeDatabase(foreign, {u"CREATE TABLE draws (id INTEGER, name TEXT)"_s}));
    const QString outOfRange = dir.filePath(u"out-of-range.sqlite"_s);
    QVERIFY(makeDatabase(outOfRange,
        {MigrationSteps()[0][0],
            u"INSERT INTO draws (number, n1, n2, n3, n4, n5, n6) VALUES (1, 0, 2, 3, 4, 5, 6)"_s,
            u"PRAGMA user_version = 2"_s}));
    for (const auto &[path, fault] :
        {std::pair(garbage, u"は壊れているため使えません（file is not a database"_s),
            std::pair(damaged, u"は壊れているため使えません"_s),
            std::pair(newer, u"は新しい版のプログラムで作られたため使えません。"_s),
            std::pair(dir.path(), u"を開けません。"_s),
            std::pair(foreign,
                u"は当せん番号の履歴ではありません（ほかのプログラムのデータベースです）。"_s),
            std::pair(outOfRange,
                u"は壊れているため使えません（CHECK constraint failed: n1 BETWEEN 1 AND 43 "
                u"Unable to fetch row）。"_s)}) {
        const QByteArray before = readFile(path);
        History database(path);
        QVERIFY2(database.fault().contains(fault)
                && database.fault().contains(QDir::toNativeSeparators(path)),
            qPrintable(database.fault()));
        QVERIFY(!store(database, u"第1回 1 2 3 4 5 6"_s));
        QVERIFY(database.draws().empty() && database.drawStore.latestDraw().value == 0);
        QCOMPARE(readFile(path), before);
    }
}

void tst_History::valuesReadBack_data()
{
    AddCaseRows(u"values-read-back.txt"_s, {"table", "values", "fault"});
}

void tst_History::valuesReadBack()
{
    QFETCH(QString, table);
    QFETCH(QString, values);
    QFETCH(QString, fault);
    const QString insert = table == u"draws"_s
        ? u"INSERT INTO draws (game, number, n1, n2, n3, n4, n5, n6, bonus, winners1, date) "
          u"VALUES ('loto6', %1)"_s
        : u"INSERT INTO tickets (game, draw, line, n1, n2, n3, n4, n5, n6, source) VALUES "
          u"('loto6', %1)"_s;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(makeDatabase(path,
        {MigrationSteps()[0][0], u"PRAGMA user_version = %1"_s.arg(HistoryDatabase::SchemaVersion),
            u"ALTER TABLE draws ADD COLUMN game TEXT DEFAULT 'loto6'"_s,
            u"ALTER TABLE draws ADD COLUMN n7 INTEGER"_s,
            u"ALTER TABLE draws ADD COLUMN bonus2 INTEGER"_s,
            u"ALTER TABLE draws ADD COLUMN winners6 INTEGER"_s,
            u"ALTER TABLE draws ADD COLUMN prize6 INTEGER"_s,
            u"CREATE TABLE imports (id INTEGER PRIMARY KEY, time TEXT, source TEXT, game TEXT)"_s,
            u"CREATE TABLE tickets (id INTEGER PRIMARY KEY, game TEXT DEFAULT 'loto6', draw "
            u"INTEGER, line INTEGER, n1 INTEGER, n2 INTEGER, n3 INTEGER, n4 INTEGER, n5 INTEGER, "
            u"n6 INTEGER, n7 INTEGER, source INTEGER)"_s,
            insert.arg(values)}));
    const QByteArray before = readFile(path);
    History database(path);
    QVERIFY(database.fault().isEmpty());
    QVERIFY(table == u"draws"_s ? database.draws().empty() : database.tickets().empty());
    QVERIFY2(database.fault().endsWith(fault), qPrintable(database.fault()));
    QVERIFY(!store(database, u"第9回 1 2 3 4 5 6"_s));
    QVERIFY(!database.saveTickets(9, {{1, 2, 3, 4, 5, 6}}));
    QCOMPARE(readFile(path), before);

    // Such a value in a database whose checks were switched off for a moment: its integrity
    // check finds it on opening.
    QTemporaryDir other;
    const QString checked = other.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(History(checked).fault().isEmpty());
    QVERIFY(makeDatabase(checked, {u"PRAGMA ignore_check_constraints = ON"_s, insert.arg(values)}));
    History reopened(checked);
    if (reopened.fault().isEmpty())
        QVERIFY(reopened.draws().empty() && reopened.tickets().empty());
    QVERIFY2(
        reopened.fault().contains(u"は壊れているため使えません"_s), qPrintable(reopened.fault()));
}

void tst_History::readErrors()
{
    // A read that fails is told with SQLite's words, never taken for a database without draws.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr-history.sqlite"_s);
    History database(path);
    QVERIFY(store(database, u"第1回 1 2 3 4 5 6"_s));
    QVERIFY(makeDatabase(path, {u"DROP TABLE draws"_s}));
    const StoreResult<std::vector<PastDraw>> draws = database.drawStore.draws();
    QVERIFY(draws.value.empty());
    QCOMPARE(draws.fault.problem, StoreProblem::Unreadable);
    QVERIFY2(draws.fault.text.contains(u"を読めません（no such table: draws"_s),
        qPrintable(draws.fault.text));
}

void tst_History::ticketChanged()
{
    // A ticket's numbers mended keep its letter; moved to another draw, it takes the next letter
    // there; one that is gone or would break a check changes nothing.
    QTemporaryDir dir;
    History database(dir.filePath(u"nmr-history.sqlite"_s));
    QVERIFY(database.saveTickets(2, {{1, 2, 3, 4, 5, 6}}));
    QVERIFY(database.saveTickets(3, {{1, 2, 3, 4, 5, 6}}));
    QVERIFY(database.changeTicket(1, 2, {1, 2, 3, 4, 5, 9}));
    QCOMPARE(database.tickets().front(), (SavedTicket {1, 2, 0, {1, 2, 3, 4, 5, 9}}));
    QVERIFY(database.changeTicket(1, 3, {1, 2, 3, 4, 5, 10}));
    QVERIFY(!database.changeTicket(99, 3, {1, 2, 3, 4, 5, 6}));
    QVERIFY(!database.changeTicket(1, 3, {1, 2, 3, 4, 5, 44}));
    QCOMPARE(database.tickets(),
        (std::vector<SavedTicket> {{2, 3, 0, {1, 2, 3, 4, 5, 6}}, {1, 3, 1, {1, 2, 3, 4, 5, 10}}}));
}

void tst_History::climbs_data()
{
    QTest::addColumn<int>("version");
    for (int version = 1; version <= HistoryDatabase::SchemaVersion; ++version)
        QTest::addRow("schema %d", version) << version;
}

void tst_History::climbs()
{
    // A file of each schema, made by the statements shipped for it and holding a draw and the
    // tickets as that schema stored them, climbs to the last schema keeping every one; the
    // tables are then the ones the program has always shipped.
    QFETCH(int, version);
    QStringList statements;
    for (int step = 0; step < version; ++step)
        statements << MigrationSteps()[std::size_t(step)];
    // From the three games' schema on, each row names its game.
    const QString game = version >= 6 ? u"game, "_s : QString();
    const QString loto6 = version >= 6 ? u"'loto6', "_s : QString();
    statements << u"PRAGMA user_version = %1"_s.arg(version)
               << u"INSERT INTO draws (%1number, date, n1, n2, n3, n4, n5, n6, bonus, winners1, "
                  u"prize1, carry_over) VALUES (%2 1, '2000-10-05', 2, 8, 10, 13, 27, 30, 39, 2, "
                  u"45513600, 0)"_s.arg(game, loto6);
    std::vector<SavedTicket> tickets;
    if (version >= 2) {
        statements << u"INSERT INTO tickets (%1id, draw, line, n1, n2, n3, n4, n5, n6) VALUES "
                      u"(%2 7, 2, 0, 1, 2, 3, 4, 5, 6)"_s.arg(game, loto6);
        tickets.push_back({7, 2, 0, {1, 2, 3, 4, 5, 6}, TicketSource::Made});
    }
    if (version >= 3)
        statements << u"INSERT INTO imports (time, source) VALUES ('2026-12-01T10:00:00', 'a')"_s;
    if (version >= 4) {
        statements << u"INSERT INTO tickets (%1id, draw, line, n1, n2, n3, n4, n5, n6, source) "
                      u"VALUES (%2 8, 2, 1, 3, 11, 19, 27, 38, 42, 1)"_s.arg(game, loto6);
        tickets.push_back({8, 2, 1, {3, 11, 19, 27, 38, 42}, TicketSource::Entered});
    }
    if (version >= 5) {
        statements << u"INSERT INTO tickets (%1id, draw, line, n1, n2, n3, n4, n5, n6, source) "
                      u"VALUES (%2 9, 3, 0, 1, 2, 3, 4, 5, 7, 2)"_s.arg(game, loto6);
        tickets.push_back({9, 3, 0, {1, 2, 3, 4, 5, 7}, TicketSource::Wheel});
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(makeDatabase(path, statements));
    History climbed(path);
    QCOMPARE(climbed.fault(), QString());
    QCOMPARE(climbed.draws().size(), std::size_t(1));
    QCOMPARE(shown(climbed.draws().front()),
        u"第1回 2000-10-05 02 08 10 13 27 30 +39 2/45513600 -1/-1 -1/-1 -1/-1 -1/-1 c0"_s);
    QCOMPARE(climbed.tickets(), tickets);
    QCOMPARE(climbed.drawStore.lastImport().value.has_value(), version >= 3);
    // Everything climbed is the 6-of-43 game's.
    climbed.drawStore.setGame(Loto7());
    climbed.ticketStore.setGame(MiniLoto());
    QVERIFY(climbed.draws().empty() && climbed.tickets().empty());
    QVERIFY(!climbed.drawStore.lastImport().value);
    QSqlQuery query(climbed.database.connection());
    QVERIFY(query.exec(u"SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY name"_s));
    QString schema;
    while (query.next())
        schema += query.value(0).toString() + u";\n"_s;
    QVERIFY(query.exec(u"PRAGMA user_version"_s) && query.next());
    QCOMPARE(query.value(0).toInt(), HistoryDatabase::SchemaVersion);
    QCOMPARE(
        schema, QString::fromUtf8(readFile(QStringLiteral(NMR_TEST_DATA "/history-schema.sql"))));
}

void tst_History::twoWritersAtOnce()
{
    // While another connection holds the write lock, a store waits for it instead of failing.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr-history.sqlite"_s);
    History database(path);
    std::binary_semaphore locked(0);
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            db.setDatabaseName(path);
            QSqlQuery query(db.open() ? db : QSqlDatabase());
            query.exec(u"BEGIN IMMEDIATE"_s);
            query.exec(u"INSERT INTO draws (game, number, n1, n2, n3, n4, n5, n6) VALUES ('loto6', "
                       u"7, 1, 2, "
                       u"3, 4, 5, 6)"_s);
            locked.release();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            query.exec(u"COMMIT"_s);
        }
        QSqlDatabase::removeDatabase(u"other"_s);
    });
    locked.acquire();
    const auto stored = store(database, u"第8回 1 2 3 4 5 6\n第7回 1 2 3 4 5 6"_s);
    other.join();
    QVERIFY(stored);
    QCOMPARE(std::pair(stored->added, stored->present), std::pair(1, 1));
}

void tst_History::busyIsNotBroken()
{
    // A lock another program holds past the busy timeout: opening and writing say the database
    // is busy, never damaged, and write nothing; once the lock is gone the same connection
    // reads and writes again, without being opened anew by its owner.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(StoreOne(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"locker"_s);
    db.setDatabaseName(path);
    QVERIFY(db.open());
    const auto lock = [&] { return QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s); };
    const auto unlock = [&] { return QSqlQuery(db).exec(u"ROLLBACK"_s); };
    const QString busy = u"当せん番号の履歴は別の処理が使用中です。しばらくしてから、もう一度お試し"
                         u"ください（%1）。"_s.arg(QDir::toNativeSeparators(path));

    QVERIFY(lock());
    const QByteArray before = readFile(path);
    QElapsedTimer waited;
    waited.start();
    History opened(path);
    QVERIFY(waited.elapsed() >= HistoryDatabase::BusyTimeoutMs - 100);
    QCOMPARE(opened.database.fault().problem, StoreProblem::Busy);
    QCOMPARE(opened.fault(), busy);
    const StoreResult<std::vector<PastDraw>> whileLocked = opened.drawStore.draws();
    QCOMPARE(whileLocked.fault.text, busy);
    QVERIFY(whileLocked.value.empty());
    QVERIFY(unlock());
    QCOMPARE(readFile(path), before);
    // Any read looks again, the smallest first.
    const StoreResult<int> latest = opened.drawStore.latestDraw();
    QCOMPARE(std::pair(latest.ok(), latest.value), std::pair(true, 1));
    QCOMPARE(opened.draws().size(), std::size_t(1));
    QCOMPARE(opened.fault(), QString());

    // A write waits for the timeout, then says so; the next one, once the lock is gone, is done.
    QVERIFY(lock());
    const StoreResult<DrawStore::Stored> refused = opened.drawStore.store(
        ReadResults(Loto6(), u"第2回 1 2 3 4 5 7"_s, [](const RejectedLine &) {}), u"x"_s);
    QCOMPARE(refused.fault.problem, StoreProblem::Busy);
    QCOMPARE(refused.fault.text, busy);
    QVERIFY(unlock());
    QVERIFY(opened.store(
        ReadResults(Loto6(), u"第2回 1 2 3 4 5 7"_s, [](const RejectedLine &) {}), u"x"_s));
    QVERIFY(opened.saveTickets(2, {{1, 2, 3, 4, 5, 6}}));
    QCOMPARE(History(path).draws().size(), std::size_t(2));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(u"locker"_s);
}

void tst_History::importReasons_data()
{
    // What a file holds, by name in a folder of its own; the summary an import gives.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("summary");
    QTest::newRow("missing") << u"missing.csv"_s << QByteArray() << u"ファイルがありません"_s;
    QTest::newRow("a directory") << QString() << QByteArray()
                                 << u"フォルダーです。ファイルを選んでください"_s;
    QTest::newRow("a FIFO") << u"fifo"_s << QByteArray() << u"通常のファイルではありません"_s;
    QTest::newRow("empty") << u"empty.csv"_s << QByteArray("") << u"当せん番号が見つかりません"_s;
    QTest::newRow("a header alone")
        << u"header.csv"_s << official.toUtf8() << u"当せん番号が見つかりません"_s;
    QTest::newRow("a program") << u"program"_s
                               << QByteArray("\x7f"
                                             "ELF\x02\x01\x01\0\0 1 2 3 4 5 6\n",
                                      19)
                               << u"当せん番号のファイルではありません"_s;
    QTest::newRow("another game's results, in code page 932")
        << u"loto7.csv"_s
        << Cp932::encode(u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,"
                         u"BONUS数字1,BONUS数字2\r\n1,2013/4/5,5,6,10,19,31,34,36,8,11\r\n"_s)
        << u"ロト7の当せん番号のファイルです。ロト6としては読めません"_s;
    QTest::newRow("draws with a gap")
        << u"gap.txt"_s
        << u"第2097回 1 2 3 4 5 6\n第2110回 1 2 3 4 5 6\n第2099回 1 2 3 4 5 6\n第1回 1 2 3"_s
               .toUtf8()
        << u"新規 3 回、補完 0 回、登録済み 0 回、読めなかった行 1（第2098回、第2100回〜第2109回がありません）"_s;
    QTest::newRow("UTF-16BE") << u"utf16be.txt"_s
                              << "\xFE\xFF"
            + QStringEncoder(QStringConverter::Utf16BE)(u"第1回 1 2 3 4 5 6\r\n"_s)
                              << u"新規 1 回、補完 0 回、登録済み 0 回、読めなかった行 0"_s;
}

void tst_History::importReasons()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, summary);
    QTemporaryDir dir;
    History database(dir.filePath(u"nmr-history.sqlite"_s));
    const QString path = dir.filePath(name);
#ifdef Q_OS_UNIX
    if (name == u"fifo"_s)
        QVERIFY(mkfifo(QFile::encodeName(path), 0600) == 0);
#else
    if (name == u"fifo"_s)
        QSKIP("this system has no named pipes in its file system");
#endif
    if (!content.isNull())
        QVERIFY(writeFile(path, content));
    qsizetype reasons = 0;
    const ImportReport report
        = ImportFile(database.drawStore, path, [&](const RejectedLine &) { ++reasons; });
    QCOMPARE(ImportSummary(u"x"_s, report), u"x: "_s + summary);
    QCOMPARE(reasons, report.rejected);
    QCOMPARE(report.stored(), report.failure.isEmpty());
    QCOMPARE(qsizetype(database.draws().size()), qsizetype(report.added));
}

void tst_History::statistics()
{
    // Draws 1 to 3 and 10, 4 to 9 missing. Over all, the last two numbers (9 and 10: draw 10
    // alone), the last eight, and draws 2 to 3: each number's count, how many draw numbers ago
    // it was last drawn, and its times as the bonus; the expected count and its band.
    const std::vector<PastDraw> draws = ReadResults(Loto6(),
        u"第1回 1 2 3 4 5 6 (7)\n第2回 1 2 3 4 5 8 (9)\n第3回 10 11 12 13 14 15 (1)\n"
        u"第10回 2000/1/1 1 20 21 22 23 24"_s,
        [](const RejectedLine &) {}).draws;
    QStringList seen;
    for (const DrawRange range :
        {LastDraws(draws, 0), LastDraws(draws, 2), LastDraws(draws, 8), DrawRange {2, 3}}) {
        const PeriodStatistics period = StatisticsOf(Loto6(), draws, range);
        seen << u"%1..%2: %3 draws, expected %4 ± %5, %6 outside, to %7"_s.arg(period.range.first)
                    .arg(period.range.last)
                    .arg(period.draws)
                    .arg(period.expected(), 0, 'f', 3)
                    .arg(period.band(), 0, 'f', 3)
                    .arg(period.outsideBand())
                    .arg(period.lastDate.toString(Qt::ISODate));
        for (const int number : {1, 6, 7, 8, 10, 43}) {
            const NumberStatistics &figures = period.numbers[std::size_t(number - 1)];
            seen << u"%1: %2 %3 %4"_s.arg(number)
                        .arg(figures.drawn)
                        .arg(figures.sinceLast)
                        .arg(figures.asBonus);
        }
    }
    QCOMPARE(seen,
        (QStringList {u"1..10: 4 draws, expected 0.558 ± 1.386, 5 outside, to 2000-01-01"_s,
            u"1: 3 0 1"_s, u"6: 1 9 0"_s, u"7: 0 -1 1"_s, u"8: 1 8 0"_s, u"10: 1 7 0"_s,
            u"43: 0 -1 0"_s, u"9..10: 1 draws, expected 0.140 ± 0.693, 6 outside, to 2000-01-01"_s,
            u"1: 1 0 0"_s, u"6: 0 -1 0"_s, u"7: 0 -1 0"_s, u"8: 0 -1 0"_s, u"10: 0 -1 0"_s,
            u"43: 0 -1 0"_s, u"3..10: 2 draws, expected 0.279 ± 0.980, 0 outside, to 2000-01-01"_s,
            u"1: 1 0 1"_s, u"6: 0 -1 0"_s, u"7: 0 -1 0"_s, u"8: 0 -1 0"_s, u"10: 1 7 0"_s,
            u"43: 0 -1 0"_s, u"2..3: 2 draws, expected 0.279 ± 0.980, 0 outside, to "_s,
            u"1: 1 1 1"_s, u"6: 0 -1 0"_s, u"7: 0 -1 0"_s, u"8: 1 1 0"_s, u"10: 1 0 0"_s,
            u"43: 0 -1 0"_s}));
    QCOMPARE(LastDraws({}, 100), DrawRange {});
}

void tst_History::missingDraws_data()
{
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("missing");
    QTest::newRow("none") << QList<int> {1, 2, 3} << QString();
    QTest::newRow("one") << QList<int> {1, 3} << u"第2回がありません"_s;
    QTest::newRow("a range") << QList<int> {2097, 2110} << u"第2098回〜第2109回がありません"_s;
    QTest::newRow("five named") << QList<int> {1, 3, 5, 7, 9, 11}
                                << u"第2回、第4回、第6回、第8回、第10回がありません"_s;
    QTest::newRow("six, one told as a count") << QList<int> {
        1, 3, 5, 7, 9, 11, 20} << u"第2回、第4回、第6回、第8回、第10回、ほか 1 か所がありません"_s;
}

void tst_History::missingDraws()
{
    QFETCH(QList<int>, numbers);
    QFETCH(QString, missing);
    std::vector<PastDraw> draws;
    for (const int number : numbers)
        draws.emplace_back().number = number;
    QCOMPARE(MissingText(MissingDraws(draws)), missing);
}

void tst_History::missingWithin_data()
{
    // Draws 5 to 9 and 20 to 29 missing; those that meet a period, cut to it.
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("missing");
    QTest::newRow("around both") << 1 << 40 << u"第5回〜第9回、第20回〜第29回がありません"_s;
    QTest::newRow("between them") << 10 << 19 << QString();
    QTest::newRow("touching each end") << 9 << 20 << u"第9回、第20回がありません"_s;
    QTest::newRow("inside one") << 22 << 24 << u"第22回〜第24回がありません"_s;
    QTest::newRow("ending where one starts") << 10 << 20 << u"第20回がありません"_s;
}

void tst_History::missingWithin()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, missing);
    QCOMPARE(MissingText(MissingWithin({{5, 9}, {20, 29}}, {first, last})), missing);
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
    PeriodStatistics period = StatisticsOf(Loto6(), {}, {});
    period.draws = 1;
    for (int i = 0; i < NumberCount; ++i)
        period.numbers[std::size_t(i)].drawn = i % modulus;
    QCOMPARE(LevelsFromHistory(period, LevelRule::OftenDrawnHigher), often);
    QCOMPARE(LevelsFromHistory(period, LevelRule::SeldomDrawnHigher), seldom);
    QVERIFY(!LevelsFromHistory({}, LevelRule::OftenDrawnHigher)); // no draw, no levels
    QVERIFY(!LevelsFromHistory({}, LevelRule::WithinChance));
}

void tst_History::levelsWithinChance_data()
{
    // 4,300 draws: expected 600, σ = √(600 × 37/43) ≈ 22.722, the band 600 ± 45.4. Number 1's
    // count; every other number's is 600, and gets 8.
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("level");
    QTest::newRow("inside the band, z 1.98") << 645 << 8;
    QTest::newRow("beyond it, z 2.11, still 8") << 648 << 8;
    QTest::newRow("first step up, z 2.16") << 649 << 9;
    QTest::newRow("z 3.04") << 669 << 12;
    QTest::newRow("z -3.04") << 531 << 4;
    QTest::newRow("last step short of 15, z 3.83") << 687 << 14;
    QTest::newRow("15 from z 3.87") << 688 << 15;
    QTest::newRow("2 at z -3.83") << 513 << 2;
    QTest::newRow("1 from z -3.87") << 512 << 1;
    QTest::newRow("far above, clamped") << 2000 << 15;
    QTest::newRow("never drawn, clamped") << 0 << 1;
}

void tst_History::levelsWithinChance()
{
    QFETCH(int, count);
    QFETCH(int, level);
    PeriodStatistics period = StatisticsOf(Loto6(), {}, {});
    period.draws = 4300;
    for (NumberStatistics &figures : period.numbers)
        figures.drawn = 600;
    period.numbers[0].drawn = count;
    const QString levels = LevelsFromHistory(period, LevelRule::WithinChance).value();
    QCOMPARE(LevelAt(levels, 1), level);
    QCOMPARE(levels.mid(1), QString(NumberCount - 1, u'8'));
}

void tst_History::exportReadsBack()
{
    // The export of every kind of draw, read into a new database, gives the same draws, in
    // either encoding.
    QTemporaryDir dir;
    History first(dir.filePath(u"first.sqlite"_s));
    QVERIFY(store(first,
        official
            + u"1,2000/10/"
              u"5,2,8,10,13,27,30,39,2,2,262,12413,174452,45513600,40961900,375200,6900,1000,0\n"
              u"2,2000/10/12,1,2,3,4,5,6,7,該当なし,0,2,3,4,\"1,000円\",0,3,4,5,\"1,234,567\"\n"_s));
    QVERIFY(store(first, u"第3回 ４０ 41 42 43 1 2\n第7回 2026/5/4(月) 1 2 3 4 5 6 (7)"_s));
    const std::vector<PastDraw> draws = first.draws();
    QCOMPARE(draws.size(), 4u);
    for (const ExportEncoding encoding :
        {ExportEncoding::Utf8WithMark, ExportEncoding::CodePage932}) {
        const QByteArray bytes = EncodeExport(DrawsCsv(Loto6(), draws), encoding);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), encoding == ExportEncoding::Utf8WithMark);
        History second(dir.filePath(u"second-%1.sqlite"_s.arg(int(encoding))));
        QVERIFY(writeFile(dir.filePath(u"export.csv"_s), bytes));
        const ImportReport report = ImportFile(
            second.drawStore, dir.filePath(u"export.csv"_s), [](const RejectedLine &) {});
        QCOMPARE(std::pair(report.added, report.rejected), std::pair(4, qsizetype(0)));
        QCOMPARE(second.draws(), draws);
    }
}

void tst_History::drawFields_data()
{
    // A draw mended in fields is checked as a row of a file is.
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("read");
    QTest::newRow("all given") << QStringList {u"5"_s, u"2026/5/4"_s, u"6"_s, u"5"_s, u"4"_s,
        u"3"_s, u"2"_s, u"1"_s, u"7"_s, u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"0"_s, u"9"_s,
        u"8"_s, u"7"_s, u"6"_s, u"5"_s}
                               << u"第5回 2026-05-04 01 02 03 04 05 06 +7 0/0 1/9 2/8 3/7 4/6 c5"_s;
    QTest::newRow("numbers alone, a field with a quote")
        << QStringList {u"第5回"_s, QString(), u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6\""_s}
        << u"数字「6\"」は 1 から 43 までではありません"_s;
    QTest::newRow("a bonus among the six")
        << QStringList {u"5"_s, QString(), u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"6"_s}
        << u"ボーナス数字 6 は本数字にあります"_s;
    QTest::newRow("a bonus past 43")
        << QStringList {u"5"_s, QString(), u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"44"_s}
        << u"ボーナス数字「44」が正しくありません"_s;
    QTest::newRow("no draw number") << QStringList {QString(), QString(), u"1"_s, u"2"_s, u"3"_s,
        u"4"_s, u"5"_s, u"6"_s} << u"回号が正しくありません"_s;
    QTest::newRow("a date that is none") << QStringList {u"5"_s, u"2026/2/30"_s, u"1"_s, u"2"_s,
        u"3"_s, u"4"_s, u"5"_s, u"6"_s} << u"日付が正しくありません"_s;
}

void tst_History::drawFields()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, read);
    const DrawFromFields draw = ReadDrawFields(Loto6(), fields);
    QCOMPARE(draw.draw ? shown(*draw.draw) : draw.reason, read);
    if (draw.draw)
        QCOMPARE(ReadDrawFields(Loto6(), DrawFields(Loto6(), *draw.draw)).draw, draw.draw);
}

void tst_History::statisticsSorted_data()
{
    // Three draws; each column sorted ascending through a proxy: the numbers of the first four
    // rows and of the last, and the last row's text.
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("lastText");
    QTest::newRow("数字") << int(StatisticsModel::Number) << u"1 2 3 4 … 43"_s << u"43"_s;
    QTest::newRow("出た回数, ties by number")
        << int(StatisticsModel::Drawn) << u"7 9 14 15 … 1"_s << u"3"_s;
    QTest::newRow("差, as numbers")
        << int(StatisticsModel::Difference) << u"7 9 14 15 … 1"_s << u"2.6"_s;
    QTest::newRow("最後に出てから, never last")
        << int(StatisticsModel::SinceLast) << u"1 10 11 12 … 42"_s << u"—"_s;
    QTest::newRow("ボーナス") << int(StatisticsModel::AsBonus) << u"1 2 3 4 … 9"_s << u"1"_s;
    QTest::newRow("新しいレベル") << int(StatisticsModel::NewLevel) << u"7 9 14 15 … 1"_s
                                  << u"15"_s;
    QTest::newRow("予想に入る確率, not as text")
        << int(StatisticsModel::Chance) << u"1 2 3 4 … 43"_s << u"約 14.2%"_s;
}

void tst_History::statisticsSorted()
{
    QFETCH(int, column);
    QFETCH(QString, order);
    QFETCH(QString, lastText);
    const std::vector<PastDraw> draws = ReadResults(Loto6(),
        u"第1回 1 2 3 4 5 6 (7)\n第2回 1 2 3 4 5 8 (9)\n第3回 1 10 11 12 13 43 (8)"_s,
        [](const RejectedLine &) {}).draws;
    const PeriodStatistics period = StatisticsOf(Loto6(), draws, LastDraws(draws, 0));
    std::vector<double> chances(period.numbers.size());
    // 約 9.0% first: as text it would come last.
    for (std::size_t i = 0; i < chances.size(); ++i)
        chances[i] = i == 0 ? 0.09 : 0.1 + 0.001 * double(i);
    StatisticsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setFigures(period, DefaultLevelString(),
        LevelsFromHistory(period, LevelRule::OftenDrawnHigher), chances);
    // The same numbers again change in place, every row and column of them.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setFigures(period, DefaultLevelString(),
        LevelsFromHistory(period, LevelRule::OftenDrawnHigher), chances);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toModelIndex(), model.index(0, 0));
    QCOMPARE(changed[0][1].toModelIndex(), model.index(42, StatisticsModel::ColumnCount - 1));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortRole(StatisticsModel::SortRole);
    proxy.sort(column, Qt::AscendingOrder);
    const auto numberAt
        = [&](int row) { return proxy.index(row, StatisticsModel::Number).data().toString(); };
    QCOMPARE(
        u"%1 %2 %3 %4 … %5"_s.arg(numberAt(0), numberAt(1), numberAt(2), numberAt(3), numberAt(42)),
        order);
    QCOMPARE(proxy.index(42, column).data().toString(), lastText);
}

void tst_History::csvSuffix_data()
{
    // A name typed in the save dialog, and the file written.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no suffix") << u"/home/a/結果"_s << u"/home/a/結果.csv"_s;
    QTest::newRow(".csv") << u"/home/a/結果.csv"_s << u"/home/a/結果.csv"_s;
    QTest::newRow("another suffix kept") << u"/home/a/結果.txt"_s << u"/home/a/結果.txt"_s;
    QTest::newRow("a dot in the folder only") << u"/home/a.b/結果"_s << u"/home/a.b/結果.csv"_s;
}

void tst_History::csvSuffix()
{
    QFETCH(QString, typed);
    QTEST(WithCsvSuffix(typed), "written");
}

void tst_History::drawsSorted()
{
    // The stored draws with a run of missing ones marked where it falls, by number either way;
    // by date the draw without one first and the missing ones last; by the 1等 prize, the
    // unknown ones first.
    const std::vector<PastDraw> draws = ReadResults(Loto6(),
        official
            + u"1,2000/10/"
              u"5,2,8,10,13,27,30,39,2,2,262,12413,174452,45513600,40961900,375200,6900,1000,0\n"
              u"2,2000/10/12,1,2,3,4,5,6,7,0,1,2,3,4,0,2,3,4,5,0\n5,,1,2,3,4,5,6,,,,,,,,,,,,\n"_s,
        [](const RejectedLine &) {}).draws;
    DrawsModel model(Loto6());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setDraws(draws);
    DrawsProxy proxy;
    proxy.setSourceModel(&model);
    const auto order = [&](int column, Qt::SortOrder direction) {
        proxy.sort(column, direction);
        QStringList shown;
        for (int row = 0; row < proxy.rowCount(); ++row)
            shown << proxy.index(row, DrawsModel::Draw).data().toString() + u' '
                    + proxy.index(row, column).data().toString();
        return shown.join(u", "_s);
    };
    QCOMPARE(order(DrawsModel::Draw, Qt::DescendingOrder),
        u"第5回 第5回, 第3回〜第4回 第3回〜第4回, 第2回 第2回, 第1回 第1回"_s);
    QCOMPARE(order(DrawsModel::Date, Qt::AscendingOrder),
        u"第5回 —, 第1回 2000/10/05, 第2回 2000/10/12, 第3回〜第4回 ありません"_s);
    QCOMPARE(order(DrawsModel::FirstGrade + 1, Qt::AscendingOrder),
        u"第5回 —, 第2回 0 円, 第1回 45,513,600 円, 第3回〜第4回 "_s);
    QCOMPARE(order(model.carryOverColumn(), Qt::DescendingOrder),
        u"第3回〜第4回 , 第2回 0 円, 第1回 0 円, 第5回 —"_s);
    QCOMPARE(model.headerData(DrawsModel::FirstGrade + 3, Qt::Horizontal).toString(), u"2等賞金"_s);
    // Each winners column sorts by its winners and each prize column by its prize.
    for (int row = 0; row < model.rowCount(); ++row) {
        const PastDraw *draw = model.drawAt(row);
        for (std::size_t grade = 0; draw && grade < 5; ++grade) {
            const int winners = DrawsModel::FirstGrade + 2 * int(grade);
            QCOMPARE(model.sortKey(row, winners), draw->winners[grade]);
            QCOMPARE(model.sortKey(row, winners + 1), draw->prizes[grade]);
        }
    }
    QCOMPARE(model.drawAt(2), nullptr);
    // 回へ移動 finds a draw's row, or the row of the missing draws it is among.
    QCOMPARE((std::vector {model.rowOf(0), model.rowOf(1), model.rowOf(2), model.rowOf(3),
                 model.rowOf(4), model.rowOf(5), model.rowOf(6)}),
        (std::vector {-1, 0, 1, 2, 2, 3, -1}));
    QCOMPARE(
        (std::vector {ReadDrawNumber(u"第2097回"_s), ReadDrawNumber(u" ２０９７ "_s),
            ReadDrawNumber(u"1000000"_s), ReadDrawNumber(u"1000001"_s), ReadDrawNumber(u"0"_s),
            ReadDrawNumber(u"第x回"_s), ReadDrawNumber(u"第2097"_s), ReadDrawNumber(u"2097回"_s)}),
        (std::vector<std::optional<int>> {2097, 2097, 1'000'000, std::nullopt, std::nullopt,
            std::nullopt, std::nullopt, std::nullopt}));
    // The sort role holds the same keys, for any other proxy: the six numbers as one.
    QCOMPARE(model.index(0, DrawsModel::Numbers).data(DrawsModel::SortRole),
        QVariant(((((qint64(2) * 64 + 8) * 64 + 10) * 64 + 13) * 64 + 27) * 64 + 30));
    QCOMPARE(model.index(2, DrawsModel::Bonus).data(DrawsModel::SortRole), QVariant());
    QCOMPARE(model.drawAt(3)->number, 5);
    // A single missing draw is a row of its own.
    std::vector<PastDraw> apart(2);
    apart[0].number = 1;
    apart[1].number = 3;
    model.setDraws(apart);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(1, DrawsModel::Draw).data().toString(), u"第2回"_s);
}

void tst_History::chartScale_data()
{
    // Draws in the period, and every count equal to the expected one but number 1's, set so
    // far from it; the axis's ends and whether number 1's bar lies outside the band.
    QTest::addColumn<int>("draws");
    QTest::addColumn<double>("first");
    QTest::addColumn<QString>("axis");
    QTest::newRow("50 draws start at 0") << 50 << 3.0 << u"0..15 step 5, outside no"_s;
    QTest::newRow("2,100 draws do not") << 2100 << 40.0 << u"240..340 step 20, outside yes"_s;
    QTest::newRow("no draw") << 0 << 0.0 << u"0..1 step 1, outside no"_s;
}

void tst_History::chartScale()
{
    QFETCH(int, draws);
    QFETCH(double, first);
    QFETCH(QString, axis);
    PeriodStatistics period = StatisticsOf(Loto6(), {}, {});
    period.draws = draws;
    for (NumberStatistics &figures : period.numbers)
        figures.drawn = int(std::lround(period.expected()));
    period.numbers[0].drawn = int(std::lround(period.expected() + first));
    const ChartGeometry chart = ChartLayout(period, QSizeF(473, 200), 40, 20);
    QCOMPARE(u"%1..%2 step %3, outside %4"_s.arg(chart.low)
                 .arg(chart.high)
                 .arg(chart.ticks.size() > 1 ? chart.ticks[1] - chart.ticks[0] : 0)
                 .arg(chart.outside[0] ? u"yes"_s : u"no"_s),
        axis);
    // One standard deviation is a visible step, the bars stand on the axis, and the band lies
    // within the plot around the expected line.
    if (draws > 0)
        QVERIFY(period.deviation() / (chart.high - chart.low) * chart.plot.height() >= 8);
    for (const QRectF &bar : chart.bars)
        QCOMPARE(bar.bottom(), chart.plot.bottom());
    QCOMPARE(chart.bars[1].top(), chart.yOf(period.numbers[1].drawn));
    QVERIFY(chart.band.top() <= chart.expectedY && chart.band.bottom() >= chart.expectedY);
    QVERIFY(chart.band.top() >= chart.plot.top() && chart.band.bottom() <= chart.plot.bottom());
    // Narrow bars: the first, every fifth and the last, 43, labelled; with 31 numbers the last
    // stands one bar after 30, which is left out to make room.
    const auto labels = [](const std::vector<bool> &labelled) {
        QStringList numbers;
        for (std::size_t i = 0; i < labelled.size(); ++i) {
            if (labelled[i])
                numbers << QString::number(i + 1);
        }
        return numbers.join(u' ');
    };
    QCOMPARE(labels(chart.labelled), u"1 5 10 15 20 25 30 35 40 43"_s);
    // Bars 18 pixels wide are each labelled (43 × 18 + the margins).
    QCOMPARE(labels(ChartLayout(period, QSizeF(818, 200), 40, 20).labelled).count(u' '), 42);
    PeriodStatistics fewer = period;
    fewer.numbers.resize(31);
    QCOMPARE(
        labels(ChartLayout(fewer, QSizeF(200, 200), 40, 20).labelled), u"1 5 10 15 20 25 31"_s);
    QCOMPARE(BarTip(period, 2).startsWith(u"2："_s), true);
    // Counts as far above the axis's lowest as that is above 0 keep 0; asked to, the axis starts
    // at 0 whatever the counts.
    PeriodStatistics tall = StatisticsOf(Loto6(), {}, {});
    tall.draws = 2100;
    for (NumberStatistics &figures : tall.numbers)
        figures.drawn = 293;
    tall.numbers[0].drawn = 200;
    tall.numbers[1].drawn = 400;
    QCOMPARE(ChartLayout(tall, QSizeF(473, 200), 40, 20).low, 0.0);
    tall.numbers[1].drawn = 399;
    QVERIFY(ChartLayout(tall, QSizeF(473, 200), 40, 20).low > 0);
    QCOMPARE(ChartLayout(period, QSizeF(473, 200), 40, 20, true).low, 0.0);
}

QTEST_GUILESS_MAIN(tst_History)
#include "tst_history.moc"
