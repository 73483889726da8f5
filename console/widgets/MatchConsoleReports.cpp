// The console's report entries: the "Reports" menu, the "Reports and
// Settings" page with "Color Print" and "Fast Report". Reports read the
// match's stored rows, never the console's tables.
#include "console/widgets/MatchConsole.h"

#include "common/AppPaths.h"
#include "data/DataModule.h"
#include "reports/ReportEntries.h"
#include "reports/widgets/ReportDesk.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

namespace {

ReportContext ContextOf(MatchSession &session)
{
    return {.db = &dm()->db(),
            .match = session.MatchId(),
            .clock = session.Clock(),
            .pictureDirectory = AppPaths::dataDirectory(),
            .exportDirectory = AppPaths::exportDirectory()};
}

} // namespace

void TMatchFrm::addReportEntries(QMenu *reports)
{
    for (const ReportEntryText &text : ReportEntryTexts()) {
        QMenu *menu = reports;
        for (qsizetype i = 0; i + 1 < text.menuPath.size(); ++i) {
            QMenu *sub = menu->findChild<QMenu *>(text.menuPath[i], Qt::FindDirectChildrenOnly);
            if (!sub) {
                sub = menu->addMenu(text.menuPath[i]);
                sub->setObjectName(text.menuPath[i]);
            }
            menu = sub;
        }
        const ReportEntry entry = text.entry;
        menu->addAction(text.menuPath.last(), this, [this, entry] { OpenReport(entry); });
    }
}

QWidget *TMatchFrm::buildReportsPage()
{
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    auto *buttons = new QGridLayout;
    int k = 0;
    for (const ReportEntryText &text : ReportEntryTexts()) {
        if (text.button.isEmpty())
            continue;
        auto *button = new QPushButton(text.button);
        button->setFocusPolicy(Qt::NoFocus);
        const ReportEntry entry = text.entry;
        connect(button, &QPushButton::clicked, this, [this, entry] { OpenReport(entry); });
        buttons->addWidget(button, k % 5, k / 5);
        ++k;
    }
    layout->addLayout(buttons);
    auto *settings = new QGridLayout;
    auto *colour = new QCheckBox(QStringLiteral("Color Print"));
    colour->setFocusPolicy(Qt::NoFocus);
    colour->setChecked(ReportsInColour());
    connect(colour, &QCheckBox::toggled, this, [](bool on) { ReportsInColour() = on; });
    settings->addWidget(colour, 0, 0, 1, 2);
    fastReportButton = new QPushButton(QStringLiteral("Fast Report"));
    fastReportButton->setFocusPolicy(Qt::NoFocus);
    connect(fastReportButton, &QPushButton::clicked, this, &TMatchFrm::FastReportClicked);
    settings->addWidget(fastReportButton, 1, 0);
    fastReportCopies = new QSpinBox;
    fastReportCopies->setRange(1, 60);
    fastReportCopies->setValue(1);
    fastReportCopies->setSuffix(QStringLiteral(" copies"));
    settings->addWidget(fastReportCopies, 1, 1);
    settings->setRowStretch(2, 1);
    layout->addLayout(settings);
    layout->addStretch();
    return page;
}

void TMatchFrm::OpenReport(ReportEntry entry)
{
    OpenReportEntry(this, ContextOf(session_), entry);
    grammar_.Focus(EntryBox::Init);
    syncFromGrammar();
}

void TMatchFrm::FastReportClicked()
{
    fastReportButton->setEnabled(false);
    FastReport(ContextOf(session_), fastReportCopies->value());
    fastReportButton->setEnabled(true);
}
