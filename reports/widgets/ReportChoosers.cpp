#include "reports/widgets/ReportChoosers.h"

#include "common/Messenger.h"
#include "reports/PlayerReports.h"
#include "reports/widgets/ReportPrinting.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TReportChooser::TReportChooser(ChooserKind kind, const ReportContext &context, QWidget *parent)
    : QDialog(parent), context_(context), texts_(TextsOf(kind))
{
    setWindowTitle(texts_.caption);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *optionsBox = new QGroupBox(QStringLiteral("Options"));
    auto *optionsLayout = new QVBoxLayout(optionsBox);
    auto *group = new QButtonGroup(this);
    const std::array<bool, 6> enabled = EnabledScopes(context.clock);
    for (size_t i = 0; i < options.size(); ++i) {
        options[i] = new QRadioButton(texts_.options[i]);
        options[i]->setEnabled(enabled[i]);
        group->addButton(options[i], int(i));
        optionsLayout->addWidget(options[i]);
    }
    options[0]->setChecked(true);
    top->addWidget(optionsBox);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Explanation:")));
    explanation = new QPlainTextEdit;
    explanation->setReadOnly(true);
    explanation->setMaximumHeight(70);
    right->addWidget(explanation);
    auto *parameterRow = new QHBoxLayout;
    parameterRow->addWidget(new QLabel(QStringLiteral("Parameter:")));
    parameterCaption = new QLabel;
    parameterCaption->setMinimumWidth(110);
    parameterRow->addWidget(parameterCaption);
    parameter = new QSpinBox;
    parameter->setRange(1, 999);
    parameter->setValue(1);
    parameterRow->addWidget(parameter);
    parameterRow->addStretch();
    right->addLayout(parameterRow);
    auto *filters = new QFormLayout;
    const auto combo = [&](QComboBox *&box, const QStringList &items, const char *caption) {
        box = new QComboBox;
        box->addItems(items);
        // The turnovers chooser opens with nothing chosen, which filters nothing.
        box->setCurrentIndex(kind == ChooserKind::Basic ? 0 : -1);
        filters->addRow(QString::fromLatin1(caption), box);
    };
    combo(attackType, texts_.attackTypes, "For Attack Type:");
    combo(defenceType, texts_.defenceTypes, "For Defense Type:");
    combo(bonusOption, texts_.bonusOptions, "Bonus Option:");
    right->addLayout(filters);
    top->addLayout(right, 1);
    layout->addLayout(top);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    show = new QPushButton(texts_.show);
    exit = new QPushButton(QStringLiteral("Exit"));
    buttons->addWidget(show);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            scopeChanged();
    });
    connect(show, &QPushButton::clicked, this, [this] {
        show->setEnabled(false);
        showReport();
        show->setEnabled(true);
    });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    scopeChanged();
}

ReportScope TReportChooser::scope() const
{
    for (size_t i = 0; i < options.size(); ++i)
        if (options[i]->isChecked())
            return ReportScope(i);
    return ReportScope::AtTheMoment;
}

ReportChoice TReportChooser::choice() const
{
    return ChoiceOf(scope(), parameter->value(), attackType->currentIndex(), defenceType->currentIndex(),
                    bonusOption->currentIndex());
}

void TReportChooser::scopeChanged()
{
    const ReportScope chosen = scope();
    explanation->setPlainText(texts_.explanations[size_t(chosen)]);
    parameterCaption->setText(ParameterCaption(chosen));
}

TBasicRepChooseFrm::TBasicRepChooseFrm(const ReportContext &context, QWidget *parent,
                                       std::optional<bool> fixedAfterBonus)
    : TReportChooser(ChooserKind::Basic, context, parent)
{
    options[size_t(ReportScope::UntilMinute)]->hide();
    if (fixedAfterBonus) {
        setWindowTitle(*fixedAfterBonus ? QStringLiteral("AFTER BONUS REPORT") : QStringLiteral("BEFORE BONUS REPORT"));
        bonusOption->setCurrentIndex(*fixedAfterBonus ? 2 : 1);
        bonusOption->setEnabled(false);
    }
}

void TBasicRepChooseFrm::ShowBasicReport()
{
    const std::optional<report::Content> content = MakeBasicReport(context_, choice());
    if (content)
        PreviewReport(this, *content);
    accept();
}

TRep3Dlg::TRep3Dlg(const ReportContext &context, QWidget *parent)
    : TReportChooser(ChooserKind::Turnovers, context, parent)
{
}

void TRep3Dlg::showReport()
{
    // The choice stays for the turnovers report the reports menu prints.
    TurnoversFilter() = choice();
    for (const report::Content &content : MakeEntryReports(context_, ReportEntry::Turnovers, true))
        PreviewReport(this, content);
    accept();
}
