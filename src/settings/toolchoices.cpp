#include "toolchoices.h"

#include "inifilesaveload.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString period = u"Statistics/Period"_s;
const QString from = u"Statistics/From"_s;
const QString to = u"Statistics/To"_s;
const QString axisFromZero = u"Statistics/AxisFromZero"_s;
const QString toolsSection = u"Tools"_s;
const QString gameKey = u"Game"_s;
const QString checkAtStartKey = u"CheckAtStart"_s;

} // namespace

StatisticsChoice ReadStatisticsChoice(const QString &path)
{
    StatisticsChoice choice;
    if (path.isEmpty())
        return choice;
    const QSettings file(path, QSettings::IniFormat);
    const auto number = [&file](const QString &key, int otherwise) {
        bool ok = false;
        const int value = file.value(key).toInt(&ok);
        return ok ? value : otherwise;
    };
    choice.period = number(period, choice.period);
    choice.from = number(from, choice.from);
    choice.to = number(to, choice.to);
    choice.axisFromZero = file.value(axisFromZero).toString() == u"1"_s;
    return choice;
}

void WriteStatisticsChoice(const QString &path, const StatisticsChoice &choice)
{
    if (path.isEmpty())
        return;
    QSettings file(path, QSettings::IniFormat);
    file.setValue(period, choice.period);
    file.setValue(from, choice.from);
    file.setValue(to, choice.to);
    file.setValue(axisFromZero, choice.axisFromZero ? 1 : 0);
}

const Game &ReadToolGame()
{
    const Game *game = FindGame(IniFileSaveLoad::ReadIniString(toolsSection, gameKey, {}));
    return game ? *game : Loto6();
}

bool WriteToolGame(const Game &game)
{
    return IniFileSaveLoad::WriteIniString(toolsSection, gameKey, game.key);
}

std::optional<bool> ReadCheckAtStart()
{
    const QString value = IniFileSaveLoad::ReadIniString(toolsSection, checkAtStartKey, {});
    if (value == u"1"_s || value == u"0"_s)
        return value == u"1"_s;
    return std::nullopt;
}

bool WriteCheckAtStart(bool check)
{
    return IniFileSaveLoad::WriteIniString(toolsSection, checkAtStartKey, check ? u"1"_s : u"0"_s);
}
