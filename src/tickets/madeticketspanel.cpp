#include "madeticketspanel.h"

#include "engine/figures.h"
#include "engine/resultlog.h"
#include "look/alert.h"
#include "look/tooltable.h"
#include "platform/seams.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>

using namespace Qt::StringLiterals;

MadeTicketsPanel::MadeTicketsPanel(HistoryDatabase &database, const Game &game, TicketSource source,
    const QString &tableName, QWidget *parent)
    : QWidget(parent)
    , m_database(database)
    , m_draws(database, game)
    , m_store(database, game)
    , m_source(source)
    , m_tickets(this)
{
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins({});
    auto *view = new QSortFilterProxyModel(this);
    view->setSourceModel(&m_tickets);
    view->setSortRole(TicketsModel::SortRole);
    m_table = ToolTable(this, view, u"table"_s, tableName);
    m_table->sortByColumn(TicketsModel::Letter, Qt::AscendingOrder);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_grid->addWidget(m_table, 0, 0, 1, 4);

    m_status = new QLabel(this);
    m_status->setObjectName(u"status"_s);
    m_status->setWordWrap(true);
    m_grid->addWidget(m_status, 1, 0, 1, 4);

    // Empty (0) while no draw is stored: 保存 then asks which draw the tickets are for.
    const int latest = m_draws.latestDraw().value;
    m_drawNumber = new QSpinBox(this);
    m_drawNumber->setObjectName(u"draw"_s);
    m_drawNumber->setRange(0, LastDrawNumber);
    m_drawNumber->setValue(latest > 0 ? latest + 1 : 0);
    m_drawNumber->setSpecialValueText(u" "_s);
    m_drawNumber->setPrefix(u"第 "_s);
    m_drawNumber->setSuffix(u" 回"_s);
    m_drawNumber->setAccessibleName(u"保存先の回"_s);
    connect(m_drawNumber, &QSpinBox::valueChanged, this, [this] {
        // Other tickets for another draw: they can be saved again, lettered after its own.
        m_saved = false;
        showTickets();
    });
    auto *drawLabel = new QLabel(u"保存先の回(&D):"_s, this);
    drawLabel->setBuddy(m_drawNumber);
    m_save = new QPushButton(u"保存(&S)"_s, this);
    m_save->setObjectName(u"save"_s);
    connect(m_save, &QPushButton::clicked, this, &MadeTicketsPanel::save);
    m_copy = new QPushButton(u"コピー(&C)"_s, this);
    m_copy->setObjectName(u"copy"_s);
    connect(m_copy, &QPushButton::clicked, this, &MadeTicketsPanel::copy);
    m_grid->addWidget(drawLabel, 2, 0);
    m_grid->addWidget(m_drawNumber, 2, 1);
    m_grid->addWidget(m_save, 2, 2);
    m_grid->addWidget(m_copy, 3, 2);
    setStatus({});
    reload();
}

void MadeTicketsPanel::addButton(QPushButton *button)
{
    m_grid->addWidget(button, 3, 3);
}

void MadeTicketsPanel::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->setAccessibleName(text.isEmpty() ? u"結果"_s : u"結果："_s + text);
}

void MadeTicketsPanel::refuse(const QStringList &lines)
{
    QStringList told = lines;
    told.removeAll(QString());
    m_earlier = !m_tickets.tickets().empty();
    if (m_earlier)
        told << u"表示中の券は、前回の条件で作成した券です。"_s;
    setStatus(told.join(u'\n'));
    Alert(m_status);
}

void MadeTicketsPanel::setTickets(std::vector<Ticket> tickets)
{
    m_saved = false;
    m_earlier = false;
    m_tickets.setTickets(std::move(tickets), m_store.nextLine(m_drawNumber->value()).value);
    showTickets();
    if (!m_logPath.isEmpty()) {
        QStringList lines;
        for (const Ticket &ticket : m_tickets.tickets())
            lines << DrawText(ticket);
        AppendLogLines(m_logPath, Seams::now(), lines);
        emit logged();
    }
}

void MadeTicketsPanel::setLogPath(const QString &path)
{
    m_logPath = path;
}

void MadeTicketsPanel::reload()
{
    const StoreResult<int> latest = m_draws.latestDraw();
    if (m_drawNumber->value() == 0 && latest.value > 0)
        m_drawNumber->setValue(latest.value + 1);
    // Why 保存 is off while the database cannot be used, and nothing once that has passed.
    const StoreFault fault = latest.fault;
    if (fault || m_fault)
        setStatus(fault.text);
    m_fault = fault;
    showTickets();
}

void MadeTicketsPanel::showTickets()
{
    // Until they are saved, the tickets are lettered after those saved for the chosen draw.
    const bool none = m_tickets.tickets().empty();
    const StoreResult<int> firstLine = m_store.nextLine(m_drawNumber->value());
    if (!m_saved && !none && firstLine.ok() && firstLine.value != m_tickets.firstLine())
        m_tickets.setTickets(m_tickets.tickets(), firstLine.value);
    m_copy->setEnabled(!none);
    // A lock held by another program passes: 保存 stays, and tells so when pressed too soon.
    const bool usable = (!m_fault || m_fault.busy()) && (firstLine.ok() || firstLine.fault.busy());
    m_save->setEnabled(!none && !m_saved && usable);
}

void MadeTicketsPanel::copy()
{
    QGuiApplication::clipboard()->setText(m_tickets.lines().join(u'\n') + u'\n');
    setStatus(u"%1 口をクリップボードにコピーしました。"_s.arg(
        Grouped(qint64(m_tickets.tickets().size()))));
}

void MadeTicketsPanel::save()
{
    if (m_drawNumber->value() == 0) {
        const QString typed = Seams::input(
            this, u"保存"_s, u"券を保存する回（第 N 回の N）を入力してください。"_s, QString())
                                  .trimmed();
        if (typed.isEmpty()) // cancelled
            return;
        bool ok = false;
        const int draw = typed.toInt(&ok);
        if (!ok || draw < 1 || draw > LastDrawNumber) {
            Seams::message(this, QMessageBox::Critical,
                u"「%1」は回として使えません。1 から %2 までの数で入力してください。"_s.arg(
                    typed, Grouped(LastDrawNumber)));
            return;
        }
        m_drawNumber->setValue(draw);
    }
    const int draw = m_drawNumber->value();
    if (m_earlier
        && Seams::message(this, QMessageBox::Question,
               u"表示中の券は、前回の条件で作成した券です（いまの条件では作成できませんでした）。"
               u"この券を保存しますか？"_s,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    // Tickets made now for a draw already held would count as if bought before it.
    if (m_draws.hasDraw(draw).value
        && Seams::message(this, QMessageBox::Question,
               u"第 %1 回の当せん番号はもう登録されています。いま作成した券をこの回の券として"
               u"保存すると、当せん確認の集計に含まれます。保存しますか？"_s.arg(draw),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    if (const StoreResult<int> line = m_store.nextLine(draw); line.ok())
        m_tickets.setTickets(m_tickets.tickets(), line.value);
    if (const StoreFault fault = m_store.save({draw}, m_tickets.tickets(), m_source)) {
        Seams::message(this, QMessageBox::Critical, u"券を保存できませんでした。\n"_s + fault.text);
        showTickets();
        return;
    }
    m_saved = true;
    emit saved();
    const int count = int(m_tickets.tickets().size());
    setStatus(u"第 %1 回の券として %2 口を保存しました（%3〜%4）。"_s.arg(draw)
                  .arg(Grouped(count))
                  .arg(m_tickets.letterOf(0), m_tickets.letterOf(count - 1)));
    showTickets();
}
