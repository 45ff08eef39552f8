#include "formwheel.h"

#include "engine/figures.h"
#include "engine/resultlog.h"
#include "look/tooltable.h"
#include "platform/seams.h"
#include "tickets/madeticketspanel.h"
#include "wheeltable.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

// The moves a search for fewer tickets makes before it stops by itself.
constexpr qint64 improveSteps = 30'000'000;

} // namespace

FormWheel::FormWheel(
    const QString &databasePath, const Game &game, const QString &logPath, QWidget *parent)
    : ToolWindow(databasePath, game, u"ホイール"_s, parent)
    , m_chances(this)
{
    buildControls();
    m_panel->setLogPath(logPath);
    m_search.emplace(
        m_jobControls, [this](std::vector<Block> found) { searchDone(std::move(found)); });
    frame({560, 720}, u"wheel.htm"_s, {}, [this] { m_panel->reload(); });
}

void FormWheel::buildControls()
{
    auto *grid = gridUnderGameChoice();
    const auto labelled = [&](const QString &caption, QWidget *field, int row) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        field->setAccessibleName(caption.left(caption.indexOf(u"(&"_s)));
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, 1, 3);
    };
    m_chosenEdit = new QLineEdit(this);
    m_chosenEdit->setObjectName(u"chosen"_s);
    m_chosenEdit->setPlaceholderText(u"7〜20 個、例：3 7 11 19 22 27 31 38 40 42"_s);
    m_guarantee = new QComboBox(this);
    m_guarantee->setObjectName(u"guarantee"_s);
    for (const Guarantee guarantee : Guarantees(m_game))
        m_guarantee->addItem(GuaranteeText(guarantee));
    m_most = new QSpinBox(this);
    m_most->setObjectName(u"most"_s);
    m_most->setRange(0, int(Binomial(MostChosen, m_game.drawn)));
    m_most->setSpecialValueText(u"なし（保証を満たす最少の口数）"_s);
    m_most->setSuffix(u" 口"_s);
    labelled(u"選んだ数字(&N):"_s, m_chosenEdit, 0);
    labelled(u"保証(&U):"_s, m_guarantee, 1);
    labelled(u"口数の上限(&L):"_s, m_most, 2);

    m_make = new QPushButton(u"作成(&M)"_s, this);
    m_make->setObjectName(u"make"_s);
    m_make->setDefault(true);
    connect(m_make, &QPushButton::clicked, this, &FormWheel::make);
    m_improve = new QPushButton(u"改善(&I)"_s, this);
    m_improve->setObjectName(u"improve"_s);
    m_improve->setEnabled(false);
    connect(m_improve, &QPushButton::clicked, this, &FormWheel::improve);
    m_jobControls = new JobControls(u"探索の進み具合"_s, this);
    grid->addWidget(m_jobControls, 3, 0, 1, 2);
    grid->addWidget(m_improve, 3, 2);
    grid->addWidget(m_make, 3, 3);

    m_panel
        = new MadeTicketsPanel(m_database, m_game, TicketSource::Wheel, u"ホイールの券"_s, this);
    connect(m_panel, &MadeTicketsPanel::saved, this, &FormWheel::databaseChanged);
    connect(m_panel, &MadeTicketsPanel::logged, this, &FormWheel::ticketsLogged);
    auto *close = new QPushButton(u"閉じる"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_panel->addButton(close);
    grid->addWidget(m_panel, 4, 0, 1, 4);

    const auto figure = [this](const QString &name) {
        auto *label = new QLabel(this);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    m_cost = figure(u"cost"_s);
    m_coverage = figure(u"coverage"_s);
    m_expected = figure(u"expected"_s);
    grid->addWidget(m_cost, 5, 0, 1, 4);
    grid->addWidget(m_coverage, 6, 0, 1, 4);
    auto *view = new QSortFilterProxyModel(this);
    view->setSourceModel(&m_chances);
    view->setSortRole(WheelChancesModel::SortRole);
    auto *table
        = ToolTable(this, view, u"chances"_s, u"選んだ数字のうち当たる数ごとの確率と一致"_s);
    table->sortByColumn(WheelChancesModel::Hits, Qt::AscendingOrder);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFixedHeight(table->horizontalHeader()->sizeHint().height()
        + 7 * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth());
    grid->addWidget(table, 7, 0, 1, 4);
    grid->addWidget(m_expected, 8, 0, 1, 4);
    auto *note = new QLabel(SameChanceText(m_game)
            + u"ホイールは当たる確率を上げません。どの券も毎回同じ確率で当たり、当せんする券の数の"
              u"期待値も同じ口数の無作為な券と同じです。変わるのは、当たりがどの券にどう分かれるか"
              u"だけです。保証は、選んだ数字のうち決まった数が当たったときにだけ働きます。"_s,
        this);
    note->setWordWrap(true);
    grid->addWidget(note, 9, 0, 1, 4);
    grid->setRowStretch(4, 1);
}

void FormWheel::seed(quint32 value)
{
    m_seed = value;
}

void FormWheel::setLogPath(const QString &logPath)
{
    m_panel->setLogPath(logPath);
}

void FormWheel::copy()
{
    m_panel->copy();
}

void FormWheel::save()
{
    m_panel->save();
}

bool FormWheel::searching() const
{
    return m_search->running();
}

void FormWheel::make()
{
    if (searching())
        return;
    ChosenNumbers chosen = ReadChosen(m_game, m_chosenEdit->text(), u"選んだ数字"_s);
    if (!chosen.refusal.isEmpty()) {
        m_panel->refuse({chosen.refusal});
        return;
    }
    m_chosen = std::move(chosen.numbers);
    m_wheelSeed
        = m_seed ? *std::exchange(m_seed, std::nullopt) : QRandomGenerator::global()->generate();
    const Guarantee guarantee = Guarantees(m_game)[std::size_t(m_guarantee->currentIndex())];
    const int v = int(m_chosen.size());
    std::vector<Block> shipped = ShippedWheel(m_game, v, guarantee);
    const QString &repeated = chosen.note;
    if (m_most->value() > 0 && int(shipped.size()) > m_most->value()) {
        m_improving = false;
        startSearch({v, guarantee, m_most->value(), m_wheelSeed, std::move(shipped),
            LimitedSearchSteps, m_game.drawn});
        return;
    }
    const QString made = u"%1 口のホイールを作成しました。"_s.arg(Grouped(qint64(shipped.size())));
    showWheel(MakeWheel(m_game, m_chosen, guarantee, std::move(shipped), m_wheelSeed),
        (QStringList {made} << repeated).join(u'\n').trimmed());
}

void FormWheel::improve()
{
    if (!m_wheel || searching())
        return;
    m_improving = true;
    startSearch({int(m_chosen.size()), m_wheel->guarantee, std::nullopt, m_wheelSeed,
        m_wheel->blocks, improveSteps, m_game.drawn});
}

void FormWheel::startSearch(const WheelSearchRequest &request)
{
    m_searched = request.guarantee;
    for (QWidget *control : {static_cast<QWidget *>(m_make), static_cast<QWidget *>(m_improve)})
        control->setEnabled(false);
    m_panel->setStatus(u"探索しています…"_s);
    m_search->start([request](JobState &state) {
        return SearchWheel(
            request, [&state](const WheelSearchProgress &now) { return state.advance(now.done); });
    });
}

void FormWheel::cancelSearch()
{
    m_search->cancel();
}

void FormWheel::searchDone(std::vector<Block> found)
{
    m_make->setEnabled(true);
    const QString stopped
        = m_search->cancelled() ? u"中止しました。見つかった中で最もよいものです。"_s : QString();
    if (m_improving) {
        const std::size_t before = m_wheel->blocks.size();
        if (found.size() >= before) {
            m_improve->setEnabled(true);
            m_panel->setStatus(
                (QStringList {u"%1 口より少ないホイールは見つかりませんでした。"_s.arg(
                     Grouped(qint64(before)))}
                    << stopped)
                    .join(u'\n')
                    .trimmed());
            return;
        }
        const QString fewer = u"%1 口から %2 口に減らしました。"_s.arg(
            Grouped(qint64(before)), Grouped(qint64(found.size())));
        showWheel(MakeWheel(m_game, m_chosen, m_searched, std::move(found), m_wheelSeed),
            (QStringList {fewer} << stopped).join(u'\n').trimmed());
        return;
    }
    const QString made = u"口数の上限 %1 口で、%2 口のホイールを作成しました。"_s.arg(
        Grouped(m_most->value()), Grouped(qint64(found.size())));
    showWheel(MakeWheel(m_game, m_chosen, m_searched, std::move(found), m_wheelSeed),
        (QStringList {made} << stopped).join(u'\n').trimmed());
}

void FormWheel::showWheel(Wheel wheel, const QString &status)
{
    m_wheel = std::move(wheel);
    m_panel->setTickets(m_wheel->tickets);
    m_panel->setStatus(status);
    m_cost->setText(CostText(*m_wheel));
    m_coverage->setText(GuaranteeText(m_wheel->guarantee) + u"："_s + CoverageText(*m_wheel));
    m_expected->setText(ExpectedWinsText(*m_wheel));
    for (QLabel *label : {m_cost, m_coverage, m_expected})
        label->setAccessibleName(label->text());
    m_chances.setWheel(&*m_wheel);
    const bool whole = m_wheel->coverage.holes == 0;
    m_improve->setEnabled(whole
        && qint64(m_wheel->blocks.size())
            > LowerBound(int(m_chosen.size()), m_game.drawn, m_wheel->guarantee));
}
