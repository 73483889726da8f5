#include "reports/ReportContent.h"

namespace report {

Line &Line::styled(Fill fill, bool bold)
{
    for (Cell &cell : cells) {
        cell.fill = fill;
        cell.bold = bold;
    }
    return *this;
}

double Line::width() const
{
    double sum = 0;
    for (const Cell &cell : cells)
        sum += cell.width;
    return sum;
}

namespace {

QString textOf(const Line &line)
{
    QStringList cells;
    for (const Cell &cell : line.cells)
        cells << cell.text;
    QString text = cells.join(QStringLiteral(" | "));
    // Lines of players who took part carry a mark, as the colour shows them.
    if (!line.cells.empty() && line.cells.back().fill == Fill::TookPart)
        text += QStringLiteral("  *");
    return text;
}

} // namespace

QString PlainText(const Content &content)
{
    const Frame &frame = content.frame;
    QStringList out{QStringLiteral("# %1").arg(frame.title)};
    for (const auto &column : frame.facts) {
        QStringList pairs;
        for (const auto &[caption, value] : column)
            pairs << caption + u' ' + value;
        out << pairs.join(QStringLiteral(" | "));
    }
    out << frame.leagueLine;
    for (size_t p = 0; p < content.pages.size(); ++p) {
        out << QStringLiteral("## page %1").arg(p + 1);
        for (const Band &band : content.pages[p].bands) {
            out << QStringLiteral("### %1").arg(band.name);
            for (size_t b = 0; b < band.blocks.size(); ++b) {
                if (band.blocks.size() > 1)
                    out << QStringLiteral("#### block %1").arg(b + 1);
                for (const Line &line : band.blocks[b].lines)
                    out << textOf(line);
            }
        }
    }
    out << QStringLiteral("## footer");
    out << frame.footer;
    return out.join(u'\n') + u'\n';
}

} // namespace report
