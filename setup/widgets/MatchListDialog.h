#pragma once
// A window over the stored matches: the search strip ("Search:", "Find
// Next", "By Teams" / "By League") above the list of match panels, newest
// first, with the selected panel highlighted. MatchChooser decides. The
// match chooser and the export window put their own buttons below it.

#include "setup/MatchChooser.h"

#include <QDialog>

class QButtonGroup;
class QHBoxLayout;
class QLineEdit;
class QListView;
class QPushButton;
class Tdm;

class MatchListDialog : public QDialog
{
    Q_OBJECT

public:
    MatchChooser &chooser() { return chooser_; }

    QLineEdit *edSearch = nullptr;
    QPushButton *btnBrowse = nullptr;
    QButtonGroup *rgFind = nullptr;
    QListView *matches = nullptr;

    // Panels visible at a time.
    static constexpr int VisiblePanels = 7;

protected:
    MatchListDialog(Tdm &module, const QString &title, QWidget *owner);

    // A button of the row under the list, in the order they are added.
    QPushButton *addButton(const QString &caption, const QString &objectName);
    // Enter, Space or a double click on a panel.
    virtual void panelChosen() {}

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Search();
    void selectCurrent();

    MatchChooser chooser_;
    QHBoxLayout *buttons_ = nullptr;
};
