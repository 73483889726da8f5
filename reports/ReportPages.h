#pragma once
// Pieces every report of the family lays out the same way: the teams band
// under the frame, tables spread over as many pages as they need, the
// shirt number as printed.

#include "reports/ReportContent.h"

#include <vector>

struct MatchFacts;

namespace report {

// "Home team - Away team" and the two clubs, in large print.
Band TeamsBand(const MatchFacts &facts, const QString &caption = {});

// Rows of a table under their heading, page after page: `firstLines`
// lines fit on page 1 under `firstBands`, `laterLines` on every later page;
// a row's lines stay together.
std::vector<Page> TablePages(std::vector<Band> firstBands, const std::vector<Line> &heading,
                             const std::vector<std::vector<Line>> &rows, int firstLines, int laterLines);

// Shirt number 100 is printed "00".
QString ShirtText(int shirt);

} // namespace report
