#include "formhistory.h"

#include "drawdialog.h"
#include "engine/figures.h"
#include "look/alert.h"
#include "look/tooltable.h"
#include "platform/seams.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

// The stored draws' tab: the table, 回へ移動, 修正, 削除 and the export.

namespace {

// A field whose Enter does what it is for and no more: in a dialog, Enter would also press the
// default button.
class EnterField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    std::function<void()> entered;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return QLineEdit::keyPressEvent(event);
        entered();
        event->accept();
    }
};

} // namespace

QWidget *FormHistory::drawsTab()
{
    auto *tab = new QWidget(this);
    auto *grid = new QGridLayout(tab);
    m_drawsView = new DrawsProxy(this);
    m_drawsView->setSourceModel(&m_draws);
    m_drawsView->setSortRole(DrawsModel::SortRole);
    m_drawsTable = ToolTable(tab, m_drawsView, u"draws"_s, u"登録済みの回"_s);
    // Sized to the contents once a load, from the first rows: sizing every row of thousands
    // at each sort would take far longer than the sort.
    m_drawsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_drawsTable->horizontalHeader()->setResizeContentsPrecision(200);
    m_drawsTable->sortByColumn(DrawsModel::Draw, Qt::AscendingOrder);
    auto *mend = new QPushButton(u"修正(&E)..."_s, tab);
    mend->setObjectName(u"mend"_s);
    auto *remove = new QPushButton(u"削除(&D)"_s, tab);
    remove->setObjectName(u"remove"_s);
    auto *exportDrawsButton = new QPushButton(u"CSV に書き出す(&X)..."_s, tab);
    exportDrawsButton->setObjectName(u"export"_s);
    const auto selectedRows = [this] {
        QList<int> rows;
        for (const QModelIndex &index : m_drawsTable->selectionModel()->selectedRows())
            rows << m_drawsView->mapToSource(index).row();
        return rows;
    };
    connect(mend, &QPushButton::clicked, this, [this, selectedRows] {
        if (const QList<int> rows = selectedRows(); rows.size() == 1)
            mendDraw(rows.front());
    });
    connect(
        remove, &QPushButton::clicked, this, [this, selectedRows] { removeDraws(selectedRows()); });
    connect(m_drawsTable, &QTableView::doubleClicked, this,
        [this](const QModelIndex &index) { mendDraw(m_drawsView->mapToSource(index).row()); });
    connect(exportDrawsButton, &QPushButton::clicked, this,
        [this] { exportAs(&FormHistory::exportDraws); });
    // 修正 takes one draw, 削除 any; neither a row of missing draws.
    const auto follow = [this, selectedRows, mend, remove] {
        const QList<int> rows = selectedRows();
        const bool draws = !rows.isEmpty() && importing() == false
            && std::all_of(
                rows.begin(), rows.end(), [this](int row) { return m_draws.drawAt(row); });
        mend->setEnabled(draws && rows.size() == 1 && writable());
        remove->setEnabled(draws && writable());
    };
    connect(m_drawsTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, follow);
    connect(m_drawsView, &QAbstractItemModel::modelReset, this, follow);
    follow();

    // 第2097回 or 2097 selects that draw, whatever column the table is sorted by.
    auto *goTo = new EnterField(tab);
    goTo->setObjectName(u"goTo"_s);
    goTo->setAccessibleName(u"回へ移動"_s);
    goTo->setPlaceholderText(u"第2097回"_s);
    auto *goToLabel = new QLabel(u"回へ移動(&J):"_s, tab);
    goToLabel->setBuddy(goTo);
    goTo->entered = [this, goTo] {
        const std::optional<int> number = ReadDrawNumber(goTo->text());
        const int row = number ? m_draws.rowOf(*number) : -1;
        if (row < 0) {
            ShowAlert(m_goToReason,
                number ? u"第%1回は登録されていません。"_s.arg(*number)
                       : u"「%1」は回として読めません。"_s.arg(goTo->text()));
            return;
        }
        ShowAlert(m_goToReason, {});
        const QModelIndex shown = m_drawsView->mapFromSource(m_draws.index(row, 0));
        m_drawsTable->selectionModel()->setCurrentIndex(
            shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_drawsTable->scrollTo(shown);
    };
    m_goToReason = new QLabel(tab);
    m_goToReason->setObjectName(u"goToReason"_s);

    grid->addWidget(goToLabel, 0, 0);
    grid->addWidget(goTo, 0, 1);
    grid->addWidget(m_goToReason, 0, 2, 1, 2);
    grid->addWidget(m_drawsTable, 1, 0, 1, 4);
    grid->addWidget(mend, 2, 0);
    grid->addWidget(remove, 2, 1);
    grid->addWidget(exportDrawsButton, 2, 3);
    grid->setColumnStretch(2, 1);
    return tab;
}

QString FormHistory::exportDraws(const QString &path, ExportEncoding encoding) const
{
    return WriteExport(path, DrawsCsv(m_game, m_draws.draws()), encoding);
}

void FormHistory::mendDraw(int row)
{
    const PastDraw *draw = m_draws.drawAt(row);
    if (!draw || importing() || !writable())
        return;
    DrawDialog dialog(
        m_game, *draw, [this](int number) { return m_store.hasDraw(number).value; }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const StoreFault fault = m_store.replaceDraw(draw->number, dialog.draw()))
        Seams::message(this, QMessageBox::Critical, fault.text);
    reload();
    emit databaseChanged();
}

void FormHistory::removeDraws(const QList<int> &rows)
{
    std::vector<int> numbers;
    for (const int row : rows) {
        if (const PastDraw *draw = m_draws.drawAt(row))
            numbers.push_back(draw->number);
    }
    if (numbers.empty() || importing() || !writable())
        return;
    std::sort(numbers.begin(), numbers.end());
    const QString which = numbers.size() == 1
        ? u"第%1回"_s.arg(numbers.front())
        : u"第%1回など %2 回分"_s.arg(numbers.front()).arg(Grouped(qint64(numbers.size())));
    const auto answer = Seams::message(this, QMessageBox::Question,
        u"%1の当せん番号を削除します。この回に保存した券は残り、未抽せんに戻ります。"
        u"よろしいですか？"_s.arg(which),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (const StoreFault fault = m_store.removeDraws(numbers))
        Seams::message(this, QMessageBox::Critical, fault.text);
    reload();
    emit databaseChanged();
}
