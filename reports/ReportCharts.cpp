#include "reports/ReportCharts.h"

#include <QChart>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace report {

namespace {

// The scene's unit: a chart is laid out at 4 units a millimetre (about
// 100 dpi) and scaled into its box, so fonts keep their printed size.
constexpr double UnitsPerMm = 4;
const QColor Highlight(255, 255, 128);

QFont ChartFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void AddLines(QChart &chart, const Chart &drawn)
{
    double maxX = 1, maxY = 1;
    for (const ChartSeries &s : drawn.series) {
        auto *line = new QLineSeries;
        line->setName(s.name);
        line->setPen(QPen(s.colour, 1.5));
        // A point with a label is marked and carries its value.
        auto *marked = new QScatterSeries;
        marked->setMarkerSize(5);
        marked->setColor(s.colour);
        marked->setBorderColor(s.colour);
        marked->setPointLabelsVisible(true);
        marked->setPointLabelsFont(ChartFont(5));
        marked->setPointLabelsColor(Qt::black);
        marked->setPointLabelsFormat(QStringLiteral("@yPoint"));
        // The last point sits on the plot's right edge: its label goes past it.
        marked->setPointLabelsClipping(false);
        for (const ChartValue &v : s.values) {
            line->append(v.x, v.y);
            if (!v.label.isEmpty())
                marked->append(v.x, v.y);
            maxX = std::max(maxX, v.x);
            maxY = std::max(maxY, v.y);
        }
        chart.addSeries(line);
        chart.addSeries(marked);
    }
    auto *x = new QValueAxis;
    auto *y = new QValueAxis;
    x->setRange(0, maxX);
    y->setRange(0, maxY * 1.1 + 1);
    y->applyNiceNumbers();
    x->setLabelFormat(QStringLiteral("%d"));
    y->setLabelFormat(QStringLiteral("%d"));
    x->setTickCount(std::clamp(int(maxX) / 5 + 1, 2, 11));
    for (QValueAxis *axis : {x, y}) {
        axis->setLabelsFont(ChartFont(5));
        axis->setGridLinePen(QPen(QColor(0xC0, 0xC0, 0xC0), 0.5));
    }
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *series : chart.series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    // The marks belong to their lines: only the lines are in the legend.
    const auto markers = chart.legend()->markers();
    for (QLegendMarker *marker : markers)
        marker->setVisible(qobject_cast<QLineSeries *>(marker->series()) != nullptr);
}

void AddPie(QChart &chart, const Chart &drawn)
{
    auto *pie = new QPieSeries;
    for (const ChartSeries &s : drawn.series)
        for (const ChartValue &v : s.values) {
            QPieSlice *slice = pie->append(v.label, v.y);
            slice->setBrush(v.colour.isValid() ? v.colour : s.colour);
            slice->setPen(QPen(Qt::black, 0.5));
            slice->setLabelFont(ChartFont(5));
        }
    pie->setPieSize(0.8);
    chart.addSeries(pie);
}

} // namespace

void PaintChart(QPainter &painter, const Chart &drawn, const QRectF &box, bool colour)
{
    QGraphicsScene scene;
    auto *chart = new QChart; // the scene owns it
    scene.addItem(chart);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundVisible(false);
    chart->setDropShadowEnabled(false);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setTitle(drawn.title);
    chart->setTitleFont(ChartFont(7, true));
    chart->legend()->setFont(ChartFont(5.5));
    chart->legend()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
    chart->legend()->setAlignment(drawn.kind == Chart::Kind::Pie ? Qt::AlignRight : Qt::AlignBottom);
    chart->legend()->setBackgroundVisible(true);
    chart->legend()->setBrush(colour ? Highlight : QColor(Qt::white));
    chart->legend()->setPen(QPen(Qt::black, 0.5));
    if (drawn.kind == Chart::Kind::Pie)
        AddPie(*chart, drawn);
    else
        AddLines(*chart, drawn);
    const QRectF area(0, 0, drawn.width * UnitsPerMm, drawn.height * UnitsPerMm);
    chart->setGeometry(area);
    scene.setSceneRect(area);
    painter.save();
    scene.render(&painter, box, area, Qt::IgnoreAspectRatio);
    painter.restore();
}

} // namespace report
