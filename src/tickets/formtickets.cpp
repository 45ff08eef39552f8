#include "formtickets.h"

#include "engine/figures.h"
#include "engine/resultlog.h"
#include "madeticketspanel.h"
#include "platform/seams.h"

#include <QGridLayout>
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

FormTickets::FormTickets(const QString &databasePath, const Game &game, const DrawInput &draw,
    const QString &logPath, QWidget *parent)
    : ToolWindow(databasePath, game, u"まとめて予想"_s, parent)
    , m_draw(draw)
{
    buildControls();
    m_panel->setLogPath(logPath);
    frame({480, 520}, u"tickets.htm"_s, {}, [this] { m_panel->reload(); });
}

void FormTickets::buildControls()
{
    auto *grid = gridUnderGameChoice();
    const auto labelled = [&](const QString &caption, QWidget *field, int row, int column) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        field->setAccessibleName(caption.left(caption.indexOf(u"(&"_s)));
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
    };
    m_count = spinBox(this, u"count"_s, 1, MostTicketsAtOnce, 5);
    m_count->setSuffix(u" 口"_s);
    m_overlap = spinBox(this, u"overlap"_s, 0, m_game.mostFixed(), m_game.mostFixed());
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

    auto *make = new QPushButton(u"作成(&M)"_s, this);
    make->setObjectName(u"make"_s);
    make->setDefault(true);
    connect(make, &QPushButton::clicked, this, &FormTickets::make);
    grid->addWidget(make, 2, 3);

    m_panel = new MadeTicketsPanel(m_database, m_game, TicketSource::Made, u"作成した券"_s, this);
    connect(m_panel, &MadeTicketsPanel::saved, this, &FormTickets::databaseChanged);
    connect(m_panel, &MadeTicketsPanel::logged, this, &FormTickets::ticketsLogged);
    auto *close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_panel->addButton(close);
    grid->addWidget(m_panel, 3, 0, 1, 4);
    // The profiles, the level switch and the birthday are the 6-of-43 game's.
    const QString draws = m_game.levels
        ? QString()
        : u"%1の券は、プロファイルの出現率も誕生日も使わず、どの数字も同じ確率で選びます。"_s.arg(
            m_game.name);
    auto *note = new QLabel(SameChanceText(m_game)
            + u"どの券も毎回同じ確率で当たり、ここで作る券も、当たりやすさは変わりません。"_s
            + draws,
        this);
    note->setWordWrap(true);
    grid->addWidget(note, 4, 0, 1, 4);
    grid->setRowStretch(3, 1);
}

void FormTickets::seed(quint32 value)
{
    m_seed = value;
}

void FormTickets::setDrawInput(const DrawInput &draw, const QString &logPath)
{
    m_draw = draw;
    m_panel->setLogPath(logPath);
}

void FormTickets::copy()
{
    m_panel->copy();
}

void FormTickets::save()
{
    m_panel->save();
}

void FormTickets::make()
{
    if (m_seed)
        m_random.reseed(*std::exchange(m_seed, std::nullopt));
    else
        m_random.reseedFromClock();
    const TypedTicketsMade answer = MakeTickets(m_game,
        {m_draw, m_count->value(), m_fixed->text(), m_excluded->text(), m_overlap->value(),
            u"軸数字"_s, u"除外数字"_s},
        m_random);
    // A refusal keeps the tickets shown.
    if (const QString &refusal = answer.made.refusal.reason; !refusal.isEmpty()) {
        m_panel->refuse(QStringList {refusal} << answer.notes);
        return;
    }
    m_panel->setTickets(answer.made.tickets);
    m_panel->setStatus(
        (QStringList {u"%1 口を作成しました。"_s.arg(Grouped(qint64(answer.made.tickets.size())))}
            << answer.notes)
            .join(u'\n'));
}
