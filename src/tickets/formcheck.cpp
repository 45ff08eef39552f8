#include "formcheck.h"

#include "engine/figures.h"
#include "enterticketsdialog.h"
#include "look/programstyle.h"
#include "platform/module1.h"
#include "platform/seams.h"
#include "ticketcheck.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

enum Column { Draw, Letter, Source, Numbers, Matches, Grade, Prize };

// The numbers, each one the draw holds in brackets.
QString marked(const SavedTicket &ticket, const PastDraw *draw)
{
    QStringList items;
    for (const int number : ticket.numbers) {
        const QString text = u"%1"_s.arg(number, 2, 10, QChar(u'0'));
        const bool hit = draw
            && std::find(draw->numbers.begin(), draw->numbers.end(), number) != draw->numbers.end();
        items << (hit ? u'[' + text + u']' : text);
    }
    return items.join(u' ');
}

// An expected count to three significant figures, whole numbers once it is large, and never
// in exponent form.
QString expectedText(double value)
{
    const int magnitude = value > 0 ? int(std::floor(std::log10(value))) : 0;
    return QLocale(QLocale::Japanese).toString(value, 'f', std::max(0, 2 - magnitude));
}

QTableWidget *table(QWidget *parent, const QString &name, const QStringList &headers)
{
    auto *widget = new QTableWidget(0, int(headers.size()), parent);
    widget->setObjectName(name);
    widget->setHorizontalHeaderLabels(headers);
    widget->verticalHeader()->hide();
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget->setSelectionBehavior(QAbstractItemView::SelectRows);
    widget->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    widget->horizontalHeader()->setStretchLastSection(true);
    return widget;
}

} // namespace

FormCheck::FormCheck(const QString &databasePath, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_database(databasePath)
    , m_draws(m_database.draws())
{
    setWindowTitle(u"当せん確認"_s);
    buildControls();
    refresh();
}

void FormCheck::buildControls()
{
    auto *grid = new QGridLayout(this);
    m_table = table(this, u"tickets"_s,
        {u"回"_s, u"券"_s, u"入手"_s, u"数字"_s, u"一致"_s, u"等級"_s, u"賞金"_s});
    m_table->setAccessibleName(u"保存した券"_s);
    m_table->setMinimumHeight(200);
    m_summary = new QLabel(this);
    m_summary->setObjectName(u"summary"_s);
    m_summary->setWordWrap(true);

    auto *enter = new QPushButton(u"券を入力(&I)..."_s, this);
    enter->setObjectName(u"enter"_s);
    enter->setEnabled(m_database.fault().isEmpty());
    connect(enter, &QPushButton::clicked, this, &FormCheck::enterTickets);
    auto *checkAll = new QPushButton(u"過去の全抽せんで照合(&R)"_s, this);
    connect(checkAll, &QPushButton::clicked, this, &FormCheck::checkAll);
    m_remove = new QPushButton(u"削除(&D)"_s, this);
    m_remove->setObjectName(u"remove"_s);
    connect(m_remove, &QPushButton::clicked, this, &FormCheck::remove);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { m_remove->setEnabled(!chosen().empty()); });
    auto *close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    m_grades = table(this, u"grades"_s, {u"等級"_s, u"選んだ券"_s, u"無作為の券（平均）"_s});
    m_grades->setAccessibleName(u"過去の全抽せんでの照合"_s);
    m_grades->setRowCount(PrizeGrades);
    m_grades->setSelectionMode(QAbstractItemView::NoSelection);
    for (int grade = 0; grade < PrizeGrades; ++grade)
        m_grades->setItem(grade, 0, new QTableWidgetItem(GradeText(grade + 1)));
    m_grades->setFixedHeight(m_grades->horizontalHeader()->sizeHint().height()
        + PrizeGrades * m_grades->verticalHeader()->defaultSectionSize()
        + 2 * m_grades->frameWidth());
    m_gradesNote = new QLabel(this);
    m_gradesNote->setObjectName(u"gradesNote"_s);
    m_gradesNote->setWordWrap(true);
    auto *note = new QLabel(
        u"抽せんは毎回独立しています。どの数字の組み合わせも、これまでに何が出たかに関係なく、"
        u"毎回同じ確率で当たります。過去の抽せんでの成績は、次の抽せんについて何も表しません。"_s,
        this);
    note->setWordWrap(true);

    grid->addWidget(m_table, 0, 0, 1, 4);
    grid->addWidget(m_summary, 1, 0, 1, 4);
    grid->addWidget(enter, 2, 0);
    grid->addWidget(checkAll, 2, 1);
    grid->addWidget(m_remove, 2, 2);
    grid->addWidget(close, 2, 3);
    grid->addWidget(m_grades, 3, 0, 1, 4);
    grid->addWidget(m_gradesNote, 4, 0, 1, 4);
    grid->addWidget(note, 5, 0, 1, 4);
    grid->setRowStretch(0, 1);
    resize(640, 600);

    Module1::ShowHelpPageOnF1(this, u"tickets.htm"_s);
}

void FormCheck::refresh()
{
    m_tickets = m_database.tickets();
    // A selection of rows would now be of other tickets.
    m_table->clearSelection();
    m_table->setRowCount(int(m_tickets.size()));
    for (int row = 0; row < int(m_tickets.size()); ++row) {
        const SavedTicket &ticket = m_tickets[std::size_t(row)];
        const PastDraw *draw = FindDraw(m_draws, ticket.draw);
        const Grading grading = draw ? GradeOf(ticket.numbers, *draw) : Grading {};
        const qint64 prize = draw ? PrizeOf(grading, *draw) : 0;
        const QStringList cells {u"第%1回"_s.arg(ticket.draw), TicketLetter(ticket.line),
            ticket.source == TicketSource::Entered ? u"入力"_s : u"作成"_s, marked(ticket, draw),
            draw ? QString::number(grading.matches) : u"—"_s,
            draw ? GradeText(grading.grade) : u"未抽せん"_s,
            !draw                        ? u"—"_s
                : prize == NoWinnerPrize ? u"該当なし（金額不明）"_s
                : prize < 0              ? u"未確定"_s
                                         : Yen(prize)};
        for (int column = 0; column < int(cells.size()); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setData(Qt::AccessibleTextRole,
                u"%1 %2：%3、%4"_s.arg(cells[Draw], cells[Letter], DrawText(ticket.numbers),
                    draw ? u"一致 %1、%2、賞金 %3"_s.arg(cells[Matches], cells[Grade], cells[Prize])
                         : cells[Grade]));
            m_table->setItem(row, column, item);
        }
    }
    const TicketSummary summary = Summarise(m_tickets, m_draws);
    QString text = m_database.fault().isEmpty()
        ? u"%1 口、購入 %2 円、当せん金 %3 円、収支 %4"_s.arg(Grouped(summary.tickets),
            Grouped(summary.spent), Grouped(summary.won), SignedYen(summary.balance()))
        : m_database.fault();
    QStringList apart;
    if (summary.noWinner > 0)
        apart << u"該当なし（金額不明）%1 口"_s.arg(summary.noWinner);
    if (summary.unsettled > 0)
        apart << u"未確定 %1 口"_s.arg(summary.unsettled);
    if (summary.undrawn > 0)
        apart << u"未抽せん %1 口"_s.arg(summary.undrawn);
    if (!apart.isEmpty())
        text += u"（%1は当せん金に含みません）"_s.arg(apart.join(u'、'));
    m_summary->setText(text);
    m_summary->setAccessibleName(u"収支："_s + text);
    // The grades were of tickets that may be gone: until a check runs, every grade is there
    // without figures, so that no cell is stale or unnamed.
    for (int grade = 0; grade < PrizeGrades; ++grade) {
        for (int column = 1; column < m_grades->columnCount(); ++column)
            m_grades->setItem(grade, column, new QTableWidgetItem(u"—"_s));
    }
    m_gradesNote->clear();
    m_remove->setEnabled(!chosen().empty());
}

std::vector<qsizetype> FormCheck::chosen() const
{
    std::vector<qsizetype> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FormCheck::checkAll()
{
    std::vector<qsizetype> rows = chosen();
    if (rows.empty()) {
        for (qsizetype row = 0; row < qsizetype(m_tickets.size()); ++row)
            rows.push_back(row);
    }
    std::vector<Ticket> tickets;
    for (const qsizetype row : rows)
        tickets.push_back(m_tickets[std::size_t(row)].numbers);
    const GradeCounts counts = CheckAgainstAll(tickets, m_draws);
    for (int grade = 0; grade < PrizeGrades; ++grade) {
        const QStringList cells {GradeText(grade + 1), Grouped(counts.counted[std::size_t(grade)]),
            expectedText(counts.expected[std::size_t(grade)])};
        for (int column = 0; column < int(cells.size()); ++column)
            m_grades->setItem(grade, column, new QTableWidgetItem(cells[column]));
    }
    m_gradesNote->setText(
        u"%1 口 × 過去の %2 回 = %3 回の照合。右の列は、無作為に選んだ券が同じ回数の照合で"
        u"平均して当たる回数です。"_s.arg(Grouped(qint64(tickets.size())))
            .arg(Grouped(qint64(m_draws.size())))
            .arg(Grouped(counts.checks)));
}

void FormCheck::enterTickets()
{
    const int latest = m_draws.empty() ? 0 : m_draws.back().number;
    EnterTicketsDialog dialog(latest + 1, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::vector<int> draws = dialog.draws();
    const QStringList already = SavedAlready(m_tickets, draws, dialog.tickets());
    const bool saved = m_database.saveTickets(draws, dialog.tickets(), TicketSource::Entered);
    refresh();
    if (!saved) {
        Seams::message(
            this, QMessageBox::Critical, u"券を保存できませんでした。\n"_s + m_database.error());
        return;
    }
    if (!already.isEmpty())
        Seams::message(this, QMessageBox::Information,
            u"同じ数字の券が、すでに保存されていました：%1"_s.arg(already.join(u'、')));
}

void FormCheck::remove()
{
    const std::vector<qsizetype> rows = chosen();
    if (rows.empty())
        return;
    const auto answer = Seams::message(this, QMessageBox::Question,
        u"選んだ %1 口を削除します。よろしいですか？"_s.arg(rows.size()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    std::vector<qint64> ids;
    for (const qsizetype row : rows)
        ids.push_back(m_tickets[std::size_t(row)].id);
    if (!m_database.removeTickets(ids))
        Seams::message(this, QMessageBox::Critical, u"券を削除できませんでした。"_s);
    refresh();
}
