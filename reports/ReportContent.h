#pragma once
// What a report shows, apart from how it is painted: pages of bands, a band
// of blocks laid side by side, a block of lines, a line of cells. Widths are
// millimetres of the printed page; the renderer decides the rest (fonts,
// line heights, colours). The plain-text form lists every page, band and
// cell in order: what the tests compare and what a reader can diff.

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace report {

// How a cell is filled: not at all, with the heading colour (yellow in
// colour mode, white otherwise), or as a player who took part (yellow in
// colour mode).
enum class Fill { None, Heading, TookPart };

struct Cell
{
    QString text;
    double width = 10; // mm
    Qt::Alignment align = Qt::AlignHCenter;
    bool bold = false;
    bool framed = true;
    Fill fill = Fill::None;
};

struct Line
{
    std::vector<Cell> cells;

    Line &add(const QString &text, double width, Qt::Alignment align = Qt::AlignHCenter)
    {
        cells.push_back({.text = text, .width = width, .align = align});
        return *this;
    }
    // Caption text without a frame (facts, titles, captions).
    Line &caption(const QString &text, double width, bool bold = false, Qt::Alignment align = Qt::AlignLeft)
    {
        cells.push_back({.text = text, .width = width, .align = align, .bold = bold, .framed = false});
        return *this;
    }
    // Sets the fill and the weight of every cell of the line.
    Line &styled(Fill fill, bool bold = false);
    double width() const;
};

// A point of a line series, or a slice of a pie: its label is printed
// beside the point (empty: none) or names the slice.
struct ChartValue
{
    double x = 0, y = 0;
    QString label;
    QColor colour = {}; // a slice's colour; invalid: the series' colour
};

struct ChartSeries
{
    QString name;
    QColor colour;
    std::vector<ChartValue> values;
};

// A chart drawn by Qt Charts into the page: line series over the game
// minutes, or one pie of slices. The legend follows the colour mode.
struct Chart
{
    enum class Kind { Line, Pie };
    Kind kind = Kind::Line;
    QString title;
    std::vector<ChartSeries> series;
    double width = 90, height = 60; // mm
};

// The half-court picture with a text at each of the shot zones 1 to 6.
struct Court
{
    std::array<QString, 6> zones; // zone 1 first
    double width = 40, height = 34; // mm
};

// Lines one under the other, then a chart or a court picture under them.
struct Block
{
    std::vector<Line> lines;
    // Lines printed larger: titles, the teams and the score.
    bool large = false;
    std::optional<Chart> chart = {};
    std::optional<Court> court = {};
    // Lines printed under the picture (a court's summary).
    std::vector<Line> after = {};
};

// Blocks side by side, left to right, with a small gap between them.
struct Band
{
    QString name;
    std::vector<Block> blocks;
};

struct Page
{
    std::vector<Band> bands;
};

// The frame every report stands in: facts at the top of page 1, the league
// line and picture, the title, the footer of the last page, and whether
// headings and players who took part are printed in colour.
struct Frame
{
    QString title;
    // Three columns of facts, each a list of "caption", "value" pairs.
    std::vector<std::vector<std::pair<QString, QString>>> facts;
    QString leagueLine;
    QString leaguePicture; // a file, empty when there is none
    QStringList footer;
    bool colour = true;
};

struct Content
{
    Frame frame;
    std::vector<Page> pages;
};

// Every page, band, block, line and cell in order, one line of text per
// printed line, cells separated by " | ".
QString PlainText(const Content &content);

} // namespace report
