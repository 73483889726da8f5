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

QString Number(double value) { return QString::number(value, 'g', 6); }

// A chart as its title, then a line per series: its name and its values.
QStringList TextOf(const Chart &chart)
{
    QStringList out{QStringLiteral("[chart] %1").arg(chart.title.trimmed())};
    for (const ChartSeries &series : chart.series) {
        QStringList values;
        for (const ChartValue &v : series.values)
            values << (chart.kind == Chart::Kind::Pie ? v.label + u'=' + Number(v.y)
                                                      : Number(v.x) + u'=' + Number(v.y));
        out << QStringLiteral("  %1: %2").arg(series.name, values.join(u' '));
    }
    return out;
}

QString TextOf(const Court &court)
{
    QStringList zones;
    for (size_t z = 0; z < court.zones.size(); ++z)
        zones << QStringLiteral("%1: %2").arg(z + 1).arg(court.zones[z]);
    return QStringLiteral("[court] ") + zones.join(QStringLiteral(" | "));
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
                const Block &block = band.blocks[b];
                for (const Line &line : block.lines)
                    out << textOf(line);
                if (block.chart)
                    out << TextOf(*block.chart);
                if (block.court)
                    out << TextOf(*block.court);
                for (const Line &line : block.after)
                    out << textOf(line);
            }
        }
    }
    out << QStringLiteral("## footer");
    out << frame.footer;
    return out.join(u'\n') + u'\n';
}

} // namespace report
