#include "formtickets.h"

#include "engine/resultlog.h"
#include "history/databasewatch.h"
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
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>

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
    , m_tickets(this)
{
    setWindowTitle(u"まとめて予想"_s);
    buildControls();
    m_watch = new DatabaseWatch(this, m_database, [this] {
        if (m_drawNumber->value() == 0 && m_database.latestDraw() > 0)
            m_drawNumber->setValue(m_database.latestDraw() + 1);
        showTickets();
    });
    showTickets();
    setStatus(m_database.fault()); // why 保存 is off, when the database cannot be used
}

void FormTickets::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->setAccessibleName(text.isEmpty() ? u"結果"_s : u"結果："_s + text);
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
    m_overlap = spinBox(this, u"overlap"_s, 0, MostSharedNumbers, MostSharedNumbers);
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

    auto *view = new QSortFilterProxyModel(this);
    view->setSourceModel(&m_tickets);
    view->setSortRole(TicketsModel::SortRole);
    m_table = new QTableView(this);
    m_table->setObjectName(u"table"_s);
    m_table->setAccessibleName(u"作成した券"_s);
    m_table->setModel(view);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(TicketsModel::Letter, Qt::AscendingOrder);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    grid->addWidget(m_table, 3, 0, 1, 4);

    m_status = new QLabel(this);
    m_status->setObjectName(u"status"_s);
    m_status->setWordWrap(true);
    grid->addWidget(m_status, 4, 0, 1, 4);
    auto *note
        = new QLabel(u"抽せんは毎回独立しています。どの券も、これまでに何が出たかに関係なく、"
                     u"毎回同じ確率で当たります。ここで作る券も、当たりやすさは変わりません。"_s,
            this);
    note->setWordWrap(true);
    grid->addWidget(note, 7, 0, 1, 4);

    m_copy = new QPushButton(u"コピー(&C)"_s, this);
    m_copy->setObjectName(u"copy"_s);
    connect(m_copy, &QPushButton::clicked, this, &FormTickets::copy);
    // Empty (0) while no draw is stored: 保存 then asks which draw the tickets are for.
    const int latest = m_database.latestDraw();
    m_drawNumber = spinBox(this, u"draw"_s, 0, LastDrawNumber, latest > 0 ? latest + 1 : 0);
    m_drawNumber->setSpecialValueText(u" "_s);
    m_drawNumber->setPrefix(u"第 "_s);
    m_drawNumber->setSuffix(u" 回"_s);
    connect(m_drawNumber, &QSpinBox::valueChanged, this, [this] {
        // Other tickets for another draw: they can be saved again, lettered after its own.
        m_saved = false;
        showTickets();
    });
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

void FormTickets::setDrawInput(const DrawInput &draw, const QString &logPath)
{
    m_draw = draw;
    m_logPath = logPath;
}

void FormTickets::reload()
{
    m_watch->reload();
}

void FormTickets::make()
{
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
        refusal = made.refusal.reason;
        if (refusal.isEmpty()) {
            m_tickets.setTickets(made.tickets, 0);
            m_saved = false;
        }
    }
    // A refusal keeps the tickets shown.
    QStringList notes {RepeatedNote(u"軸数字"_s, fixed), RepeatedNote(u"除外数字"_s, excluded)};
    notes.removeAll(QString());
    if (!refusal.isEmpty()) {
        setStatus((QStringList {refusal} << notes).join(u'\n'));
        Seams::message(this, QMessageBox::Warning, refusal);
        return;
    }
    showTickets();
    setStatus((QStringList {u"%1 口を作成しました。"_s.arg(m_tickets.tickets().size())} << notes)
                  .join(u'\n'));
    if (!m_logPath.isEmpty()) {
        for (const Ticket &ticket : m_tickets.tickets())
            AppendLogLine(m_logPath, Seams::now(), DrawText(ticket));
        emit ticketsLogged();
    }
}

void FormTickets::showTickets()
{
    // Until they are saved, the tickets are lettered after those saved for the chosen draw.
    const bool none = m_tickets.tickets().empty();
    if (!m_saved && !none)
        m_tickets.setTickets(m_tickets.tickets(), m_database.nextLine(m_drawNumber->value()));
    m_copy->setEnabled(!none);
    m_save->setEnabled(!none && !m_saved && m_database.fault().isEmpty());
}

void FormTickets::copy()
{
    QGuiApplication::clipboard()->setText(m_tickets.lines().join(u'\n') + u'\n');
    setStatus(u"%1 口をクリップボードにコピーしました。"_s.arg(m_tickets.tickets().size()));
}

void FormTickets::save()
{
    if (m_drawNumber->value() == 0) {
        bool ok = false;
        const int draw = Seams::input(
            this, u"保存"_s, u"券を保存する回（第 N 回の N）を入力してください。"_s, QString())
                             .trimmed()
                             .toInt(&ok);
        if (!ok || draw < 1 || draw > LastDrawNumber)
            return;
        m_drawNumber->setValue(draw);
    }
    const int draw = m_drawNumber->value();
    // Tickets made now for a draw already held would count as if bought before it.
    if (m_database.hasDraw(draw)
        && Seams::message(this, QMessageBox::Question,
               u"第 %1 回の当せん番号はもう登録されています。いま作成した券をこの回の券として"
               u"保存すると、当せん確認の集計に含まれます。保存しますか？"_s.arg(draw),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    m_tickets.setTickets(m_tickets.tickets(), m_database.nextLine(draw));
    if (!m_database.saveTickets(draw, m_tickets.tickets())) {
        const QString why = m_database.fault().isEmpty() ? u"当せん番号の履歴に書き込めません。"_s
                                                         : m_database.fault();
        Seams::message(this, QMessageBox::Critical, u"券を保存できませんでした。\n"_s + why);
        return;
    }
    m_saved = true;
    emit databaseChanged();
    const int count = int(m_tickets.tickets().size());
    setStatus(u"第 %1 回の券として %2 口を保存しました（%3〜%4）。"_s.arg(draw).arg(count).arg(
        m_tickets.letterOf(0), m_tickets.letterOf(count - 1)));
    showTickets();
}
