#include "enterticketsdialog.h"

#include "look/alert.h"
#include "look/programstyle.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

EnterTicketsDialog::EnterTicketsDialog(const Game &game, int draw, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_game(game)
{
    setWindowTitle(u"券を入力"_s);
    auto *form = new QFormLayout(this);
    m_lines = new QPlainTextEdit(this);
    m_lines->setObjectName(u"lines"_s);
    m_lines->setAccessibleName(u"数字"_s);
    m_lines->setPlaceholderText(u"1 行に 1 口：03 11 19 27 38 42"_s);
    m_lines->setTabChangesFocus(true); // Tab goes on to 回, as in any form
    m_draw = new QSpinBox(this);
    m_draw->setObjectName(u"draw"_s);
    m_draw->setAccessibleName(u"回"_s);
    m_draw->setRange(1, LastDrawNumber);
    m_draw->setValue(std::clamp(draw, 1, LastDrawNumber));
    m_draw->setPrefix(u"第 "_s);
    m_draw->setSuffix(u" 回"_s);
    m_repeat = new QSpinBox(this);
    m_repeat->setObjectName(u"repeat"_s);
    m_repeat->setAccessibleName(u"継続回数"_s);
    m_repeat->setRange(1, MostDrawsAhead);
    m_repeat->setSuffix(u" 回"_s);
    m_faults = new QLabel(this);
    m_faults->setObjectName(u"faults"_s);
    m_faults->setWordWrap(true);
    form->addRow(u"数字(&N):"_s, m_lines);
    form->addRow(u"回(&D):"_s, m_draw);
    form->addRow(u"継続回数(&R):"_s, m_repeat);
    form->addRow(m_faults);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"保存(&S)"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

EnterTicketsDialog::EnterTicketsDialog(const Game &game, const SavedTicket &ticket, QWidget *parent)
    : EnterTicketsDialog(game, ticket.draw, parent)
{
    setWindowTitle(u"券の修正"_s);
    m_one = true;
    m_lines->setPlainText(DrawText(ticket.numbers));
    m_repeat->setEnabled(false);
}

std::vector<int> EnterTicketsDialog::draws() const
{
    std::vector<int> all;
    for (int ahead = 0; ahead < m_repeat->value() && m_draw->value() + ahead <= LastDrawNumber;
         ++ahead)
        all.push_back(m_draw->value() + ahead);
    return all;
}

void EnterTicketsDialog::accept()
{
    const EnteredTickets entered = ParseEnteredTickets(m_game, m_lines->toPlainText());
    QStringList faults = entered.faults;
    if (faults.isEmpty() && entered.tickets.empty())
        faults << u"券が 1 口もありません。"_s;
    if (faults.isEmpty() && m_one && entered.tickets.size() > 1)
        faults << u"修正できるのは 1 口です。"_s;
    if (!faults.isEmpty()) {
        ShowAlert(m_faults, faults.join(u'\n'));
        return;
    }
    m_tickets = entered.tickets;
    QDialog::accept();
}
