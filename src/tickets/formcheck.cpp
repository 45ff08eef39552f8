#include "formcheck.h"

#include "engine/figures.h"
#include "enterticketsdialog.h"
#include "history/exportchoice.h"
#include "look/tooltable.h"
#include "platform/seams.h"
#include "ticketcheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace { } // namespace

FormCheck::FormCheck(const QString &databasePath, const Game &game, QWidget *parent)
    : ToolWindow(databasePath, game, u"当せん確認"_s, parent)
    , m_draws(m_drawStore.draws().value)
    , m_tickets(m_game, this)
    , m_gradeCounts(m_game, this)
{
    buildControls();
    frame({640, 600}, u"tickets.htm"_s, u"check"_s, [this] {
        m_draws = m_drawStore.draws().value;
        refresh();
    });
    refresh();
}

void FormCheck::buildControls()
{
    auto *grid = gridUnderGameChoice();
    m_view = new RowsProxy(this);
    m_view->setSourceModel(&m_tickets);
    m_view->setFilterKeyColumn(SavedTicketsModel::Draw);
    m_table = ToolTable(this, m_view, u"tickets"_s, u"保存した券"_s);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->sortByColumn(SavedTicketsModel::Draw, Qt::AscendingOrder);
    m_table->setMinimumHeight(200);
    m_filter = new QComboBox(this);
    m_filter->setObjectName(u"filter"_s);
    m_filter->setAccessibleName(u"表示する回"_s);
    auto *filterLabel = new QLabel(u"表示する回(&F):"_s, this);
    filterLabel->setBuddy(m_filter);
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] {
        m_view->setFilterFixedString(
            m_filter->currentIndex() > 0 ? m_filter->currentText() : QString());
        m_remove->setEnabled(!chosen().empty());
    });
    auto *exportButton = new QPushButton(u"CSV に書き出す(&X)..."_s, this);
    exportButton->setObjectName(u"export"_s);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        ExportAs(this, u"当せん確認.csv"_s, [this](const QString &path, ExportEncoding encoding) {
            return exportTickets(path, encoding);
        });
    });
    m_summary = new QLabel(this);
    m_summary->setObjectName(u"summary"_s);
    m_summary->setWordWrap(true);

    auto *enter = m_enter = new QPushButton(u"券を入力(&I)..."_s, this);
    enter->setObjectName(u"enter"_s);
    connect(enter, &QPushButton::clicked, this, &FormCheck::enterTickets);
    auto *checkAll = new QPushButton(u"過去の全抽せんで照合(&R)"_s, this);
    connect(checkAll, &QPushButton::clicked, this, &FormCheck::checkAll);
    m_change = new QPushButton(u"修正(&E)..."_s, this);
    m_change->setObjectName(u"change"_s);
    connect(m_change, &QPushButton::clicked, this, &FormCheck::change);
    m_remove = new QPushButton(u"削除(&D)"_s, this);
    m_remove->setObjectName(u"remove"_s);
    connect(m_remove, &QPushButton::clicked, this, &FormCheck::remove);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_remove->setEnabled(!chosen().empty());
        m_change->setEnabled(chosen().size() == 1);
    });
    auto *close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *gradesView = new QSortFilterProxyModel(this);
    gradesView->setSourceModel(&m_gradeCounts);
    gradesView->setSortRole(GradesModel::SortRole);
    m_grades = ToolTable(this, gradesView, u"grades"_s, u"過去の全抽せんでの照合"_s);
    m_grades->horizontalHeader()->setStretchLastSection(true);
    m_grades->sortByColumn(GradesModel::Grade, Qt::AscendingOrder);
    m_grades->setSelectionMode(QAbstractItemView::NoSelection);
    m_grades->setFixedHeight(m_grades->horizontalHeader()->sizeHint().height()
        + m_game.gradeCount() * m_grades->verticalHeader()->defaultSectionSize()
        + 2 * m_grades->frameWidth());
    m_gradesNote = new QLabel(this);
    m_gradesNote->setObjectName(u"gradesNote"_s);
    m_gradesNote->setWordWrap(true);
    auto *note = new QLabel(SameChanceText(m_game)
            + u"どの券も毎回同じ確率で当たり、過去の抽せんでの成績は、次の抽せんについて何も"
              u"表しません。"_s,
        this);
    note->setWordWrap(true);

    m_wonOnly = new QCheckBox(u"当せんした券だけ(&W)"_s, this);
    m_wonOnly->setObjectName(u"wonOnly"_s);
    connect(m_wonOnly, &QCheckBox::toggled, this, [this](bool only) {
        m_view->setRowFilter(only
                ? std::function<bool(int)>([this](int row) { return m_tickets.won(row); })
                : nullptr);
        m_remove->setEnabled(!chosen().empty());
    });
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter);
    filterRow->addWidget(m_wonOnly);
    filterRow->addStretch();
    filterRow->addWidget(exportButton);
    grid->addLayout(filterRow, 0, 0, 1, 5);
    grid->addWidget(m_table, 1, 0, 1, 5);
    grid->addWidget(m_summary, 2, 0, 1, 5);
    grid->addWidget(enter, 3, 0);
    grid->addWidget(checkAll, 3, 1);
    grid->addWidget(m_change, 3, 2);
    grid->addWidget(m_remove, 3, 3);
    grid->addWidget(close, 3, 4);
    grid->addWidget(m_grades, 4, 0, 1, 5);
    grid->addWidget(m_gradesNote, 5, 0, 1, 5);
    grid->addWidget(note, 6, 0, 1, 5);
    grid->setRowStretch(1, 1);
}

void FormCheck::refresh()
{
    // A selection of rows would now be of other tickets.
    m_table->clearSelection();
    const StoreResult<std::vector<SavedTicket>> saved = m_ticketStore.tickets();
    m_tickets.setTickets(saved.value, m_draws);
    // A lock held by another program passes: 券を入力 stays, and tells so when used too soon.
    const StoreFault &fault = m_database.fault();
    m_enter->setEnabled(!fault || fault.busy());
    const QString wanted = m_filter->currentText();
    {
        const QSignalBlocker quiet(m_filter);
        m_filter->clear();
        m_filter->addItem(u"すべての回"_s);
        for (const SavedTicket &ticket : m_tickets.tickets()) {
            const QString draw = u"第%1回"_s.arg(ticket.draw);
            if (m_filter->findText(draw) < 0)
                m_filter->addItem(draw);
        }
        m_filter->setCurrentIndex(std::max(0, m_filter->findText(wanted)));
    }
    m_view->setFilterFixedString(
        m_filter->currentIndex() > 0 ? m_filter->currentText() : QString());
    const TicketSummary summary = Summarise(m_game, m_tickets.tickets(), m_draws);
    QString text = !fault
        ? u"%1 口、購入 %2 円、当せん金 %3 円、収支 %4"_s.arg(Grouped(summary.tickets),
            Grouped(summary.spent), Grouped(summary.won), SignedYen(summary.balance()))
        : fault.text;
    QStringList apart;
    if (summary.noWinner > 0)
        apart << u"該当なし（金額不明）%1 口"_s.arg(Grouped(summary.noWinner));
    if (summary.unsettled > 0)
        apart << u"未確定 %1 口"_s.arg(Grouped(summary.unsettled));
    if (summary.undrawn > 0)
        apart << u"未抽せん %1 口"_s.arg(Grouped(summary.undrawn));
    if (!apart.isEmpty())
        text += u"（%1は当せん金に含みません）"_s.arg(apart.join(u'、'));
    m_summary->setText(text);
    m_summary->setAccessibleName(u"収支："_s + text);
    // The grades were of tickets that may be gone: no figure stays until a check runs again.
    m_gradeCounts.setCounts(std::nullopt);
    m_gradesNote->clear();
    m_remove->setEnabled(!chosen().empty());
    m_change->setEnabled(chosen().size() == 1);
}

std::vector<SavedTicket> FormCheck::chosen() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.push_back(m_view->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    std::vector<SavedTicket> tickets;
    for (const int row : rows)
        tickets.push_back(m_tickets.tickets()[std::size_t(row)]);
    return tickets;
}

std::vector<SavedTicket> FormCheck::shown() const
{
    std::vector<SavedTicket> tickets;
    for (int row = 0; row < m_view->rowCount(); ++row)
        tickets.push_back(
            m_tickets.tickets()[std::size_t(m_view->mapToSource(m_view->index(row, 0)).row())]);
    return tickets;
}

QString FormCheck::exportTickets(const QString &path, ExportEncoding encoding) const
{
    return WriteExport(path, CheckedTicketsCsv(m_game, shown(), m_draws), encoding);
}

void FormCheck::checkAll()
{
    std::vector<SavedTicket> chosenTickets = chosen();
    if (chosenTickets.empty())
        chosenTickets = shown();
    std::vector<Ticket> tickets;
    for (const SavedTicket &ticket : chosenTickets)
        tickets.push_back(ticket.numbers);
    const GradeCounts counts = CheckAgainstAll(m_game, tickets, m_draws);
    m_gradeCounts.setCounts(counts);
    m_gradesNote->setText(
        u"%1 口 × 過去の %2 回 = %3 回の照合。右の列は、無作為に選んだ券が同じ回数の照合で"
        u"平均して当たる回数です。"_s.arg(Grouped(qint64(tickets.size())))
            .arg(Grouped(qint64(m_draws.size())))
            .arg(Grouped(counts.checks)));
}

void FormCheck::enterTickets()
{
    const int latest = m_draws.empty() ? 0 : m_draws.back().number;
    EnterTicketsDialog dialog(m_game, latest + 1, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::vector<int> draws = dialog.draws();
    const QStringList already = SavedAlready(m_tickets.tickets(), draws, dialog.tickets());
    const StoreFault fault = m_ticketStore.save(draws, dialog.tickets(), TicketSource::Entered);
    refresh();
    emit databaseChanged();
    if (fault) {
        Seams::message(this, QMessageBox::Critical, u"券を保存できませんでした。\n"_s + fault.text);
        return;
    }
    if (!already.isEmpty())
        Seams::message(this, QMessageBox::Information,
            u"同じ数字の券が、すでに保存されていました：%1"_s.arg(already.join(u'、')));
}

void FormCheck::change()
{
    const std::vector<SavedTicket> one = chosen();
    if (one.size() != 1)
        return;
    EnterTicketsDialog dialog(m_game, one.front(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const StoreFault fault
        = m_ticketStore.change(one.front().id, dialog.draws().front(), dialog.tickets().front()))
        Seams::message(this, QMessageBox::Critical, u"券を修正できませんでした。\n"_s + fault.text);
    refresh();
    emit databaseChanged();
}

void FormCheck::remove()
{
    const std::vector<SavedTicket> tickets = chosen();
    if (tickets.empty())
        return;
    const auto answer = Seams::message(this, QMessageBox::Question,
        u"選んだ %1 口を削除します。よろしいですか？"_s.arg(Grouped(qint64(tickets.size()))),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    std::vector<qint64> ids;
    for (const SavedTicket &ticket : tickets)
        ids.push_back(ticket.id);
    if (const StoreFault fault = m_ticketStore.remove(ids))
        Seams::message(this, QMessageBox::Critical, u"券を削除できませんでした。\n"_s + fault.text);
    refresh();
    emit databaseChanged();
}
