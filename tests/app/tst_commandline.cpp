#include "app/commandline.h"
#include "common/cases.h"

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
    AddCaseRows(u"commandline.txt"_s, {"arguments", "asked"});
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
    case CommandLine::Action::Update:
        asked = u"update"_s;
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
             u"--guarantee <T/M>"_s, u"--max <N>"_s, u"--seed <S>"_s, u"[FILE...]"_s, u"--update"_s,
             u"--game <G>"_s, u"loto6|loto7|miniloto"_s, u"--export <FILE>"_s, u"--encoding <E>"_s})
        QVERIFY2(help.contains(named), qPrintable(named));
    QVERIFY(!help.contains(u"--platform"_s));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
