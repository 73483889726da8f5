#include "reports/ReportPages.h"

#include "reports/ReportFrame.h"

namespace report {

Band TeamsBand(const MatchFacts &facts, const QString &caption)
{
    Block teams;
    teams.large = true;
    teams.lines.push_back(Line().caption(QStringLiteral("Home team - Away team"), 200));
    teams.lines.push_back(Line().caption(facts.teams[1] + QStringLiteral(" - ") + facts.teams[2], 200, true));
    Band band{QStringLiteral("teams"), {teams}};
    if (!caption.isEmpty()) {
        Block right;
        right.lines.push_back(Line().caption(caption, 60, true, Qt::AlignRight));
        band.blocks.push_back(right);
    }
    return band;
}

std::vector<Page> TablePages(std::vector<Band> firstBands, const std::vector<Line> &heading,
                             const std::vector<std::vector<Line>> &rows, int firstLines, int laterLines)
{
    std::vector<Page> pages;
    Page page{std::move(firstBands)};
    Block table{heading};
    int room = firstLines;
    const auto close = [&] {
        page.bands.push_back({QStringLiteral("table"), {std::move(table)}});
        pages.push_back(std::move(page));
        page = {};
        table = Block{heading};
        room = laterLines;
    };
    for (const std::vector<Line> &row : rows) {
        if (int(row.size()) > room && table.lines.size() > heading.size())
            close();
        table.lines.insert(table.lines.end(), row.begin(), row.end());
        room -= int(row.size());
    }
    close();
    return pages;
}

QString ShirtText(int shirt) { return shirt == 100 ? QStringLiteral("00") : QString::number(shirt); }

} // namespace report
