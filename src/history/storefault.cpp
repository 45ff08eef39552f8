#include "storefault.h"

#include <QDir>
#include <QSqlError>

using namespace Qt::StringLiterals;

StoreFault FaultOf(StoreProblem problem, const QString &path, const QString &detail)
{
    const QString name = QDir::toNativeSeparators(path);
    const QString within = detail.isEmpty() ? QString() : u"（%1）"_s.arg(detail);
    QString text;
    switch (problem) {
    case StoreProblem::None:
        return {};
    case StoreProblem::Busy:
        text = u"当せん番号の履歴は別の処理が使用中です。しばらくしてから、もう一度お試しください"
               u"（%1）。"_s.arg(name);
        break;
    case StoreProblem::CannotOpen:
        text = u"当せん番号の履歴「%1」を開けません%2。"_s.arg(name, within);
        break;
    case StoreProblem::Damaged:
        text = u"当せん番号の履歴「%1」は壊れているため使えません%2。"_s.arg(name, within);
        break;
    case StoreProblem::Foreign:
        text = u"「%1」は当せん番号の履歴ではありません（ほかのプログラムのデータベースです）。"_s
                   .arg(name);
        break;
    case StoreProblem::Newer:
        text
            = u"当せん番号の履歴「%1」は新しい版のプログラムで作られたため使えません。"_s.arg(name);
        break;
    case StoreProblem::CannotCreate:
        text = u"当せん番号の履歴「%1」を作れません%2。"_s.arg(name, within);
        break;
    case StoreProblem::Unreadable:
        text = u"当せん番号の履歴「%1」を読めません%2。"_s.arg(name, within);
        break;
    case StoreProblem::Unwritable:
        text = u"当せん番号の履歴「%1」に書き込めません%2。"_s.arg(name, within);
        break;
    case StoreProblem::Taken:
        text = u"%1は登録済みです。"_s.arg(detail);
        break;
    case StoreProblem::Gone:
        text = u"この券は、すでに削除されています。"_s;
        break;
    }
    return {problem, text};
}

StoreFault FaultOf(const QSqlError &error, StoreProblem otherwise, const QString &path)
{
    // SQLITE_BUSY or SQLITE_LOCKED, plain or extended, as the driver gives SQLite's code.
    bool read = false;
    const int code = error.nativeErrorCode().toInt(&read) & 0xFF;
    const bool busy = read && (code == 5 || code == 6);
    return FaultOf(busy ? StoreProblem::Busy : otherwise, path, error.text().trimmed());
}
