#include "reports/ReportRenderer.h"

#include "reports/HalfCourt.h"
#include "reports/ReportCharts.h"
#include "reports/ReportFrame.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace report {

namespace {

constexpr double LineMm = 3.1;       // a line of the tables
constexpr double LargeLineMm = 5.2;  // a line of a large block
constexpr double TitleMm = 6;
constexpr double BandGapMm = 1.2;
constexpr double BlockGapMm = 3;
constexpr double PaddingMm = 0.6;
constexpr double PictureWidthMm = 45, PictureHeightMm = 16;
constexpr double TextPoints = 6, LargePoints = 9, TitlePoints = 12;
// Yellow behind headings and players who took part, in colour mode.
const QColor Highlight(255, 255, 128);

QFont ReportFont(double points, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double LineHeight(const Block &block) { return block.large ? LargeLineMm : LineMm; }

// The chart or court picture under a block's lines, in mm.
double PictureHeight(const Block &block)
{
    return block.chart ? block.chart->height : block.court ? block.court->height : 0;
}

double BlockHeight(const Block &block)
{
    return double(block.lines.size() + block.after.size()) * LineHeight(block) + PictureHeight(block);
}

double BlockWidth(const Block &block)
{
    double width = block.chart ? block.chart->width : block.court ? block.court->width : 0;
    for (const auto *lines : {&block.lines, &block.after})
        for (const Line &line : *lines)
            width = std::max(width, line.width());
    return width;
}

double BandHeight(const Band &band)
{
    double height = 0;
    for (const Block &block : band.blocks)
        height = std::max(height, BlockHeight(block));
    return height;
}

double HeaderHeight() { return TitleMm + 3 * LineMm + LargeLineMm; }
double FooterHeight(const Frame &frame) { return double(frame.footer.size()) * LineMm; }

class PagePainter
{
public:
    PagePainter(QPainter &painter, double dotsPerMm, bool colour)
        : p_(painter), dpmm_(dotsPerMm), colour_(colour)
    {
    }

    QRectF rect(double x, double y, double w, double h) const { return {x * dpmm_, y * dpmm_, w * dpmm_, h * dpmm_}; }

    // Text in a box; a text wider than its box is printed smaller rather
    // than cut, so a long surname stays whole.
    void text(const QRectF &box, const QString &text, double points, bool bold, Qt::Alignment align)
    {
        if (text.isEmpty())
            return;
        QFont font = ReportFont(points, bold);
        const double room = box.width() - 2 * PaddingMm * dpmm_;
        const double wide = QFontMetricsF(font, p_.device()).horizontalAdvance(text);
        if (wide > room && room > 0)
            font.setPointSizeF(std::max(points * room / wide, points * 0.4));
        p_.setFont(font);
        p_.setPen(Qt::black);
        p_.drawText(box.adjusted(PaddingMm * dpmm_, 0, -PaddingMm * dpmm_, 0), int(align | Qt::AlignVCenter), text);
    }

    void cell(const Cell &cell, const QRectF &box, double points)
    {
        const bool filled = colour_ && cell.fill != Fill::None;
        if (filled)
            p_.fillRect(box, Highlight);
        if (cell.framed) {
            p_.setPen(QPen(Qt::black, 0.1 * dpmm_));
            p_.setBrush(Qt::NoBrush);
            p_.drawRect(box);
        }
        text(box, cell.text, points, cell.bold, cell.align);
    }

    void block(const Block &block, double x, double y)
    {
        y = lines(block, block.lines, x, y);
        if (block.chart)
            PaintChart(p_, *block.chart, rect(x, y, block.chart->width, block.chart->height), colour_);
        if (block.court)
            court(*block.court, x, y);
        lines(block, block.after, x, y + PictureHeight(block));
    }

    // Lines from the top `y`; answers the bottom.
    double lines(const Block &block, const std::vector<Line> &lines, double x, double y)
    {
        const double height = LineHeight(block);
        const double points = block.large ? LargePoints : TextPoints;
        for (const Line &line : lines) {
            double left = x;
            for (const Cell &c : line.cells) {
                cell(c, rect(left, y, c.width, height), points);
                left += c.width;
            }
            y += height;
        }
        return y;
    }

    // The half court with each zone's text at its place.
    void court(const Court &court, double x, double y)
    {
        const QRectF box = rect(x, y, court.width, court.height);
        halfcourt::Paint(p_, box, 0.15 * dpmm_);
        for (int zone = 1; zone <= 6; ++zone) {
            const QPointF centre = halfcourt::ZoneCentre(zone);
            const QPointF at(box.left() + centre.x() * box.width(), box.top() + centre.y() * box.height());
            const double w = court.width / 3.2 * dpmm_, h = 2 * LineMm * dpmm_;
            text(QRectF(at.x() - w / 2, at.y() - h / 2, w, h), court.zones[size_t(zone - 1)], TextPoints, true,
                 Qt::AlignHCenter);
        }
    }

    void header(const Frame &frame)
    {
        double y = MarginTopMm;
        text(rect(MarginSideMm, y, PrintableWidthMm - PictureWidthMm, TitleMm), frame.title, TitlePoints, true,
             Qt::AlignLeft);
        y += TitleMm;
        const double columnWidth = (PrintableWidthMm - PictureWidthMm) / 3;
        for (size_t column = 0; column < frame.facts.size(); ++column) {
            const double x = MarginSideMm + double(column) * columnWidth;
            double line = y;
            for (const auto &[caption, value] : frame.facts[column]) {
                const double captionWidth = 18;
                text(rect(x, line, captionWidth, LineMm), caption, TextPoints, true, Qt::AlignLeft);
                text(rect(x + captionWidth, line, columnWidth - captionWidth, LineMm), value, TextPoints, false,
                     Qt::AlignLeft);
                line += LineMm;
            }
        }
        y += 3 * LineMm;
        text(rect(MarginSideMm, y, PrintableWidthMm - PictureWidthMm, LargeLineMm), frame.leagueLine, LargePoints,
             true, Qt::AlignLeft);
        if (!frame.leaguePicture.isEmpty()) {
            const QImage picture(frame.leaguePicture);
            if (!picture.isNull()) {
                const QRectF area = rect(MarginSideMm + PrintableWidthMm - PictureWidthMm, MarginTopMm,
                                         PictureWidthMm, PictureHeightMm);
                const QSizeF size = QSizeF(picture.size()).scaled(area.size(), Qt::KeepAspectRatio);
                p_.drawImage(QRectF(area.right() - size.width(), area.top(), size.width(), size.height()), picture);
            }
        }
    }

    void footer(const Frame &frame)
    {
        double y = PageHeightMm - MarginTopMm - FooterHeight(frame);
        for (const QString &line : frame.footer) {
            text(rect(MarginSideMm, y, PrintableWidthMm, LineMm), line, TextPoints, false, Qt::AlignHCenter);
            y += LineMm;
        }
    }

private:
    QPainter &p_;
    double dpmm_;
    bool colour_;
};

} // namespace

double BandWidthMm(const Band &band)
{
    double width = 0;
    for (const Block &block : band.blocks)
        width += BlockWidth(block);
    return width + BlockGapMm * double(std::max<size_t>(band.blocks.size(), 1) - 1);
}

double Renderer::usedHeightMm(int page) const
{
    double height = page == 0 ? HeaderHeight() + BandGapMm : 0;
    for (const Band &band : content_.pages[size_t(page)].bands)
        height += BandHeight(band) + BandGapMm;
    if (page == pageCount() - 1)
        height += FooterHeight(content_.frame);
    return height;
}

void Renderer::paint(QPainter &painter, int page, double dotsPerMm) const
{
    PagePainter pages(painter, dotsPerMm, content_.frame.colour);
    double y = MarginTopMm;
    if (page == 0) {
        pages.header(content_.frame);
        y += HeaderHeight() + BandGapMm;
    }
    for (const Band &band : content_.pages[size_t(page)].bands) {
        double x = MarginSideMm;
        for (const Block &block : band.blocks) {
            pages.block(block, x, y);
            x += BlockWidth(block) + BlockGapMm;
        }
        y += BandHeight(band) + BandGapMm;
    }
    if (page == pageCount() - 1)
        pages.footer(content_.frame);
}

QByteArray Renderer::pdf() const { return PdfOf({&content_}); }

void PaintReports(QPainter &painter, QPagedPaintDevice &device, double dotsPerMm,
                  const std::vector<const Content *> &reports)
{
    bool first = true;
    for (const Content *content : reports) {
        const Renderer renderer(*content);
        for (int page = 0; page < renderer.pageCount(); ++page) {
            if (!first)
                device.newPage();
            first = false;
            renderer.paint(painter, page, dotsPerMm);
        }
    }
}

QByteArray PdfOf(const std::vector<const Content *> &reports)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        writer.setResolution(600);
        if (!reports.empty())
            writer.setTitle(reports.front()->frame.title);
        writer.setCreator(QStringLiteral("Quintara"));
        QPainter painter;
        if (!painter.begin(&writer))
            throw ReportError(QStringLiteral("cannot start the PDF of the report"));
        PaintReports(painter, writer, writer.resolution() / 25.4, reports);
        painter.end();
    }
    return buffer.data();
}

QByteArray PdfOf(const std::vector<Content> &reports)
{
    std::vector<const Content *> all;
    for (const Content &content : reports)
        all.push_back(&content);
    return PdfOf(all);
}

QImage Renderer::image(int page, int dotsPerInch) const
{
    const double dotsPerMm = dotsPerInch / 25.4;
    QImage sheet(int(PageWidthMm * dotsPerMm + 0.5), int(PageHeightMm * dotsPerMm + 0.5), QImage::Format_RGB32);
    sheet.setDotsPerMeterX(int(dotsPerMm * 1000 + 0.5));
    sheet.setDotsPerMeterY(int(dotsPerMm * 1000 + 0.5));
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter, page, dotsPerMm);
    return sheet;
}

QByteArray Renderer::jpeg(int dotsPerInch) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image(0, dotsPerInch).save(&buffer, "JPG", 90))
        throw ReportError(QStringLiteral("cannot encode the picture as JPEG"));
    return buffer.data();
}

} // namespace report
