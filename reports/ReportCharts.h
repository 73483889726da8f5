#pragma once
// Charts of a report drawn by Qt Charts into the page: the chart is laid
// out in a graphics scene of its own and painted through the page's painter,
// so a PDF receives it as vector lines and text, not as a picture.
// Needs a QApplication (Qt Charts is built on graphics widgets).

#include "reports/ReportContent.h"

#include <QRectF>

class QPainter;

namespace report {

void PaintChart(QPainter &painter, const Chart &chart, const QRectF &box, bool colour);

} // namespace report
