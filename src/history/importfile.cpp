#include "importfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

ImportReport ImportText(HistoryDatabase &database, const QString &text,
    const std::function<void(const RejectedLine &)> &rejected)
{
    ImportReport report;
    const ReadDraws read = ReadResults(text, [&](const RejectedLine &line) {
        ++report.rejected;
        rejected(line);
    });
    const auto stored = database.store(read);
    if (!stored)
        return report;
    report.stored = true;
    report.added = stored->added;
    report.present = stored->present;
    for (const RejectedLine &conflict : stored->conflicts) {
        ++report.rejected;
        rejected(conflict);
    }
    return report;
}

ImportReport ImportFile(HistoryDatabase &database, const QString &path,
    const std::function<void(const RejectedLine &)> &rejected)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return ImportText(database, DecodeResults(file.readAll()), rejected);
}

QString ImportSummary(const QString &path, const ImportReport &report)
{
    if (!report.stored)
        return u"%1: 読み込めません"_s.arg(path);
    const QLocale numbers(QLocale::Japanese);
    return u"%1: 新規 %2 回、登録済み %3 回、読めなかった行 %4"_s.arg(path,
        numbers.toString(report.added), numbers.toString(report.present),
        numbers.toString(report.rejected));
}
