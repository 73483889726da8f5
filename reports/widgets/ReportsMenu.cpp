#include "reports/widgets/ReportsMenu.h"

#include "common/Messenger.h"
#include "reports/ReportCatalogue.h"
#include "reports/widgets/ReportPrinting.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TReportsMenuFrm::TReportsMenuFrm(const ReportContext &context, QWidget *parent)
    : QDialog(parent), context_(context)
{
    setWindowTitle(QStringLiteral("Reports Menu"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    const auto &reports = ReportsMenuBoxes();
    const int rows = int(reports.size() + 1) / 2;
    for (size_t i = 0; i < reports.size(); ++i) {
        auto *box = new QCheckBox(reports[i].caption);
        boxes.push_back(box);
        grid->addWidget(box, int(i) % rows, int(i) / rows);
    }
    layout->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    selectAll = new QPushButton(QStringLiteral("Select all"));
    unselectAll = new QPushButton(QStringLiteral("Unselect all"));
    print = new QPushButton(QStringLiteral("Print"));
    cancel = new QPushButton(QStringLiteral("Cancel"));
    for (QPushButton *button : {selectAll, unselectAll, print, cancel})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    const auto tickAll = [this](bool ticked) {
        for (QCheckBox *box : boxes)
            box->setChecked(ticked);
    };
    connect(selectAll, &QPushButton::clicked, this, [tickAll] { tickAll(true); });
    connect(unselectAll, &QPushButton::clicked, this, [tickAll] { tickAll(false); });
    connect(print, &QPushButton::clicked, this, &TReportsMenuFrm::PrintClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TReportsMenuFrm::PrintClick()
{
    const auto &reports = ReportsMenuBoxes();
    const auto ticked = [&](ReportEntry entry) {
        for (size_t i = 0; i < reports.size(); ++i)
            if (reports[i].entry == entry)
                return boxes[i]->isChecked();
        return false;
    };
    std::vector<report::Content> printed;
    bool any = false;
    for (ReportEntry entry : ReportsMenuPrintOrder()) {
        if (!ticked(entry))
            continue;
        any = true;
        if (InCatalogue(entry)) {
            for (report::Content &content : MakeEntryReports(context_, entry))
                printed.push_back(std::move(content));
            continue;
        }
        ReportChoice choice;
        if (entry != ReportEntry::Basic)
            choice.afterBonus = entry == ReportEntry::AfterBonus;
        if (std::optional<report::Content> content = MakeBasicReport(context_, choice))
            printed.push_back(std::move(*content));
    }
    if (!any) {
        ShowWarning(QString::fromLatin1(NoSelectedReport));
        return;
    }
    PrintReports(printed, 1, context_.exportDirectory);
    accept();
}
