#pragma once

#include "files.h"
#include "platform/module1.h"
#include "settings/cp932.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

// The transcript <name>.state in tests/data, or in NMR_GOLDEN_DIR where that is set.
inline QString goldenPath(const QString &name)
{
    return qEnvironmentVariable("NMR_GOLDEN_DIR", QStringLiteral(NMR_TEST_DATA)) + u'/' + name
        + u".state"_s;
}

// The expected transcript, one entry per line.
inline QStringList goldenState(const QString &name)
{
    QString expected = QString::fromUtf8(readFile(goldenPath(name)));
    expected.chop(1);
    return expected.split(u'\n');
}

// A line of a transcript as on every platform: the platform's own viewers written as $VIEWER.
inline QString platformNeutral(QString line)
{
    for (const char16_t *viewer : {Module1::DefaultLogViewer, Module1::HelpViewer})
        line.replace(QString::fromUtf16(viewer), u"$VIEWER"_s);
    return line;
}

inline QStringList platformNeutral(QStringList lines)
{
    for (QString &line : lines)
        line = platformNeutral(line);
    return lines;
}

// A path as the program shows it, with / between its parts on every platform. Program texts
// hold no other backslash.
inline QString slashed(QString text)
{
#ifdef Q_OS_WIN
    text.replace(u'\\', u'/');
#endif
    return text;
}

// Compares a transcript with its golden file. With NMR_REGENERATE set the file is written from
// the transcript instead, so that `git diff tests/data` shows what a change of behaviour
// changed, and the test skips: a regenerating run never looks like a passing one.
#define NMR_COMPARE_GOLDEN(actual, name)                                                           \
    do {                                                                                           \
        if (qEnvironmentVariableIsSet("NMR_REGENERATE")) {                                         \
            QVERIFY(                                                                               \
                writeFile(goldenPath(name), platformNeutral(actual).join(u'\n').toUtf8() + '\n')); \
            QSKIP("regenerated");                                                                  \
        }                                                                                          \
        QCOMPARE(platformNeutral(actual), goldenState(name));                                      \
    } while (false)

// A text on one line, its line breaks written as \r and \n.
inline QString oneLine(QString text)
{
    return u'"' + slashed(text).replace(u'\r', u"\\r"_s).replace(u'\n', u"\\n"_s) + u'"';
}

// The lines of a settings or log file, decoded from code page 932, or "(none)" when it is
// missing or empty. A file that ends in a line break ends in an empty entry.
inline QStringList fileLines(const QString &path)
{
    const QByteArray content = readFile(path);
    return content.isEmpty() ? QStringList {u"(none)"_s} : Cp932::decode(content).split(u"\r\n"_s);
}

// Steps of a session, each a label and what it does.
using Steps = std::vector<std::pair<QString, std::function<void()>>>;

// What changed from before to now, as a line-by-line diff finds it: each line of now that is new
// or changed, and each line of before that is gone with none in its place, marked "removed: ".
// A line inserted or removed leaves the lines after it matched as they were.
inline QStringList changedLines(const QStringList &before, const QStringList &now)
{
    // The longest common subsequence of the two, from each pair of places to the ends.
    const auto b = std::size_t(before.size());
    const auto n = std::size_t(now.size());
    std::vector<std::vector<int>> common(b + 1, std::vector<int>(n + 1, 0));
    for (std::size_t i = b; i-- > 0;) {
        for (std::size_t j = n; j-- > 0;) {
            common[i][j] = before[qsizetype(i)] == now[qsizetype(j)]
                ? common[i + 1][j + 1] + 1
                : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    // Between two matched lines, the lines of now stand in for as many gone ones.
    QStringList changed;
    qsizetype gone = 0;
    qsizetype added = 0;
    const auto settle = [&](std::size_t i) {
        for (qsizetype k = added; k < gone; ++k)
            changed << u"removed: "_s + before[qsizetype(i) - gone + k];
        gone = added = 0;
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < b || j < n) {
        if (i < b && j < n && before[qsizetype(i)] == now[qsizetype(j)]) {
            settle(i);
            ++i, ++j;
        } else if (j < n && (i == b || common[i][j + 1] >= common[i + 1][j])) {
            changed << now[qsizetype(j++)];
            ++added;
        } else {
            ++i;
            ++gone;
        }
    }
    settle(i);
    return changed;
}

// Runs the steps, noting each label, then what changed in the state since the step before (the
// first step's whole state), then the events that the step caused, such as prompts and programs
// started.
inline QStringList replay(const Steps &steps, const std::function<QStringList()> &state,
    const std::function<QStringList()> &events)
{
    QStringList transcript;
    QStringList before;
    for (const auto &[label, action] : steps) {
        action();
        const QStringList now = state();
        transcript << u"== "_s + label << changedLines(before, now) << events();
        before = now;
    }
    return transcript;
}
