#pragma once
// The time scope and filters a chooser offers, as fixed choices and one
// whole number: what events the report counts (an EventFilter, bound by the
// store, never SQL text), the description printed on the report, and the
// title a bonus choice gives the basic report.

#include "data/EventFilter.h"

#include <QString>

#include <optional>

enum class ReportScope { AtTheMoment, UntilPeriod, PeriodOnly, UntilOvertime, OvertimeOnly, UntilMinute };

struct ReportChoice
{
    ReportScope scope = ReportScope::AtTheMoment;
    int parameter = 1; // the period or minute of the scopes that take one
    std::optional<int> attackType = {}; // 0 normal, 1 second, 2 fast break
    std::optional<int> defenceType = {}; // 0 man to man, 1 zone
    std::optional<bool> afterBonus = {}; // false: before the bonus, true: after

    // "Until minute" narrows nothing: the report is of the match so far.
    EventFilter filter() const;
    // "At the moment", "Period 2 Only, Attack Type 2", ...
    QString description() const;
    // "Basic Report", "Before Bonus" or "After Bonus".
    QString basicTitle() const;

    bool operator==(const ReportChoice &) const = default;
};

// The texts of the defence types as the chooser lists them (0, 1).
QString DefenceTypeText(int defenceType);
