#include "formhistory.h"

#include "drawdialog.h"
#include "engine/chance.h"
#include "engine/figures.h"
#include "exportchoice.h"
#include "historychart.h"
#include "layouts/setuplayout.h"
#include "look/alert.h"
#include "look/tooltable.h"
#include "platform/seams.h"
#include "settings/toolchoices.h"
#include "update/sourcecheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<int, 4> periods {50, 100, 200, 0}; // 0: all
constexpr int chosenPeriod = int(periods.size()); // 指定した範囲

const std::array<std::pair<QString, LevelRule>, 3> &rules()
{
    static const std::array<std::pair<QString, LevelRule>, 3> all {
        std::pair(u"偶然の幅を考えて"_s, LevelRule::WithinChance),
        std::pair(u"よく出た数字ほど高く"_s, LevelRule::OftenDrawnHigher),
        std::pair(u"出ていない数字ほど高く"_s, LevelRule::SeldomDrawnHigher)};
    return all;
}

QSortFilterProxyModel *sorted(QAbstractItemModel *model, int role, QSortFilterProxyModel *proxy)
{
    proxy->setSourceModel(model);
    proxy->setSortRole(role);
    return proxy;
}

} // namespace

// What a read in the background did, source by source.
FormHistory::FormHistory(const QString &databasePath, const Game &game, const QString &choicesPath,
    bool levelsOn, int strength, QWidget *parent)
    : ToolWindow(databasePath, game, u"当せん番号の履歴"_s, parent)
    , m_choicesPath(choicesPath)
    , m_stored(ReadProfileTable())
    , m_levelsOn(levelsOn)
    , m_strength(strength)
    , m_statistics(this)
    , m_draws(m_game, this)
{
    setAcceptDrops(true);
    buildControls();
    recallChoice();
    m_import.emplace(
        m_jobControls, [this](const std::shared_ptr<Outcome> &outcome) { importDone(*outcome); });
    frame({760, 700}, u"history.htm"_s, {}, [this] {
        if (!importing())
            reload(m_store.draws().value);
    });
    reload(m_store.draws().value);
}

void FormHistory::buildControls()
{
    auto *grid = gridUnderGameChoice();
    auto *read = new QPushButton(u"ファイルから読み込む(&I)..."_s, this);
    auto *paste = new QPushButton(u"貼り付け(&V)"_s, this);
    connect(read, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, u"当せん番号のファイル"_s, {},
            u"当せん番号 (*.csv *.txt);;すべてのファイル (*)"_s);
        if (!file.isEmpty())
            readFile(file);
    });
    connect(paste, &QPushButton::clicked, this,
        [this] { readText(QGuiApplication::clipboard()->text()); });
    paste->setObjectName(u"paste"_s);
    auto *update = new QPushButton(u"最新の結果を取得(&U)"_s, this);
    update->setObjectName(u"update"_s);
    update->setToolTip(u"%1の最新の当せん番号を取得元から取得します"_s.arg(m_game.name));
    auto *updateAll = new QPushButton(u"全ゲーム(&L)"_s, this);
    updateAll->setObjectName(u"updateAll"_s);
    updateAll->setToolTip(u"全ゲームの最新の当せん番号を取得元から取得します"_s);
    updateAll->setAccessibleName(u"全ゲームの最新の結果を取得"_s);
    m_updateButtons = {update, updateAll};
    connect(update, &QPushButton::clicked, this, [this] { emit updateAsked(false); });
    connect(updateAll, &QPushButton::clicked, this, [this] { emit updateAsked(true); });
    m_updateBar = new QProgressBar(this);
    m_updateBar->setAccessibleName(u"取得の進み具合"_s);
    m_updateCancel = new QPushButton(u"取得を中止(&T)"_s, this);
    m_updateCancel->setObjectName(u"updateCancel"_s);
    connect(m_updateCancel, &QPushButton::clicked, this, &FormHistory::updateCancelled);
    m_updateBar->hide();
    m_updateCancel->hide();
    m_storedLabel = new QLabel(this);
    m_storedLabel->setObjectName(u"stored"_s);
    m_storedLabel->setWordWrap(true);
    m_sourceLabel = new QLabel(this);
    m_sourceLabel->setObjectName(u"source"_s);
    m_sourceLabel->setWordWrap(true);
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(u"report"_s);
    m_report->setReadOnly(true);
    m_report->setAccessibleName(u"読み込みの結果"_s);
    // A long report scrolls within a few lines rather than pushing the window off the screen.
    m_report->setMaximumHeight(m_report->fontMetrics().lineSpacing() * 5
        + 2 * (m_report->frameWidth() + int(m_report->document()->documentMargin())));
    m_report->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_jobControls = new JobControls(u"読み込みの進み具合"_s, this);

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(u"tabs"_s);
    tabs->setAccessibleName(u"統計と登録済みの回"_s);
    tabs->addTab(statisticsTab(), u"統計(&S)"_s);
    tabs->addTab(drawsTab(), u"登録済みの回(&R)"_s);
    // A tab chosen by its key takes the keyboard to its table, on a row, for 修正 and 削除.
    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs] {
        QTableView *table = tabs->currentIndex() == 0 ? m_table : m_drawsTable;
        if (!table->currentIndex().isValid() && table->model()->rowCount() > 0)
            table->setCurrentIndex(table->model()->index(0, 0));
        table->setFocus();
    });

    m_target = new QComboBox(this);
    m_target->setObjectName(u"target"_s);
    m_target->setAccessibleName(u"反映先"_s);
    for (const AppearanceProfile &profile : m_stored.profiles)
        m_target->addItem(profile.name);
    const bool valid = m_stored.activeIndex >= 0 && m_stored.activeIndex < ProfileCount;
    m_target->setCurrentIndex(valid ? m_stored.activeIndex : 0);
    auto *targetLabel = new QLabel(u"反映先(&P):"_s, this);
    targetLabel->setBuddy(m_target);
    m_rule = new QComboBox(this);
    m_rule->setObjectName(u"rule"_s);
    m_rule->setAccessibleName(u"方針"_s);
    for (const auto &[name, rule] : rules())
        m_rule->addItem(name);
    auto *ruleLabel = new QLabel(u"方針(&M):"_s, this);
    ruleLabel->setBuddy(m_rule);
    m_apply = new QPushButton(u"反映(&A)"_s, this);
    m_apply->setObjectName(u"apply"_s);
    auto *close = new QPushButton(u"閉じる"_s, this);
    connect(m_apply, &QPushButton::clicked, this, &FormHistory::apply);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QComboBox *choice : {m_target, m_rule})
        connect(choice, &QComboBox::currentIndexChanged, this, &FormHistory::refresh);
    if (!m_game.levels) {
        const QString why = u"出現率を反映できるのはロト6だけです（プロファイルは 1 から 43 の"
                            u"数字の出現率です）。"_s;
        for (QWidget *levels : std::initializer_list<QWidget *> {m_target, m_rule, m_apply}) {
            levels->setEnabled(false);
            levels->setToolTip(why);
            levels->setAccessibleDescription(why);
        }
    }

    grid->addWidget(read, 0, 0);
    grid->addWidget(paste, 0, 1);
    grid->addWidget(update, 0, 2);
    grid->addWidget(updateAll, 0, 3);
    grid->addWidget(m_storedLabel, 0, 4, 1, 2);
    grid->addWidget(m_sourceLabel, 1, 0, 1, 6);
    grid->addWidget(m_report, 2, 0, 1, 6);
    auto *fetching = new QHBoxLayout;
    fetching->addWidget(m_updateBar, 1);
    fetching->addWidget(m_updateCancel);
    grid->addLayout(fetching, 3, 0, 1, 6);
    grid->addWidget(m_jobControls, 4, 0, 1, 6);
    grid->addWidget(tabs, 5, 0, 1, 6);
    grid->addWidget(targetLabel, 6, 0);
    grid->addWidget(m_target, 6, 1);
    grid->addWidget(ruleLabel, 6, 2);
    grid->addWidget(m_rule, 6, 3);
    grid->addWidget(m_apply, 6, 4);
    grid->addWidget(close, 6, 5);
    grid->setRowStretch(5, 1);
    m_writers = {read, paste, update, updateAll};
}

QWidget *FormHistory::statisticsTab()
{
    auto *tab = new QWidget(this);
    auto *grid = new QGridLayout(tab);
    m_period = new QComboBox(tab);
    m_period->setObjectName(u"period"_s);
    m_period->addItems(
        {u"直近 50 回"_s, u"直近 100 回"_s, u"直近 200 回"_s, u"すべて"_s, u"指定した範囲"_s});
    m_period->setCurrentIndex(int(periods.size()) - 1);
    m_period->setAccessibleName(u"期間"_s);
    auto *periodLabel = new QLabel(u"期間(&N):"_s, tab);
    periodLabel->setBuddy(m_period);
    m_from = new QSpinBox(tab);
    m_from->setObjectName(u"from"_s);
    m_from->setAccessibleName(u"最初の回"_s);
    m_to = new QSpinBox(tab);
    m_to->setObjectName(u"to"_s);
    m_to->setAccessibleName(u"最後の回"_s);
    for (QSpinBox *draw : {m_from, m_to}) {
        draw->setPrefix(u"第"_s);
        draw->setSuffix(u"回"_s);
        draw->setKeyboardTracking(false);
        connect(draw, &QSpinBox::valueChanged, this, &FormHistory::refresh);
        connect(draw, &QSpinBox::valueChanged, this, &FormHistory::keepChoice);
    }
    connect(m_period, &QComboBox::currentIndexChanged, this, &FormHistory::refresh);
    connect(m_period, &QComboBox::currentIndexChanged, this, &FormHistory::keepChoice);
    m_fromZero = new QCheckBox(u"縦軸を 0 から(&Z)"_s, tab);
    m_fromZero->setObjectName(u"fromZero"_s);
    connect(m_fromZero, &QCheckBox::toggled, this, [this](bool fromZero) {
        m_chart->setAxisFromZero(fromZero);
        keepChoice();
    });
    m_rangeLabel = new QLabel(tab);
    m_rangeLabel->setObjectName(u"range"_s);
    m_rangeLabel->setWordWrap(true);

    auto *note = new QLabel(SameChanceText(m_game)
            + u"この統計は出現レベルを決めるための材料で、予想ではありません。グラフの帯は、"
              u"偶然だけでおよそ 95% の数字が入る幅です。"_s,
        tab);
    note->setWordWrap(true);

    m_statisticsView
        = sorted(&m_statistics, StatisticsModel::SortRole, new QSortFilterProxyModel(this));
    m_table = ToolTable(tab, m_statisticsView, u"table"_s, u"数字ごとの統計"_s);
    m_table->setMinimumHeight(160);
    m_table->sortByColumn(StatisticsModel::Number, Qt::AscendingOrder);
    m_chart = new HistoryChart(tab);
    m_chart->setObjectName(u"chart"_s);
    auto *exportTable = new QPushButton(u"表を書き出す(&X)..."_s, tab);
    connect(exportTable, &QPushButton::clicked, this,
        [this] { exportAs(&FormHistory::exportStatistics); });

    grid->addWidget(periodLabel, 0, 0);
    grid->addWidget(m_period, 0, 1);
    grid->addWidget(m_from, 0, 2);
    grid->addWidget(m_to, 0, 3);
    auto *chartAndExport = new QHBoxLayout;
    chartAndExport->addWidget(m_fromZero);
    chartAndExport->addStretch();
    chartAndExport->addWidget(exportTable);
    grid->addLayout(chartAndExport, 0, 4);
    grid->addWidget(m_rangeLabel, 1, 0, 1, 5);
    grid->addWidget(note, 2, 0, 1, 5);
    grid->addWidget(m_chart, 3, 0, 1, 5);
    grid->addWidget(m_table, 4, 0, 1, 5);
    grid->setRowStretch(3, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(4, 1);
    return tab;
}

void FormHistory::exportAs(QString (FormHistory::*write)(const QString &, ExportEncoding) const)
{
    ExportAs(this,
        write == &FormHistory::exportDraws ? u"当せん番号.csv"_s : u"当せん番号の統計.csv"_s,
        [&](const QString &path, ExportEncoding encoding) {
            return (this->*write)(path, encoding);
        });
}

QString FormHistory::exportStatistics(const QString &path, ExportEncoding encoding) const
{
    // The period first, as data: its draws, its dates and how many of them are stored.
    const QString period = u"期間,第%1回,第%2回,%3,%4,%5\r\n"_s.arg(m_figures.range.first)
                               .arg(m_figures.range.last)
                               .arg(m_figures.firstDate.toString(u"yyyy/MM/dd"_s),
                                   m_figures.lastDate.toString(u"yyyy/MM/dd"_s))
                               .arg(m_figures.draws);
    return WriteExport(
        path, period + TableCsv(*m_statisticsView, StatisticsModel::ExportRole), encoding);
}

bool FormHistory::writable() const
{
    // A lock held by another program passes: the command tells so if it is tried too soon.
    return !m_database.fault() || m_database.fault().busy();
}

bool FormHistory::importing() const
{
    return m_import->running();
}

void FormHistory::setDrawOptions(bool levelsOn, int strength)
{
    m_levelsOn = levelsOn;
    m_strength = strength;
    refresh();
}

void FormHistory::reloadProfiles()
{
    m_stored = ReadProfileTable();
    const QSignalBlocker quiet(m_target);
    for (int slot = 0; slot < ProfileCount; ++slot)
        m_target->setItemText(slot, m_stored.profiles[std::size_t(slot)].name);
    refresh();
}

void FormHistory::reload(std::vector<PastDraw> stored)
{
    m_draws.setDraws(std::move(stored));
    m_drawsTable->resizeColumnsToContents();
    const auto &draws = m_draws.draws();
    if (!draws.empty()) {
        const QSignalBlocker fromBlocked(m_from);
        const QSignalBlocker toBlocked(m_to);
        const bool wasAll
            = m_from->value() == m_from->minimum() && m_to->value() == m_to->maximum();
        for (QSpinBox *draw : {m_from, m_to})
            draw->setRange(draws.front().number, draws.back().number);
        if (m_recalledRange) {
            m_from->setValue(m_recalledRange->first);
            m_to->setValue(m_recalledRange->last);
            m_recalledRange.reset();
        } else if (wasAll || m_period->currentIndex() != chosenPeriod) {
            m_from->setValue(draws.front().number);
            m_to->setValue(draws.back().number);
        }
    }
    const auto last = m_store.lastImport().value;
    const auto checked = LastSourceCheck(m_database, m_game).value;
    QStringList sources;
    if (last)
        sources << u"最後の読み込み：%1、%2"_s.arg(
            last->time.toString(u"yyyy/MM/dd HH:mm"_s), last->source);
    if (checked)
        sources << u"最後の取得：%1、%2、%3"_s.arg(
            checked->time.toLocalTime().toString(u"yyyy/MM/dd HH:mm"_s),
            AddressText(checked->address), checked->brought);
    m_sourceLabel->setText(sources.join(u'\n'));
    refresh();
}

void FormHistory::recallChoice()
{
    const StatisticsChoice choice = ReadStatisticsChoice(m_choicesPath);
    const QSignalBlocker periodQuiet(m_period);
    const QSignalBlocker axisQuiet(m_fromZero);
    if (choice.period >= 0 && choice.period < m_period->count())
        m_period->setCurrentIndex(choice.period);
    if (m_period->currentIndex() == chosenPeriod)
        m_recalledRange = DrawRange {choice.from, choice.to};
    m_fromZero->setChecked(choice.axisFromZero);
    m_chart->setAxisFromZero(choice.axisFromZero);
}

void FormHistory::keepChoice()
{
    WriteStatisticsChoice(m_choicesPath,
        {m_period->currentIndex(), m_from->value(), m_to->value(), m_fromZero->isChecked()});
}

DrawRange FormHistory::chosenRange() const
{
    const int index = m_period->currentIndex();
    if (index == chosenPeriod)
        return {std::min(m_from->value(), m_to->value()), std::max(m_from->value(), m_to->value())};
    return LastDraws(m_draws.draws(), periods[std::size_t(index)]);
}

void FormHistory::refresh()
{
    const std::vector<PastDraw> &draws = m_draws.draws();
    const QString missing = MissingText(m_draws.missing());
    if (const StoreFault &fault = m_database.fault())
        m_storedLabel->setText(fault.text);
    else if (draws.empty())
        m_storedLabel->setText(u"登録されている当せん番号はありません。"_s);
    else
        m_storedLabel->setText(
            u"登録済み %1 回（第%2回 %3 〜 第%4回 %5）%6"_s.arg(Grouped(qint64(draws.size())))
                .arg(draws.front().number)
                .arg(draws.front().date.toString(u"yyyy/MM/dd"_s))
                .arg(draws.back().number)
                .arg(draws.back().date.toString(u"yyyy/MM/dd"_s),
                    missing.isEmpty() ? QString() : u"、"_s + missing));
    const bool chosen = m_period->currentIndex() == chosenPeriod;
    m_from->setEnabled(chosen && !draws.empty());
    m_to->setEnabled(chosen && !draws.empty());

    const DrawRange range = chosenRange();
    m_figures = StatisticsOf(m_game, draws, range);
    const QString missingInPeriod = MissingText(MissingWithin(m_draws.missing(), range));
    m_rangeLabel->setText(m_figures.draws == 0
            ? QString()
            : u"第%1回〜第%2回、%3〜%4、登録 %5 回%6"_s.arg(range.first)
                  .arg(range.last)
                  .arg(m_figures.firstDate.toString(u"yyyy/MM/dd"_s),
                      m_figures.lastDate.toString(u"yyyy/MM/dd"_s), Grouped(m_figures.draws),
                      missingInPeriod.isEmpty() ? QString() : u"（"_s + missingInPeriod + u"）"_s));
    m_chart->show(m_figures, m_period->currentText());
    // The profiles hold the 6-of-43 game's levels: another game's statistics have none.
    if (!m_game.levels) {
        m_statistics.setFigures(m_figures, {}, std::nullopt, {});
        fitScreen();
        return;
    }
    const LevelString current = m_stored.profiles[std::size_t(m_target->currentIndex())].levels;
    m_newLevels = LevelsFromHistory(m_figures, rules()[std::size_t(m_rule->currentIndex())].second);
    m_apply->setEnabled(m_newLevels.has_value() && !m_database.fault());
    const auto chances
        = DrawChances({m_newLevels.value_or(current), m_stored.birthday, m_levelsOn, m_strength});
    m_statistics.setFigures(
        m_figures, current, m_newLevels, std::vector<double>(chances.begin(), chances.end()));
    fitScreen();
}

void FormHistory::fitScreen()
{
    if (const QScreen *display = screen())
        setMaximumSize(display->availableSize());
}

void FormHistory::showEvent(QShowEvent *event)
{
    fitScreen();
    QDialog::showEvent(event);
}

void FormHistory::apply()
{
    const int slot = m_target->currentIndex();
    AppearanceProfile profile = m_stored.profiles[std::size_t(slot)];
    const DrawRange range = m_figures.range;
    QString question = u"「%1」の出現レベルを、第%2回〜第%3回（%4）の出た回数から「%5」で決めた"
                       u"レベルに置き換えます。よろしいですか？"_s.arg(profile.name)
                           .arg(range.first)
                           .arg(range.last)
                           .arg(m_period->currentText(), m_rule->currentText());
    if (m_figures.draws > 0 && m_figures.outsideBand() == 0)
        question += u"\n\nこの期間は、どの数字の出た回数も偶然の幅の中にあります。"_s;
    const auto answer = Seams::message(
        this, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes || !m_newLevels)
        return;
    profile.levels = *m_newLevels;
    if (!WriteProfile(slot, profile)) {
        Seams::message(this, QMessageBox::Critical, QString::fromUtf16(SetupLayout::SaveFailed));
        return;
    }
    m_stored.profiles[std::size_t(slot)] = profile;
    refresh();
    emit levelsApplied();
}

void FormHistory::showUpdateProgress(const QString &doing, int done, int total)
{
    for (QPushButton *button : std::as_const(m_updateButtons))
        button->setEnabled(false);
    m_updateBar->setRange(0, total);
    m_updateBar->setValue(done);
    m_updateBar->show();
    m_updateCancel->show();
    m_report->setPlainText(doing);
}

void FormHistory::showUpdateReport(const QString &report)
{
    for (QPushButton *button : std::as_const(m_updateButtons))
        button->setEnabled(true);
    m_updateBar->hide();
    m_updateCancel->hide();
    m_report->setPlainText(report);
    m_report->setAccessibleDescription(report);
}
