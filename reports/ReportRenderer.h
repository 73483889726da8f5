#pragma once
// Lays a report's content out on A4 landscape pages and paints it onto any
// paint device: a printer, a PDF (real, selectable text) or an image. One
// layout for all of them, so the preview, the paper, the PDF and the period
// picture look the same.

#include "reports/ReportContent.h"

#include <QByteArray>
#include <QImage>

class QPagedPaintDevice;
class QPainter;

namespace report {

// The page: A4 landscape, margins 5 mm top and bottom, 12.7 mm left and right.
inline constexpr double PageWidthMm = 297, PageHeightMm = 210;
inline constexpr double MarginTopMm = 5, MarginSideMm = 12.7;
inline constexpr double PrintableWidthMm = PageWidthMm - 2 * MarginSideMm;

class Renderer
{
public:
    explicit Renderer(const Content &content) : content_(content) {}

    int pageCount() const { return int(content_.pages.size()); }
    // Paints page `page` (from 0) with the painter active on its device;
    // the whole sheet is the device's area from its origin (no margins of
    // its own), `dotsPerMm` its resolution.
    void paint(QPainter &painter, int page, double dotsPerMm) const;
    // The height the page's content takes, in mm: what must stay under the
    // printable height for the page to fit.
    double usedHeightMm(int page) const;

    // The whole report as PDF bytes; raises ReportError when Qt cannot make it.
    QByteArray pdf() const;
    // One page on an image of the sheet at `dotsPerInch`.
    QImage image(int page, int dotsPerInch = 150) const;
    // Page 1 as JPEG bytes.
    QByteArray jpeg(int dotsPerInch = 150) const;

private:
    const Content &content_;
};

// The width a band takes on the page, its blocks and the gaps between them.
double BandWidthMm(const Band &band);

// Reports one after the other, each on pages of its own, painted on a
// paged device (a printer, a PDF writer) with the painter active on it.
void PaintReports(QPainter &painter, QPagedPaintDevice &device, double dotsPerMm,
                  const std::vector<const Content *> &reports);

// Reports one after the other, each on pages of its own, as PDF bytes;
// raises ReportError when Qt cannot make it.
QByteArray PdfOf(const std::vector<const Content *> &reports);
QByteArray PdfOf(const std::vector<Content> &reports);

} // namespace report
