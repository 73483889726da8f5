#pragma once
// "Actions List": the events review window over one match's event records.
// ActionsReview decides everything; the window shows its rows and passes on
// the user's choices.

#include "console/ActionsReview.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TAllActionsViewfrm final : public QDialog
{
    Q_OBJECT
public:
    // Open with the match's id, call ApplyFilter() once, then exec(). After
    // it closes the console rebuilds what it shows from the event records
    // when review().RecordsChanged(); recordsChanged() is emitted after each
    // update or deletion while the window is open.
    TAllActionsViewfrm(fb::Connection &db, int ReviewMatchId, QWidget *parent = nullptr);

    ActionsReview &review() { return review_; }
    // The filter panel's choices, as ActionsReview takes them.
    ActionsFilter currentFilter() const;

public slots:
    void ApplyFilter();
    void UpdateAction();
    void DeleteAction();
    void ShowLegend();

signals:
    void recordsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public:
    QLineEdit *edDRES;
    QComboBox *cbRES;
    QComboBox *cbP;
    QComboBox *cbM;
    QComboBox *cbHG;
    QButtonGroup *rgOrder;
    QPushButton *btnApply;
    QLabel *lbCount;
    QTableWidget *grid;
    QPushButton *navFirst, *navPrior, *navNext, *navLast;
    QLineEdit *edHG, *edNODR, *edRES, *edPAR1;
    QButtonGroup *rgAttack;
    QButtonGroup *rgDefense;
    QPushButton *btnUpdate;
    QPushButton *btnDelete;
    QPushButton *btnLegend;
    QPushButton *btnBack;

private:
    void showRows();
    void showCurrent();
    void moveTo(int position);

    ActionsReview review_;
    bool showing_ = false;
};
