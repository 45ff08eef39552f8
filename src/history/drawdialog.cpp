#include "drawdialog.h"

#include "look/alert.h"
#include "look/programstyle.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The official fields shown one to a line, the drawn numbers in one.
constexpr int numbersAt = 2;

} // namespace

DrawDialog::DrawDialog(
    const Game &game, const PastDraw &draw, std::function<bool(int)> taken, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_game(game)
    , m_draw(draw)
    , m_taken(std::move(taken))
{
    setWindowTitle(u"第%1回の修正"_s.arg(draw.number));
    auto *form = new QFormLayout(this);
    const QStringList fields = DrawFields(game, draw);
    const QStringList names = OfficialHeader(game);
    // Each label with an access key: the first four by their meaning, the rest in turn.
    QString keys = u"ACEFGHIJKLMOPQRSUVWXYZ"_s;
    const auto add
        = [&](const QString &label, const QString &text, const QString &name, QChar key = {}) {
              auto *edit = new QLineEdit(text, this);
              edit->setObjectName(name);
              edit->setAccessibleName(label);
              if (key.isNull() && !keys.isEmpty())
                  key = keys.front(), keys.remove(0, 1);
              auto *caption
                  = new QLabel(key.isNull() ? label + u':' : u"%1(&%2):"_s.arg(label, key), this);
              caption->setBuddy(edit);
              form->addRow(caption, edit);
              m_fields.push_back(edit);
          };
    add(names[0], fields[0], u"draw"_s, u'D');
    add(names[1], fields[1], u"date"_s, u'T');
    add(u"本数字"_s, fields.mid(numbersAt, game.drawn).join(u' '), u"numbers"_s, u'N');
    add(names[numbersAt + game.drawn], fields[numbersAt + game.drawn], u"bonus"_s, u'B');
    for (qsizetype column = numbersAt + game.drawn + 1; column < names.size(); ++column)
        add(names[column], fields[column], u"field%1"_s.arg(column));
    m_reason = new QLabel(this);
    m_reason->setObjectName(u"reason"_s);

    m_reason->setWordWrap(true);
    form->addRow(m_reason);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"適用"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void DrawDialog::accept()
{
    const QStringList numbers = m_fields[numbersAt]->text().split(
        QRegularExpression(u"[\\s,、　]+"_s), Qt::SkipEmptyParts);
    if (numbers.size() != m_game.drawn) {
        ShowAlert(m_reason, u"本数字が %1 つではありません"_s.arg(m_game.drawn));
        return;
    }
    QStringList fields {m_fields[0]->text(), m_fields[1]->text()};
    fields << numbers;
    for (std::size_t i = numbersAt + 1; i < m_fields.size(); ++i)
        fields << m_fields[i]->text();
    DrawFromFields read = ReadDrawFields(m_game, fields);
    if (read.draw && read.draw->number != m_draw.number && m_taken(read.draw->number))
        read = {std::nullopt, u"第%1回は登録済みです。"_s.arg(read.draw->number)};
    if (!read.draw) {
        ShowAlert(m_reason, read.reason);
        return;
    }
    m_draw = *read.draw;
    QDialog::accept();
}
