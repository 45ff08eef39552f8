#pragma once

#include "files.h"

#include <QStringList>
#include <QTest>

// The rows of a data-driven test kept in a file of tests/data/cases, a case a line: its name,
// then its fields, separated by tabs. In a field, \n stands for a line break, \r for a carriage
// return, \t for a tab and \\ for a backslash. Blank lines and lines starting with # are skipped.
// Each named column is a QString; with list given, the fields after them are one QStringList column
// of that name.
inline void AddCaseRows(
    const QString &file, std::initializer_list<const char *> columns, const char *list = nullptr)
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    if (list)
        QTest::addColumn<QStringList>(list);
    const QByteArray bytes = readFile(QStringLiteral(NMR_TEST_DATA "/cases/") + file);
    QVERIFY2(!bytes.isEmpty(), qPrintable(file));
    const auto unescaped = [](const QString &field) {
        QString text;
        for (qsizetype i = 0; i < field.size(); ++i) {
            const QChar c = field[i];
            if (c != u'\\' || i + 1 == field.size()) {
                text += c;
                continue;
            }
            const QChar next = field[++i];
            text += next == u'n' ? QChar(u'\n')
                : next == u'r'   ? QChar(u'\r')
                : next == u't'   ? QChar(u'\t')
                                 : next;
        }
        return text;
    };
    for (const QString &line : QString::fromUtf8(bytes).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        const auto count = qsizetype(columns.size());
        QVERIFY2(fields.size() == count + 1 || (list && fields.size() > count), qPrintable(line));
        QTestData &row = QTest::newRow(fields[0].toUtf8().constData());
        for (qsizetype i = 1; i <= count; ++i)
            row << unescaped(fields.value(i));
        if (list) {
            QStringList rest;
            for (qsizetype i = count + 1; i < fields.size(); ++i)
                rest << unescaped(fields[i]);
            row << rest;
        }
    }
}
