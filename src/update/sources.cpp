#include "sources.h"

#include "history/pastresults.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const QRegularExpression &DrawField()
{
    static const QRegularExpression field(u"\\{draw(?::(\\d))?\\}"_s);
    return field;
}

bool Fetchable(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == u"http" || url.scheme() == u"https");
}

// Reads one file's keys into the sources; faults name the file and the line.
void ReadInto(Sources &sources, const QByteArray &bytes, const QString &name)
{
    const QStringList lines = DecodeResults(bytes).split(u'\n');
    Source *section = nullptr;
    bool unknownSection = false; // told once, its keys skipped
    for (qsizetype at = 0; at < lines.size(); ++at) {
        const QString line = lines[at].trimmed();
        const auto fault = [&](const QString &what) {
            sources.faults << u"%1 %2 行目：%3"_s.arg(name).arg(at + 1).arg(what);
        };
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const Game *game = FindGame(line.mid(1, line.size() - 2));
            section = game ? &sources.games[game->key] : nullptr;
            unknownSection = !game;
            if (!game)
                fault(u"知らないゲーム「%1」です（%2）"_s.arg(line, GameKeysText()));
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            fault(u"「キー=値」の形ではありません"_s);
            continue;
        }
        if (!section) {
            if (!unknownSection)
                fault(u"ゲームの節（[loto6] など）の外にあります"_s);
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key.compare(u"Index"_s, Qt::CaseInsensitive) == 0) {
            QList<QUrl> index;
            for (const QString &address : value.split(u' ', Qt::SkipEmptyParts)) {
                if (const QUrl url(address, QUrl::StrictMode); Fetchable(url))
                    index << url;
                else
                    fault(u"http か https のアドレスではありません：%1"_s.arg(address));
            }
            if (!index.isEmpty())
                section->index = index;
        } else if (key.compare(u"Draw"_s, Qt::CaseInsensitive) == 0) {
            const QUrl url(QString(value).replace(DrawField(), u"1"_s), QUrl::StrictMode);
            if (!Fetchable(url))
                fault(u"http か https のアドレスではありません：%1"_s.arg(value));
            else if (!value.contains(DrawField()))
                fault(u"回の番号 {draw} または {draw:4} がありません：%1"_s.arg(value));
            else
                section->draw = value;
        } else if (key.compare(u"FirstDraw"_s, Qt::CaseInsensitive) == 0) {
            if (const std::optional<int> first = ReadDrawNumber(value))
                section->firstDraw = *first;
            else
                fault(u"回の番号ではありません：%1"_s.arg(value));
        } else if (key.compare(u"History"_s, Qt::CaseInsensitive) == 0) {
            if (const QUrl url(value, QUrl::StrictMode); value.isEmpty() || Fetchable(url))
                section->history = url;
            else
                fault(u"http か https のアドレスではありません：%1"_s.arg(value));
        } else {
            fault(u"知らないキー「%1」です（Index, Draw, FirstDraw, History）"_s.arg(key));
        }
    }
}

} // namespace

QUrl Source::drawUrl(int number) const
{
    const QRegularExpressionMatch field = DrawField().match(draw);
    const int width = field.capturedView(1).isEmpty() ? 0 : field.capturedView(1).toInt();
    QString address = draw;
    address.replace(
        field.capturedStart(), field.capturedLength(), u"%1"_s.arg(number, width, 10, QChar(u'0')));
    return QUrl(address);
}

QString Source::fileStem() const
{
    const qsizetype field = draw.indexOf(DrawField());
    return draw.left(field).section(u'/', -1);
}

const Source *Sources::of(const Game &game) const
{
    const auto found = games.find(game.key);
    return found == games.end() ? nullptr : &found->second;
}

QByteArray ShippedSources()
{
    QFile file(u":/update/sources.ini"_s);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Sources ReadSources(const QByteArray &shipped, const QByteArray &user, const QString &userName)
{
    Sources sources;
    ReadInto(sources, shipped, u"sources.ini"_s);
    ReadInto(sources, user, userName);
    return sources;
}

Sources LoadSources(const QString &userFile)
{
    const QFileInfo info(userFile);
    QByteArray user;
    QString unread;
    if (info.exists()) {
        QFile file(userFile);
        if (!info.isFile())
            unread = u"%1 はふつうのファイルではないので読みません"_s.arg(userFile);
        else if (!file.open(QIODevice::ReadOnly))
            unread = u"%1 を読めません：%2"_s.arg(userFile, file.errorString());
        else
            user = file.read(1 << 20);
    }
    Sources sources = ReadSources(ShippedSources(), user, info.fileName());
    if (!unread.isEmpty())
        sources.faults.prepend(unread);
    return sources;
}
