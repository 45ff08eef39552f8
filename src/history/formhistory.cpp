#include "formhistory.h"

#include "engine/chance.h"
#include "engine/chancefollower.h"
#include "engine/figures.h"
#include "importfile.h"
#include "layouts/setuplayout.h"
#include "look/programstyle.h"
#include "platform/module1.h"
#include "platform/seams.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int shownReasons = 20;
constexpr std::array<int, 4> periods {50, 100, 200, 0}; // 0: all

enum TableColumn {
    Number,
    Drawn,
    Expected,
    Difference,
    SinceLast,
    AsBonus,
    Level,
    NewLevel,
    Chance
};

// Keeps the first reasons a read reports, for the window to list.
std::function<void(const RejectedLine &)> firstReasons(std::vector<RejectedLine> &reasons)
{
    return [&reasons](const RejectedLine &line) {
        if (reasons.size() < shownReasons)
            reasons.push_back(line);
    };
}


} // namespace

// The times each number was drawn as bars, a line at the expected count and a band of two
// standard deviations around it, where most counts lie by chance alone.
class HistoryChart : public QWidget
{
public:
    explicit HistoryChart(QWidget *parent)
        : QWidget(parent)
    {
        setMinimumHeight(140);
        setFocusPolicy(Qt::TabFocus);
        setAccessibleName(u"出た回数のグラフ"_s);
    }

    void show(const PeriodStatistics &period, const QString &span)
    {
        m_period = period;
        int most = 0;
        int least = 0;
        int outside = 0;
        for (int i = 0; i < NumberCount; ++i) {
            const int drawn = period.numbers[std::size_t(i)].drawn;
            most = drawn > period.numbers[std::size_t(most)].drawn ? i : most;
            least = drawn < period.numbers[std::size_t(least)].drawn ? i : least;
            outside += std::abs(drawn - period.expected()) > period.band();
        }
        setAccessibleDescription(period.draws == 0
                ? u"当せん番号がありません"_s
                : u"%1：最も多い %2（%3 回）、最も少ない %4（%5 回）、偶然の幅の外 %6 個"_s
                      .arg(span)
                      .arg(most + 1)
                      .arg(period.numbers[std::size_t(most)].drawn)
                      .arg(least + 1)
                      .arg(period.numbers[std::size_t(least)].drawn)
                      .arg(outside));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        int most = 1;
        for (const NumberStatistics &figures : m_period.numbers)
            most = std::max(most, figures.drawn);
        const double scale = (height() - 4)
            / (std::max<double>(most, m_period.expected() + m_period.band()) * 1.1);
        const auto y = [&](double count) { return height() - 2 - count * scale; };
        const double step = width() / double(NumberCount);
        for (int i = 0; i < NumberCount; ++i) {
            const double bar = m_period.numbers[std::size_t(i)].drawn * scale;
            painter.fillRect(
                QRectF(i * step + 1, y(0) - bar, step - 2, bar), palette().highlight());
        }
        // The band over the bars, translucent, so that a bar shows whether it ends inside it.
        QColor band = palette().color(QPalette::Text);
        band.setAlpha(56);
        painter.fillRect(QRectF(0, y(m_period.expected() + m_period.band()), width(),
                             2 * m_period.band() * scale),
            band);
        painter.setPen(QPen(palette().text(), 1, Qt::DashLine));
        painter.drawLine(
            QPointF(0, y(m_period.expected())), QPointF(width(), y(m_period.expected())));
    }

private:
    PeriodStatistics m_period;
};

FormHistory::FormHistory(const QString &databasePath, bool levelsOn, int strength, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_database(databasePath)
    , m_draws(m_database.draws())
    , m_stored(ReadProfileTable())
    , m_levelsOn(levelsOn)
    , m_strength(strength)
{
    setWindowTitle(u"当せん番号の履歴"_s);
    setAcceptDrops(true);
    buildControls();
    refresh();
}

void FormHistory::buildControls()
{
    auto *grid = new QGridLayout(this);
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
    m_storedLabel = new QLabel(this);
    m_storedLabel->setObjectName(u"stored"_s);
    m_report = new QLabel(this);
    m_report->setObjectName(u"report"_s);
    m_report->setWordWrap(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_report->setAccessibleName(u"読み込みの結果"_s);

    m_period = new QComboBox(this);
    m_period->setObjectName(u"period"_s);
    m_period->addItems({u"直近 50 回"_s, u"直近 100 回"_s, u"直近 200 回"_s, u"すべて"_s});
    m_period->setCurrentIndex(int(periods.size()) - 1);
    m_period->setAccessibleName(u"期間"_s);
    auto *periodLabel = new QLabel(u"期間(&N):"_s, this);
    periodLabel->setBuddy(m_period);

    auto *note = new QLabel(
        u"抽せんは毎回独立しています。どの数字も、これまでに何が出たかに関係なく、毎回 "
        u"6/43（約 14.0%）の確率で選ばれます。この統計は出現レベルを決めるための材料で、"
        u"予想ではありません。グラフの帯は、偶然だけでおよそ 95% の数字が入る幅です。"_s,
        this);
    note->setWordWrap(true);

    m_table = new QTableWidget(NumberCount, 9, this);
    m_table->setObjectName(u"table"_s);
    m_table->setAccessibleName(u"数字ごとの統計"_s);
    m_table->setHorizontalHeaderLabels(
        {u"数字"_s, u"出た回数"_s, u"期待値"_s, u"差"_s, u"最後に出てから"_s, u"ボーナス"_s,
            u"現在のレベル"_s, u"新しいレベル"_s, u"予想に入る確率"_s});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setMinimumHeight(220);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSortIndicator(Number, Qt::AscendingOrder);
    m_chart = new HistoryChart(this);
    m_chart->setObjectName(u"chart"_s);

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
    m_rule->addItems({u"よく出た数字ほど高く"_s, u"出ていない数字ほど高く"_s});
    auto *ruleLabel = new QLabel(u"方針(&M):"_s, this);
    ruleLabel->setBuddy(m_rule);
    m_apply = new QPushButton(u"反映(&A)"_s, this);
    m_apply->setObjectName(u"apply"_s);
    auto *close = new QPushButton(u"閉じる"_s, this);
    connect(m_apply, &QPushButton::clicked, this, &FormHistory::apply);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QComboBox *choice : {m_period, m_target, m_rule})
        connect(choice, &QComboBox::currentIndexChanged, this, &FormHistory::refresh);

    grid->addWidget(read, 0, 0);
    grid->addWidget(paste, 0, 1);
    grid->addWidget(m_storedLabel, 0, 2, 1, 4);
    grid->addWidget(m_report, 1, 0, 1, 6);
    grid->addWidget(periodLabel, 2, 0);
    grid->addWidget(m_period, 2, 1);
    grid->addWidget(note, 3, 0, 1, 6);
    grid->addWidget(m_chart, 4, 0, 1, 6);
    grid->addWidget(m_table, 5, 0, 1, 6);
    grid->addWidget(targetLabel, 6, 0);
    grid->addWidget(m_target, 6, 1);
    grid->addWidget(ruleLabel, 6, 2);
    grid->addWidget(m_rule, 6, 3);
    grid->addWidget(m_apply, 6, 4);
    grid->addWidget(close, 6, 5);
    resize(720, 640);

    Module1::ShowHelpPageOnF1(this, u"history.htm"_s);
}

void FormHistory::readFile(const QString &path)
{
    std::vector<RejectedLine> reasons;
    const ImportReport read = ImportFile(m_database, path, firstReasons(reasons));
    report(read, reasons, u"「%1」を読み込めません。"_s.arg(QDir::toNativeSeparators(path)));
}

void FormHistory::readText(const QString &text)
{
    std::vector<RejectedLine> reasons;
    const ImportReport read = ImportText(m_database, text, u"貼り付け"_s, firstReasons(reasons));
    report(read, reasons, u"当せん番号を登録できません。"_s);
}

void FormHistory::report(
    const ImportReport &read, const std::vector<RejectedLine> &reasons, const QString &failure)
{
    if (!read.stored()) {
        m_report->setText(failure);
        return;
    }
    QStringList lines {u"新規 %1 回、登録済み %2 回、読めなかった行 %3"_s.arg(
        Grouped(read.added), Grouped(read.present), Grouped(read.rejected))};
    for (const RejectedLine &line : reasons)
        lines << u"%1 行目：%2"_s.arg(Grouped(line.line), line.reason);
    if (read.rejected > qsizetype(reasons.size()))
        lines << u"ほか %1 行"_s.arg(Grouped(read.rejected - qsizetype(reasons.size())));
    m_report->setText(lines.join(u'\n'));
    m_draws = m_database.draws();
    refresh();
}

void FormHistory::refresh()
{
    if (!m_database.fault().isEmpty())
        m_storedLabel->setText(m_database.fault());
    else if (m_draws.empty())
        m_storedLabel->setText(u"登録されている当せん番号はありません。"_s);
    else
        m_storedLabel->setText(
            u"登録済み %1 回（第%2回 %3 〜 第%4回 %5）"_s.arg(Grouped(qint64(m_draws.size())))
                .arg(m_draws.front().number)
                .arg(m_draws.front().date.toString(u"yyyy/MM/dd"_s))
                .arg(m_draws.back().number)
                .arg(m_draws.back().date.toString(u"yyyy/MM/dd"_s)));

    const PeriodStatistics period
        = StatisticsOf(m_draws, LastDraws(m_draws, periods[std::size_t(m_period->currentIndex())]));
    m_chart->show(period, m_period->currentText());
    const LevelString current = m_stored.profiles[std::size_t(m_target->currentIndex())].levels;
    m_newLevels = LevelsFromHistory(period,
        m_rule->currentIndex() == 0 ? LevelRule::OftenDrawnHigher : LevelRule::SeldomDrawnHigher);
    m_apply->setEnabled(m_newLevels.has_value() && m_database.fault().isEmpty());
    const auto chances
        = DrawChances({m_newLevels.value_or(current), m_stored.birthday, m_levelsOn, m_strength});

    m_table->setSortingEnabled(false);
    for (int i = 0; i < NumberCount; ++i) {
        const NumberStatistics &figures = period.numbers[std::size_t(i)];
        const std::array<QVariant, 9> cells {i + 1, figures.drawn,
            qRound(period.expected() * 10) / 10.0,
            qRound((figures.drawn - period.expected()) * 10) / 10.0,
            figures.sinceLast < 0 ? QVariant(u"—"_s) : QVariant(figures.sinceLast), figures.asBonus,
            LevelAt(current, i + 1),
            m_newLevels ? QVariant(LevelAt(*m_newLevels, i + 1)) : QVariant(u"—"_s),
            ChanceText(chances[std::size_t(i)])};
        for (int column = 0; column < int(cells.size()); ++column) {
            auto *item = new QTableWidgetItem;
            item->setData(Qt::DisplayRole, cells[std::size_t(column)]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(i, column, item);
        }
    }
    m_table->setSortingEnabled(true);
}

void FormHistory::apply()
{
    const int slot = m_target->currentIndex();
    AppearanceProfile profile = m_stored.profiles[std::size_t(slot)];
    const auto answer = Seams::message(this, QMessageBox::Question,
        u"「%1」の出現レベルを置き換えます。よろしいですか？"_s.arg(profile.name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes || !m_newLevels)
        return;
    profile.levels = *m_newLevels;
    if (!WriteProfile(slot, profile)) {
        Seams::message(this, QMessageBox::Critical, QString::fromUtf16(SetupLayout::SaveFailed));
        return;
    }
    m_stored.profiles[std::size_t(slot)] = profile;
    refresh();
}

void FormHistory::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void FormHistory::dropEvent(QDropEvent *event)
{
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            readFile(url.toLocalFile());
    }
}
