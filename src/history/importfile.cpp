#include "importfile.h"

#include "engine/figures.h"
#include "statistics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

ImportReport ImportText(DrawStore &store, const QString &text, const QString &source,
    const std::function<void(const RejectedLine &)> &rejected, const ImportProgress &progress,
    ImportGame game)
{
    ImportReport report;
    if (const Game *named = ResultsGame(text); game == ImportGame::FromHeader && named)
        store.setGame(*named);
    // Reading is quick beside storing: it counts for a fifth of the work.
    constexpr double readShare = 0.2;
    const auto reading = [&](qsizetype at) {
        return progress(readShare * double(at) / double(std::max<qsizetype>(text.size(), 1)));
    };
    const ReadDraws read = ReadResults(
        store.game(), text,
        [&](const RejectedLine &line) {
            ++report.rejected;
            rejected(line);
        },
        progress ? std::function<bool(qsizetype)>(reading) : nullptr);
    if (read.cancelled) {
        report.cancelled = true;
        return report;
    }
    if (!read.refused.isEmpty()) {
        report.failure = read.refused;
        return report;
    }
    if (read.draws.empty() && report.rejected == 0) {
        report.failure = u"当せん番号が見つかりません"_s;
        return report;
    }
    const auto storing = [&](qsizetype done) {
        return progress(readShare
            + (1 - readShare) * double(done) / double(std::max<std::size_t>(read.draws.size(), 1)));
    };
    const auto stored
        = store.store(read, source, progress ? std::function<bool(qsizetype)>(storing) : nullptr);
    if (!stored.ok()) {
        report.failure = stored.fault.text;
        report.busy = stored.fault.busy();
        return report;
    }
    if (stored.value.cancelled) {
        report.cancelled = true;
        return report;
    }
    report.added = stored.value.added;
    report.completed = stored.value.completed;
    report.present = stored.value.present;
    for (const RejectedLine &conflict : stored.value.conflicts) {
        ++report.rejected;
        rejected(conflict);
    }
    report.missing = MissingText(store.missingDraws().value);
    return report;
}

ImportReport ImportFile(DrawStore &store, const QString &path,
    const std::function<void(const RejectedLine &)> &rejected, const ImportProgress &progress,
    ImportGame game)
{
    const QFileInfo info(path);
    ImportReport report;
    QFile file(path);
    if (!info.exists())
        report.failure = u"ファイルがありません"_s;
    else if (info.isDir())
        report.failure = u"フォルダーです。ファイルを選んでください"_s;
    else if (!info.isFile())
        report.failure = u"通常のファイルではありません"_s;
    else if (!file.open(QIODevice::ReadOnly))
        report.failure = file.error() == QFileDevice::PermissionsError
            ? u"読み取りが許可されていません"_s
            : u"読み込めません（%1）"_s.arg(file.errorString());
    if (!report.failure.isEmpty())
        return report;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        report.failure = u"読み込めません（%1）"_s.arg(file.errorString());
        return report;
    }
    return ImportText(store, DecodeResults(bytes),
        QDir::toNativeSeparators(info.absoluteFilePath()), rejected, progress, game);
}

QString ImportCounts(const ImportReport &report)
{
    if (report.cancelled)
        return u"読み込みを取り消しました。何も登録していません"_s;
    if (!report.stored())
        return report.failure;
    QString counts
        = u"新規 %1 回、補完 %2 回、登録済み %3 回、読めなかった行 %4"_s.arg(Grouped(report.added),
            Grouped(report.completed), Grouped(report.present), Grouped(report.rejected));
    return report.missing.isEmpty() ? counts : counts + u"（"_s + report.missing + u"）"_s;
}

QString ImportSummary(const QString &path, const ImportReport &report)
{
    return path + u": "_s + ImportCounts(report);
}
