#pragma once
// A report on the screen and on paper: the print preview, and printing to
// the system's default printer. A machine without any printer gets the PDF
// in the export directory instead, and one message naming it.

#include "reports/ReportContent.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QString>

#include <memory>

#include <vector>

class QWidget;

// Paints the report onto a printer set up by the caller (A4 landscape).
void PrintOn(QPrinter &printer, const report::Content &content);

// The printer of a preview, made before the dialog and gone after it.
struct PreviewPrinter
{
    explicit PreviewPrinter(const QString &title);
    std::unique_ptr<QPrinter> previewPrinter;
};

// The print preview of a report, with the printer it prints on.
class ReportPreview final : private PreviewPrinter, public QPrintPreviewDialog
{
public:
    ReportPreview(const report::Content &content, QWidget *parent);

private:
    const report::Content content_;
};

// The print preview of the report, modal.
void PreviewReport(QWidget *parent, const report::Content &content);

// Prints each report `copies` times, in order, on the default printer.
// Without a printer the reports go into one PDF in `exportDirectory`
// (named after the first report and the time) and a message says so.
// Answers the message shown, empty when the printer took them.
QString PrintReports(const std::vector<report::Content> &reports, int copies, const QString &exportDirectory);
