#include "reports/PeriodPicture.h"

#include "publish/AtomicFile.h"
#include "reports/BasicReport.h"
#include "reports/ReportFrame.h"
#include "reports/ReportRenderer.h"

#include <QDir>

QString SavePeriodPicture(fb::Connection &db, int match, const QString &fileName, bool colour,
                          const QString &pictureDirectory)
{
    try {
        const report::Content content = BuildBasicReport(
            db, {.match = match, .choice = {}, .colour = colour, .pictureDirectory = pictureDirectory});
        return SaveAtomically(fileName, report::Renderer(content).jpeg());
    } catch (const ReportError &e) {
        return QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(fileName), e.reason());
    } catch (const std::exception &e) { // the database's errors among them
        return QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(fileName),
                                                          QString::fromUtf8(e.what()));
    }
}
