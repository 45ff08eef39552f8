#include "exportchoice.h"

#include "platform/seams.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

void ExportAs(QWidget *parent, const QString &proposedName,
    const std::function<QString(const QString &, ExportEncoding)> &write)
{
    const QString utf8 = u"CSV、UTF-8（BOM 付き） (*.csv)"_s;
    const QString cp932 = u"CSV、シフト JIS (*.csv)"_s;
    QString filter = utf8;
    const QString proposed
        = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
              .filePath(proposedName);
    const QString path = QFileDialog::getSaveFileName(
        parent, u"CSV に書き出す"_s, proposed, utf8 + u";;"_s + cp932, &filter);
    if (path.isEmpty())
        return;
    const ExportEncoding encoding
        = filter == cp932 ? ExportEncoding::CodePage932 : ExportEncoding::Utf8WithMark;
    if (const QString failure = write(WithCsvSuffix(path), encoding); !failure.isEmpty())
        Seams::message(parent, QMessageBox::Critical, failure);
}
