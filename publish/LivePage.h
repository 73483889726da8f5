#pragma once
// The live page: the fragment of DIV value lists that websites, arena
// screens and TV graphics read while a match runs (docs/live-page.md tells
// every line). It is built from the match's stored rows alone (the match
// row, roster, event records and plus-minus) and changes no row, so the
// console's page and one rebuilt later from the command line are the same,
// and building it never disturbs the working tables of an open match.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace fb {
class Connection;
}

// Why a page could not be built or written, in one line naming the match or file.
class LivePageError : public std::runtime_error
{
public:
    explicit LivePageError(const QString &reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};

class LivePageBuilder
{
public:
    explicit LivePageBuilder(fb::Connection &db) : db_(db) {}

    // The page's lines, without line ends. A count that fails stays 0 and
    // the build goes on; raises LivePageError for an unknown match and
    // fb::Error when the match row or its records cannot be read.
    QStringList build(int match) const;

private:
    fb::Connection &db_;
};

// A text value as the page writes it. Stored text goes out as it is, except
// the characters that would break a value list or the HTML around it: "%",
// ";", "<", ">" and "&" become "%25", "%3B", "%3C", "%3E" and "%26", which a
// reader undoes with decodeURIComponent (or any percent-decoding).
QString LivePageText(const QString &text);

// The file's bytes: UTF-8 without a byte-order mark, each line ended by CR LF.
QByteArray LivePageBytes(const QStringList &lines);

// The page's file name in the export directory.
inline constexpr char LivePageFileName[] = "data.htm";

// Writes the page under a temporary name beside the file and renames it
// over the old one, so a reader sees the old page or the new one and never
// a missing or half-written file. Raises LivePageError with the path and the
// system's reason.
void WriteLivePage(const QString &fileName, const QByteArray &bytes);
