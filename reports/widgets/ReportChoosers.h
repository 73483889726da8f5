#pragma once
// The two choosers of a report's time scope and filters: the basic
// report's TBasicRepChooseFrm and the turnovers report's TRep3Dlg. Their
// choice is made of fixed options and the spin box's whole number only.

#include "reports/ReportEntries.h"
#include "reports/widgets/ReportDesk.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TReportChooser : public QDialog
{
    Q_OBJECT

public:
    TReportChooser(ChooserKind kind, const ReportContext &context, QWidget *parent);

    ReportScope scope() const;
    ReportChoice choice() const;

    std::array<QRadioButton *, 6> options{};
    QPlainTextEdit *explanation = nullptr;
    QLabel *parameterCaption = nullptr;
    QSpinBox *parameter = nullptr;
    QComboBox *attackType = nullptr, *defenceType = nullptr, *bonusOption = nullptr;
    QPushButton *show = nullptr, *exit = nullptr;

protected:
    virtual void showReport() = 0;
    const ReportContext context_;

private:
    void scopeChanged();
    const ChooserTexts &texts_;
};

class TBasicRepChooseFrm final : public TReportChooser
{
    Q_OBJECT

public:
    // A bonus entry's chooser has its bonus option fixed.
    TBasicRepChooseFrm(const ReportContext &context, QWidget *parent, std::optional<bool> fixedAfterBonus = {});

    // "Show": the report with the chosen filter in the print preview.
    void ShowBasicReport();

protected:
    void showReport() override { ShowBasicReport(); }
};

class TRep3Dlg final : public TReportChooser
{
    Q_OBJECT

public:
    TRep3Dlg(const ReportContext &context, QWidget *parent);

protected:
    void showReport() override;
};
