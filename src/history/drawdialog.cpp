#include "drawdialog.h"

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

DrawDialog::DrawDialog(const Game &game, const PastDraw &draw, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_game(game)
    , m_draw(draw)
{
    setWindowTitle(u"第%1回の修正"_s.arg(draw.number));
    auto *form = new QFormLayout(this);
    const QStringList fields = DrawFields(game, draw);
    const QStringList names = OfficialHeader(game);
    const auto add = [&](const QString &label, const QString &text, const QString &name) {
        auto *edit = new QLineEdit(text, this);
        edit->setObjectName(name);
        edit->setAccessibleName(label);
        form->addRow(label + u':', edit);
        m_fields.push_back(edit);
    };
    add(names[0], fields[0], u"draw"_s);
    add(names[1], fields[1], u"date"_s);
    add(u"本数字"_s, fields.mid(numbersAt, game.drawn).join(u' '), u"numbers"_s);
    for (qsizetype column = numbersAt + game.drawn; column < names.size(); ++column)
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
        m_reason->setText(u"本数字が %1 つではありません"_s.arg(m_game.drawn));
        m_reason->setAccessibleName(m_reason->text());
        return;
    }
    QStringList fields {m_fields[0]->text(), m_fields[1]->text()};
    fields << numbers;
    for (std::size_t i = numbersAt + 1; i < m_fields.size(); ++i)
        fields << m_fields[i]->text();
    const DrawFromFields read = ReadDrawFields(m_game, fields);
    if (!read.draw) {
        m_reason->setText(read.reason);
        m_reason->setAccessibleName(read.reason);
        return;
    }
    m_draw = *read.draw;
    QDialog::accept();
}
