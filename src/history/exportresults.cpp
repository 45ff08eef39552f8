#include "exportresults.h"

#include "settings/cp932.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

QString field(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n')
        && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

} // namespace

QString DrawsCsv(const Game &game, const std::vector<PastDraw> &draws)
{
    QString text = OfficialHeader(game).join(u',') + u"\r\n"_s;
    for (const PastDraw &draw : draws)
        text += DrawFields(game, draw).join(u',') + u"\r\n"_s;
    return text;
}

QString TableCsv(const QAbstractItemModel &model, int role)
{
    QStringList header;
    for (int column = 0; column < model.columnCount(); ++column)
        header << field(model.headerData(column, Qt::Horizontal).toString());
    QString text = header.join(u',') + u"\r\n"_s;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            const QVariant value = model.index(row, column).data(role);
            cells << field(value.typeId() == QMetaType::Double
                    ? QString::number(value.toDouble(), 'g', 6)
                    : value.toString());
        }
        text += cells.join(u',') + u"\r\n"_s;
    }
    return text;
}

QByteArray EncodeExport(const QString &text, ExportEncoding encoding)
{
    if (encoding == ExportEncoding::CodePage932)
        return Cp932::encode(text);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QString WithCsvSuffix(const QString &path)
{
    const QFileInfo file(path);
    return file.fileName().isEmpty() || !file.suffix().isEmpty() ? path : path + u".csv"_s;
}

QString WriteExport(const QString &path, const QString &text, ExportEncoding encoding)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(EncodeExport(text, encoding)) >= 0
        && file.commit())
        return {};
    return u"「%1」に書き込めません（%2）。"_s.arg(
        QDir::toNativeSeparators(path), file.errorString());
}
