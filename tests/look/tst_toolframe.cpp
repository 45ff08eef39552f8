#include "common/storedraws.h"
#include "common/windowfixture.h"
#include "history/drawdialog.h"
#include "history/formhistory.h"
#include "look/backgroundjob.h"
#include "look/programstyle.h"
#include "tickets/formcheck.h"
#include "tickets/formtickets.h"
#include "wheels/formwheel.h"

#include <QAbstractScrollArea>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <memory>

// Each tool window, and the dialog that mends a draw, at its own smallest size: no control
// overlaps another, none is smaller than it needs, every wrapped text has the height its lines
// need, each table shows rows, and every field is named for a screen reader.

namespace {

QString nameOf(const QWidget *widget)
{
    return !widget->objectName().isEmpty()
        ? widget->objectName()
        : u"%1 「%2」"_s.arg(QString::fromLatin1(widget->metaObject()->className()),
            widget->property("text").toString().left(12));
}

bool manages(const QLayout *layout, const QWidget *widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget || (item->layout() && manages(item->layout(), widget)))
            return true;
    }
    return false;
}

// The controls of widgets that a layout arranges: not the parts a control draws itself from.
QList<QWidget *> placed(const QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->isVisibleTo(window) && widget->parentWidget()->layout())
            controls << widget;
    }
    return controls;
}

QStringList faultsOf(const QWidget *window)
{
    QStringList faults;
    // Shown or hidden, every control of a widget with a layout is placed by it.
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        const QLayout *layout = widget->parentWidget()->layout();
        if (layout && !widget->isWindow() && !manages(layout, widget))
            faults << u"no layout places %1"_s.arg(nameOf(widget));
    }
    // Shown or hidden, no two controls of a grid share a cell.
    for (const QGridLayout *grid : window->findChildren<QGridLayout *>()) {
        std::vector<QRect> cells;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            const QRect cell(column, row, columns, rows);
            for (const QRect &other : cells) {
                if (other.intersects(cell))
                    faults << u"two controls share a cell at row %1, column %2"_s.arg(row).arg(
                        column);
            }
            cells.push_back(cell);
        }
    }
    const QList<QWidget *> controls = placed(window);
    for (const QWidget *control : controls) {
        const QSize least = control->minimumSizeHint().expandedTo(control->minimumSize());
        const QSizePolicy policy = control->sizePolicy();
        if (policy.horizontalPolicy() != QSizePolicy::Ignored && control->width() < least.width())
            faults << u"%1 is %2 wide of %3"_s.arg(nameOf(control))
                          .arg(control->width())
                          .arg(least.width());
        if (policy.verticalPolicy() != QSizePolicy::Ignored && control->height() < least.height())
            faults << u"%1 is %2 high of %3"_s.arg(nameOf(control))
                          .arg(control->height())
                          .arg(least.height());
        if (const auto *label = qobject_cast<const QLabel *>(control);
            label && label->wordWrap() && label->heightForWidth(label->width()) > label->height())
            faults << u"%1 is cut: %2 high of %3"_s.arg(nameOf(control))
                          .arg(label->height())
                          .arg(label->heightForWidth(label->width()));
        if (qobject_cast<const QLineEdit *>(control) && control->accessibleName().isEmpty())
            faults << u"%1 has no name"_s.arg(nameOf(control));
        if (const auto *table = qobject_cast<const QTableView *>(control)) {
            const int rows = table->model()->rowCount();
            const int wanted = policy.verticalPolicy() == QSizePolicy::Fixed ? rows : qMin(rows, 3);
            const int shown
                = table->viewport()->height() / table->verticalHeader()->defaultSectionSize();
            if (shown < wanted)
                faults << u"%1 shows %2 rows of %3"_s.arg(nameOf(control)).arg(shown).arg(wanted);
        }
        const QRect inWindow(control->mapTo(window, QPoint()), control->size());
        if (!window->rect().contains(inWindow))
            faults << u"%1 stands outside the window"_s.arg(nameOf(control));
        for (const QWidget *other : controls) {
            if (other < control && other->parentWidget() == control->parentWidget()
                && other->geometry().intersects(control->geometry()))
                faults << u"%1 overlaps %2"_s.arg(nameOf(control), nameOf(other));
        }
    }
    return faults;
}

QStringList faultsAtLeast(QWidget *window)
{
    window->show();
    window->resize(1, 1);
    QTest::qWait(50);
    QStringList faults;
    auto *tabs = window->findChild<QTabWidget *>();
    for (int i = 0; i < (tabs ? tabs->count() : 1); ++i) {
        if (tabs)
            tabs->setCurrentIndex(i);
        QTest::qWait(20);
        faults << faultsOf(window);
    }
    faults.removeDuplicates();
    return faults;
}

} // namespace

class tst_ToolFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramLook(); }
    void smallest_data();
    void smallest();
    void jobShowsShare();
};

void tst_ToolFrame::smallest_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("game");
    for (const Game *game : Games()) {
        const QByteArray name = game->key.toUtf8();
        QTest::newRow("past results, " + name) << u"history"_s << game->key;
        QTest::newRow("tickets, " + name) << u"tickets"_s << game->key;
        QTest::newRow("check, " + name) << u"check"_s << game->key;
        QTest::newRow("wheel, " + name) << u"wheel"_s << game->key;
        QTest::newRow("mending a draw, " + name) << u"mend"_s << game->key;
    }
}

void tst_ToolFrame::smallest()
{
    QFETCH(QString, window);
    QFETCH(QString, game);
    const Game &rules = *FindGame(game);
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    // Two draws of the game, with their bonus numbers, and three tickets saved for the second.
    History history(database);
    history.drawStore.setGame(rules);
    history.ticketStore.setGame(rules);
    QString draws;
    std::vector<Numbers> tickets(3);
    for (int draw = 0; draw < 2; ++draw) {
        draws += u"第%1回 2026/12/%2"_s.arg(2099 + draw).arg(draw + 3);
        for (int i = 1; i <= rules.drawn + rules.bonuses; ++i) {
            const int number = draw * 10 + i;
            draws += (i > rules.drawn ? u" (%1)"_s : u" %1"_s).arg(number);
            if (draw == 1 && i <= rules.drawn) {
                tickets[0].push_back(number - (i == 1 ? 1 : 0));
                tickets[1].push_back(i);
                tickets[2].push_back(rules.numbers + 1 - i);
            }
        }
        draws += u'\n';
    }
    tickets[2].sort();
    QVERIFY(history.store(ReadResults(rules, draws, [](const RejectedLine &) {}), u"t"_s));
    QVERIFY(history.saveTickets(2100, tickets));
    std::unique_ptr<QWidget> tool;
    if (window == u"history"_s)
        tool = std::make_unique<FormHistory>(database, rules, QString(), true, 5);
    else if (window == u"tickets"_s)
        tool = std::make_unique<FormTickets>(database, rules, DrawInput {}, QString());
    else if (window == u"check"_s)
        tool = std::make_unique<FormCheck>(database, rules);
    else if (window == u"wheel"_s)
        tool = std::make_unique<FormWheel>(database, rules, QString());
    else
        tool = std::make_unique<DrawDialog>(
            rules, history.draws().back(), [](int) { return false; }, nullptr);
    if (auto *tickets = qobject_cast<FormTickets *>(tool.get()))
        tickets->make();
    if (auto *wheel = qobject_cast<FormWheel *>(tool.get())) {
        tool->findChild<QLineEdit *>(u"chosen"_s)->setText(u"1 2 3 4 5 6 7 8 9 10"_s);
        wheel->make();
    }
    const QStringList faults = faultsAtLeast(tool.get());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_s)));
}

// A job half done shows a bar half full, and the controls show only while it runs.
void tst_ToolFrame::jobShowsShare()
{
    QWidget window;
    auto *controls = new JobControls(u"進み具合"_s, &window);
    window.show();
    QVERIFY(!controls->isVisible());
    const std::shared_ptr<JobState> state = controls->begin();
    QVERIFY(controls->isVisible() && state->advance(0.5));
    const auto *bar = controls->findChild<QProgressBar *>();
    QTRY_COMPARE(2 * (bar->value() - bar->minimum()), bar->maximum() - bar->minimum());
    controls->cancel();
    QVERIFY(!state->advance(0.6) && controls->cancelled());
    controls->end();
    QVERIFY(!controls->isVisible() && controls->cancelled());
}

QTEST_MAIN(tst_ToolFrame)
#include "tst_toolframe.moc"
