#include "exportchoice.h"

#include <QFileDialog>

using namespace Qt::StringLiterals;

QString ChooseExportFile(QWidget *parent, ExportEncoding &encoding)
{
    const QString utf8 = u"CSV、UTF-8（BOM 付き） (*.csv)"_s;
    const QString cp932 = u"CSV、シフト JIS (*.csv)"_s;
    QString filter = utf8;
    const QString path = QFileDialog::getSaveFileName(
        parent, u"CSV に書き出す"_s, {}, utf8 + u";;"_s + cp932, &filter);
    encoding = filter == cp932 ? ExportEncoding::CodePage932 : ExportEncoding::Utf8WithMark;
    return path;
}
