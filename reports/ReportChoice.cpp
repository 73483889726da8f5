#include "reports/ReportChoice.h"

#include "common/GameClock.h"

EventFilter ReportChoice::filter() const
{
    EventFilter f;
    switch (scope) {
    case ReportScope::UntilPeriod: f.toPeriod = parameter; break;
    case ReportScope::PeriodOnly: f = EventFilter::Period(parameter); break;
    case ReportScope::UntilOvertime: f.toPeriod = RegularPeriods; break;
    case ReportScope::OvertimeOnly: f.fromPeriod = RegularPeriods + 1; break;
    case ReportScope::AtTheMoment:
    case ReportScope::UntilMinute: break;
    }
    f.attackType = attackType;
    f.defenceType = defenceType;
    if (afterBonus)
        f.inBonus = *afterBonus;
    return f;
}

QString DefenceTypeText(int defenceType)
{
    return defenceType == 1 ? QStringLiteral("ZONE") : QStringLiteral("MAN TO MAN");
}

QString ReportChoice::description() const
{
    QString text;
    switch (scope) {
    case ReportScope::AtTheMoment: text = QStringLiteral("At the moment"); break;
    case ReportScope::UntilPeriod: text = QStringLiteral("Until Period %1").arg(parameter); break;
    case ReportScope::PeriodOnly: text = QStringLiteral("Period %1 Only").arg(parameter); break;
    case ReportScope::UntilOvertime: text = QStringLiteral("Until Overtime"); break;
    case ReportScope::OvertimeOnly: text = QStringLiteral("OverTime Only"); break;
    case ReportScope::UntilMinute: text = QStringLiteral("Until minute %1").arg(parameter); break;
    }
    if (attackType)
        text += QStringLiteral(", Attack Type %1").arg(*attackType);
    if (defenceType)
        text += QStringLiteral(", Defense Type - ") + DefenceTypeText(*defenceType);
    if (afterBonus)
        text += *afterBonus ? QStringLiteral(", AFTER BONUS") : QStringLiteral(", BEFORE BONUS");
    return text;
}

QString ReportChoice::basicTitle() const
{
    if (!afterBonus)
        return QStringLiteral("Basic Report");
    return *afterBonus ? QStringLiteral("After Bonus") : QStringLiteral("Before Bonus");
}
