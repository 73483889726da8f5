#pragma once
// The reports menu TReportsMenuFrm: tick reports, print them in one go in
// the fixed order.

#include "reports/widgets/ReportDesk.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QPushButton;

class TReportsMenuFrm final : public QDialog
{
    Q_OBJECT

public:
    TReportsMenuFrm(const ReportContext &context, QWidget *parent);

    // In the order of ReportsMenuBoxes().
    std::vector<QCheckBox *> boxes;
    QPushButton *selectAll = nullptr, *unselectAll = nullptr, *print = nullptr, *cancel = nullptr;

    // "Print": every ticked report, then the menu closes; with none ticked
    // it says so and stays open.
    void PrintClick();

private:
    const ReportContext context_;
};
