#include "formtickets.h"

#include "engine/resultlog.h"
#include "look/programstyle.h"
#include "platform/module1.h"
#include "platform/seams.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

QSpinBox *spinBox(QWidget *parent, const QString &name, int minimum, int maximum, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

} // namespace

FormTickets::FormTickets(
    const QString &databasePath, const DrawInput &draw, const QString &logPath, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_database(databasePath)
    , m_draw(draw)
    , m_logPath(logPath)
{
    setWindowTitle(u"まとめて予想"_s);
    buildControls();
    showTickets();
    m_status->setText(m_database.fault()); // why 保存 is off, when the database cannot be used
}

void FormTickets::buildControls()
{
    auto *grid = new QGridLayout(this);
    const auto labelled = [&](const QString &caption, QWidget *field, int row, int column) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        field->setAccessibleName(caption.left(caption.indexOf(u"(&"_s)));
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
    };
    m_count = spinBox(this, u"count"_s, 1, MostTicketsAtOnce, 5);
    m_count->setSuffix(u" 口"_s);
    m_overlap = spinBox(this, u"overlap"_s, 0, 5, 5);
    m_fixed = new QLineEdit(this);
    m_fixed->setObjectName(u"fixed"_s);
    m_excluded = new QLineEdit(this);
    m_excluded->setObjectName(u"excluded"_s);
    for (QLineEdit *list : {m_fixed, m_excluded})
        list->setPlaceholderText(u"例：3 11 27"_s);
    labelled(u"口数(&N):"_s, m_count, 0, 0);
    labelled(u"共通数字の上限(&L):"_s, m_overlap, 0, 2);
    labelled(u"軸数字(&F):"_s, m_fixed, 1, 0);
    labelled(u"除外数字(&E):"_s, m_excluded, 1, 2);

    auto *make = new QPushButton(u"作成(&G)"_s, this);
    make->setObjectName(u"make"_s);
    make->setDefault(true);
    connect(make, &QPushButton::clicked, this, &FormTickets::make);
    grid->addWidget(make, 2, 3);

    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(u"table"_s);
    m_table->setAccessibleName(u"作成した券"_s);
    m_table->setHorizontalHeaderLabels({u"券"_s, u"数字"_s});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    grid->addWidget(m_table, 3, 0, 1, 4);

    m_status = new QLabel(this);
    m_status->setObjectName(u"status"_s);
    m_status->setWordWrap(true);
    m_status->setAccessibleName(u"結果"_s);
    grid->addWidget(m_status, 4, 0, 1, 4);

    m_copy = new QPushButton(u"コピー(&C)"_s, this);
    m_copy->setObjectName(u"copy"_s);
    connect(m_copy, &QPushButton::clicked, this, &FormTickets::copy);
    m_drawNumber = spinBox(this, u"draw"_s, 1, 99'999, m_database.latestDraw() + 1);
    m_drawNumber->setPrefix(u"第 "_s);
    m_drawNumber->setSuffix(u" 回"_s);
    m_save = new QPushButton(u"保存(&S)"_s, this);
    m_save->setObjectName(u"save"_s);
    connect(m_save, &QPushButton::clicked, this, &FormTickets::save);
    auto *close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    labelled(u"保存先の回(&D):"_s, m_drawNumber, 5, 0);
    grid->addWidget(m_save, 5, 2);
    grid->addWidget(m_copy, 6, 2);
    grid->addWidget(close, 6, 3);
    resize(480, 520);

    Module1::ShowHelpPageOnF1(this, u"tickets.htm"_s);
}

void FormTickets::seed(quint32 value)
{
    m_seed = value;
}

void FormTickets::make()
{
    m_tickets.clear();
    m_saved = false;
    const NumberList fixed = ParseNumberList(m_fixed->text());
    const NumberList excluded = ParseNumberList(m_excluded->text());
    QString refusal = !fixed.fault.isEmpty() ? u"軸数字の"_s + fixed.fault
        : !excluded.fault.isEmpty()          ? u"除外数字の"_s + excluded.fault
                                             : QString();
    if (refusal.isEmpty()) {
        if (m_seed)
            m_random.reseed(*std::exchange(m_seed, std::nullopt));
        else
            m_random.reseedFromClock();
        const TicketsMade made = DrawTickets(
            {m_draw, m_count->value(), fixed.numbers, excluded.numbers, m_overlap->value()},
            m_random);
        m_tickets = made.tickets;
        refusal = made.refusal.reason;
    }
    showTickets();
    if (!refusal.isEmpty()) {
        m_status->setText(refusal);
        Seams::message(this, QMessageBox::Warning, refusal);
        return;
    }
    m_status->setText(u"%1 口を作成しました。"_s.arg(m_tickets.size()));
    if (!m_logPath.isEmpty()) {
        for (const Ticket &ticket : m_tickets)
            AppendLogLine(m_logPath, Seams::now(), DrawText(ticket));
    }
}

void FormTickets::showTickets()
{
    m_table->setRowCount(int(m_tickets.size()));
    for (int row = 0; row < int(m_tickets.size()); ++row) {
        const QString letter = TicketLetter(row);
        const QString numbers = DrawText(m_tickets[std::size_t(row)]);
        m_table->setItem(row, 0, new QTableWidgetItem(letter));
        auto *item = new QTableWidgetItem(numbers);
        item->setData(Qt::AccessibleTextRole, u"%1：%2"_s.arg(letter, numbers));
        m_table->setItem(row, 1, item);
    }
    m_copy->setEnabled(!m_tickets.empty());
    m_save->setEnabled(!m_tickets.empty() && !m_saved && m_database.fault().isEmpty());
}

void FormTickets::copy()
{
    QStringList lines;
    for (int row = 0; row < int(m_tickets.size()); ++row)
        lines << TicketLetter(row) + u' ' + DrawText(m_tickets[std::size_t(row)]);
    QGuiApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
    m_status->setText(u"%1 口をクリップボードにコピーしました。"_s.arg(m_tickets.size()));
}

void FormTickets::save()
{
    const int draw = m_drawNumber->value();
    if (!m_database.saveTickets(draw, m_tickets)) {
        const QString why = m_database.fault().isEmpty() ? u"当せん番号の履歴に書き込めません。"_s
                                                         : m_database.fault();
        Seams::message(this, QMessageBox::Critical, u"券を保存できませんでした。\n"_s + why);
        return;
    }
    m_saved = true;
    m_status->setText(
        u"第 %1 回の券として %2 口を保存しました。"_s.arg(draw).arg(m_tickets.size()));
    showTickets();
}
