#pragma once
// The player and team statistics reports beside the basic box score:
// roster, turnovers, points by players, rebounds, fouls, second attack and
// fast break, points from the paint, points comparison by quarters, and the
// starters and bench comparison. Built from the match's stored rows.

#include "reports/ReportChoice.h"
#include "reports/ScoreFlow.h"

// The turnovers chooser's last "View": the turnovers report counts only what
// it lets through, wherever the report is printed from, until the next "View".
ReportChoice &TurnoversFilter();

report::Content BuildRoster(fb::Connection &db, const MatchReportRequest &request);
// `parametersFromChooser`: the report was opened from the chooser, so its
// parameters line carries the choice's description.
report::Content BuildTurnovers(fb::Connection &db, const MatchReportRequest &request, const ReportChoice &choice,
                               bool parametersFromChooser);
report::Content BuildPointsByPlayers(fb::Connection &db, const MatchReportRequest &request);
report::Content BuildRebounds(fb::Connection &db, const MatchReportRequest &request);
report::Content BuildFouls(fb::Connection &db, const MatchReportRequest &request);
report::Content BuildSecondAttackFastBreak(fb::Connection &db, const MatchReportRequest &request);
report::Content BuildPaint(fb::Connection &db, const MatchReportRequest &request);
report::Content BuildPointsComparison(fb::Connection &db, const MatchReportRequest &request);
report::Content BuildStartersBench(fb::Connection &db, const MatchReportRequest &request);

// 100 × part / whole to the nearest whole number, halves to the even
// neighbour; 0 when the whole is 0.
int Percent(int part, int whole);
