#include "app/commandline.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parsing_data();
    void parsing();
    void helpNamesEveryOption();
};

void tst_CommandLine::parsing_data()
{
    // The arguments after the program's name, a blank between each ("·" stands for a blank
    // inside one); what they ask for, as the action and what goes with it.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("asked");
    QTest::newRow("nothing") << u""_s << u"start"_s;
    QTest::newRow("Qt's options pass")
        << u"-style Fusion --platform=offscreen -reverse"_s << u"start"_s;
    QTest::newRow("version") << u"--version"_s << u"version"_s;
    QTest::newRow("help") << u"-h"_s << u"help"_s;
    QTest::newRow("import") << u"--import a.csv b·c.txt"_s << u"import a.csv|b c.txt"_s;
    QTest::newRow("draw, defaults") << u"--draw 5"_s << u"draw 5 [] [] 5"_s;
    QTest::newRow("draw, both ends") << u"--draw 1 --overlap 0"_s << u"draw 1 [] [] 0"_s;
    QTest::newRow("draw 20, lists")
        << u"--draw=20 --fixed 3·11 --exclude 1,2 --overlap 5"_s << u"draw 20 [3 11] [1,2] 5"_s;
    QTest::newRow("draw 0") << u"--draw 0"_s
                            << u"refused --draw には 1 から 20 までの口数を指定してください。"_s;
    QTest::newRow("draw 21") << u"--draw 21"_s
                             << u"refused --draw には 1 から 20 までの口数を指定してください。"_s;
    QTest::newRow("draw x") << u"--draw x"_s
                            << u"refused --draw には 1 から 20 までの口数を指定してください。"_s;
    QTest::newRow("overlap -1")
        << u"--draw 5 --overlap -1"_s
        << u"refused --overlap には 0 から 5 までの数を指定してください。"_s;
    QTest::newRow("overlap 6") << u"--draw 5 --overlap 6"_s
                               << u"refused --overlap には 0 から 5 までの数を指定してください。"_s;
    QTest::newRow("draw twice") << u"--draw 5 --draw 6"_s
                                << u"refused --draw が 2 回以上あります。"_s;
    QTest::newRow("import twice") << u"--import --import a"_s
                                  << u"refused --import が 2 回以上あります。"_s;
    QTest::newRow("fixed twice") << u"--draw 5 --fixed 1 --fixed 2"_s
                                 << u"refused --fixed が 2 回以上あります。"_s;
    QTest::newRow("draw and import")
        << u"--draw 5 --import a"_s
        << u"refused --draw、--wheel、--import、--export は一緒に使えません。"_s;
    QTest::newRow("draw and wheel")
        << u"--draw 5 --wheel 1-7 --guarantee 3/3"_s
        << u"refused --draw、--wheel、--import、--export は一緒に使えません。"_s;
    QTest::newRow("wheel, the least") << u"--wheel 1·2·3·4·5·6·7 --guarantee 3/3"_s
                                      << u"wheel [1 2 3 4 5 6 7] 3/3 max - seed -"_s;
    QTest::newRow("wheel with a limit and a seed")
        << u"--wheel=1,2 --guarantee 6/6 --max 1 --seed 4294967295"_s
        << u"wheel [1,2] 6/6 max 1 seed 4294967295"_s;
    QTest::newRow("wheel without a guarantee")
        << u"--wheel 1"_s
        << u"refused --guarantee には 3/3、3/4、3/5、3/6、4/4、4/5、4/6、5/5、5/6、6/6 の"
           u"どれかを指定してください。"_s;
    QTest::newRow("a guarantee of 2/3")
        << u"--wheel 1 --guarantee 2/3"_s
        << u"refused --guarantee には 3/3、3/4、3/5、3/6、4/4、4/5、4/6、5/5、5/6、6/6 の"
           u"どれかを指定してください。"_s;
    QTest::newRow("max 0") << u"--wheel 1 --guarantee 3/3 --max 0"_s
                           << u"refused --max には 1 以上の口数を指定してください。"_s;
    QTest::newRow("a seed past 32 bits")
        << u"--wheel 1 --guarantee 3/3 --seed 4294967296"_s
        << u"refused --seed には 0 から 4294967295 までの数を指定してください。"_s;
    QTest::newRow("a guarantee without wheel")
        << u"--guarantee 3/3"_s
        << u"refused --guarantee、--max、--seed は --wheel と一緒に使います。"_s;
    QTest::newRow("a limit without wheel")
        << u"--draw 5 --max 3"_s
        << u"refused --guarantee、--max、--seed は --wheel と一緒に使います。"_s;
    QTest::newRow("a seed without wheel")
        << u"--seed 3"_s << u"refused --guarantee、--max、--seed は --wheel と一緒に使います。"_s;
    QTest::newRow("a list without draw")
        << u"--fixed 3"_s
        << u"refused --fixed、--exclude、--overlap は --draw と一緒に使います。"_s;
    QTest::newRow("import without a file")
        << u"--import"_s << u"refused --import には読み込むファイルを指定してください。"_s;
    QTest::newRow("a file without import")
        << u"extra"_s << u"refused 「extra」という引数は使えません。"_s;
    QTest::newRow("an unknown option")
        << u"--bogus"_s << u"refused 「bogus」というオプションはありません。"_s;
    QTest::newRow("draw without its value")
        << u"--draw"_s << u"refused --draw の後に値がありません。"_s;
    QTest::newRow("draw for Loto 7, its overlap at most")
        << u"--draw 5 --game loto7"_s << u"draw 5 [] [] 6 game loto7"_s;
    QTest::newRow("draw for Mini Loto by its name, an overlap past its most")
        << u"--draw 5 --game ミニロト --overlap 5"_s
        << u"refused --overlap には 0 から 4 までの数を指定してください。"_s;
    QTest::newRow("wheel for Loto 7, a guarantee of 3/8")
        << u"--wheel 1 --game ｌｏｔｏ７ --guarantee 3/8"_s
        << u"refused --guarantee には 3/3、3/4、3/5、3/6、3/7、4/4、4/5、4/6、4/7、5/5、5/6、"
           u"5/7、6/6、6/7、7/7 のどれかを指定してください。"_s;
    QTest::newRow("wheel for Mini Loto, 5/5") << u"--wheel 1 --guarantee 5/5 --game miniloto"_s
                                              << u"wheel [1] 5/5 max - seed - game miniloto"_s;
    QTest::newRow("import for a game")
        << u"--import a.csv --game ロト7"_s << u"import a.csv game loto7"_s;
    QTest::newRow("an unknown game")
        << u"--draw 5 --game loto8"_s
        << u"refused --game には loto6、loto7、miniloto のどれかを指定してください。"_s;
    QTest::newRow("a game alone")
        << u"--game loto7"_s
        << u"refused --game は --import、--draw、--wheel、--export と一緒に使います。"_s;
    QTest::newRow("export, UTF-8 by default") << u"--export out.csv"_s << u"export out.csv utf-8"_s;
    QTest::newRow("export in code page 932")
        << u"--export o --game miniloto --encoding CP932"_s << u"export o cp932 game miniloto"_s;
    QTest::newRow("an encoding without export")
        << u"--encoding cp932"_s << u"refused --encoding は --export と一緒に使います。"_s;
    QTest::newRow("an encoding unknown")
        << u"--export o --encoding sjis"_s
        << u"refused --encoding には utf-8 か cp932 を指定してください。"_s;
    QTest::newRow("export and draw")
        << u"--export o --draw 5"_s
        << u"refused --draw、--wheel、--import、--export は一緒に使えません。"_s;
    QTest::newRow("a Qt option without its value")
        << u"-platform"_s << u"refused --platform の後に値がありません。"_s;
}

void tst_CommandLine::parsing()
{
    QFETCH(QString, arguments);
    QStringList list {u"numerisphere"_s};
    for (const QString &argument : arguments.split(u' ', Qt::SkipEmptyParts))
        list << QString(argument).replace(u'·', u' ');
    const CommandLine line = ParseCommandLine(list);
    QString asked;
    switch (line.action) {
    case CommandLine::Action::Start:
        asked = u"start"_s;
        break;
    case CommandLine::Action::Help:
        asked = u"help"_s;
        break;
    case CommandLine::Action::Version:
        asked = u"version"_s;
        break;
    case CommandLine::Action::Import:
        asked = u"import "_s + line.files.join(u'|');
        break;
    case CommandLine::Action::Draw:
        asked = u"draw %1 [%2] [%3] %4"_s.arg(line.count)
                    .arg(line.fixed, line.excluded)
                    .arg(line.overlap);
        break;
    case CommandLine::Action::Wheel:
        asked = u"wheel [%1] %2/%3 max %4 seed %5"_s.arg(line.chosen)
                    .arg(line.guarantee.t)
                    .arg(line.guarantee.m)
                    .arg(line.most ? QString::number(*line.most) : u"-"_s,
                        line.seed ? QString::number(*line.seed) : u"-"_s);
        break;
    case CommandLine::Action::Export:
        asked = u"export %1 %2"_s.arg(
            line.files.join(u'|'), line.codePage932 ? u"cp932"_s : u"utf-8"_s);
        break;
    case CommandLine::Action::Refuse:
        asked = u"refused "_s + line.text;
        break;
    }
    if (line.game)
        asked += u" game "_s + line.game->key;
    QTEST(asked, "asked");
}

void tst_CommandLine::helpNamesEveryOption()
{
    // The help names the options and their ranges as the messages do, and hides Qt's own.
    const QString help = ParseCommandLine({u"numerisphere"_s, u"--help"_s}).text;
    for (const QString &named : {u"--import"_s, u"--draw <N>"_s, u"（1〜20）"_s,
             u"--fixed <LIST>"_s, u"--exclude <LIST>"_s, u"--overlap <K>"_s, u"--wheel <LIST>"_s,
             u"--guarantee <T/M>"_s, u"--max <N>"_s, u"--seed <S>"_s, u"[FILE...]"_s,
             u"--game <G>"_s, u"loto6|loto7|miniloto"_s, u"--export <FILE>"_s, u"--encoding <E>"_s})
        QVERIFY2(help.contains(named), qPrintable(named));
    QVERIFY(!help.contains(u"--platform"_s));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
