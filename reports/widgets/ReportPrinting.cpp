#include "reports/widgets/ReportPrinting.h"

#include "common/Messenger.h"
#include "publish/AtomicFile.h"
#include "reports/ReportRenderer.h"

#include <QDateTime>
#include <QDir>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

void SetUpPage(QPrinter &printer, const QString &title)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    // The report keeps its own margins.
    printer.setFullPage(true);
    printer.setDocName(title);
}

} // namespace

void PrintOn(QPrinter &printer, const report::Content &content)
{
    QPainter painter(&printer);
    report::PaintReports(painter, printer, printer.resolution() / 25.4, {&content});
}

PreviewPrinter::PreviewPrinter(const QString &title)
    : previewPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    SetUpPage(*previewPrinter, title);
}

ReportPreview::ReportPreview(const report::Content &content, QWidget *parent)
    : PreviewPrinter(content.frame.title), QPrintPreviewDialog(previewPrinter.get(), parent), content_(content)
{
    setWindowTitle(content_.frame.title);
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) { PrintOn(*target, content_); });
}

void PreviewReport(QWidget *parent, const report::Content &content)
{
    ReportPreview(content, parent).exec();
}

QString PrintReports(const std::vector<report::Content> &reports, int copies, const QString &exportDirectory)
{
    if (reports.empty())
        return {};
    std::vector<const report::Content *> pages;
    for (int copy = 0; copy < copies; ++copy)
        for (const report::Content &content : reports)
            pages.push_back(&content);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPage(printer, reports.front().frame.title);
    const bool printerThere = !QPrinterInfo::defaultPrinter().isNull();
    if (printerThere) {
        QPainter painter;
        if (painter.begin(&printer)) {
            report::PaintReports(painter, printer, printer.resolution() / 25.4, pages);
            painter.end();
            return {};
        }
    }
    // No printer, or one that would not start: the PDF where the live files are.
    const QString pdfName = QDir(exportDirectory)
                  .filePath(QStringLiteral("%1 %2.pdf")
                                .arg(reports.front().frame.title,
                                     QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))));
    QString message;
    try {
        const QString problem = SaveAtomically(pdfName, report::PdfOf(pages));
        message = problem.isEmpty()
                      ? QStringLiteral("There is no printer: the report was written to %1.")
                            .arg(QDir::toNativeSeparators(pdfName))
                      : QStringLiteral("There is no printer, and the report could not be written: %1").arg(problem);
    } catch (const std::exception &e) {
        message = QStringLiteral("There is no printer, and the report could not be written: %1")
                      .arg(QString::fromUtf8(e.what()));
    }
    if (printerThere)
        message.replace(QStringLiteral("There is no printer"), QStringLiteral("The printer did not start"));
    ShowWarning(message);
    return message;
}
