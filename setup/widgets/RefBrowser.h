#pragma once
// The reference browser window: one window for all nine members (referees,
// delegates, statisticians, coaches, leagues, coach roles, clubs, players,
// player positions). It only shows and forwards; RefBrowserLogic decides.

#include "setup/RefBrowserLogic.h"

#include <QDialog>
#include <QHash>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class Tdm;

class TRefBrowser final : public QDialog
{
    Q_OBJECT

public:
    TRefBrowser(BrowserKind kind, Tdm &module, QWidget *owner = nullptr);

    RefBrowserLogic &logic() { return logic_; }

    // The controls, named as on the form.
    QLineEdit *edSearch = nullptr;
    QPushButton *btnBrowse = nullptr;
    QWidget *rgFind = nullptr;
    QButtonGroup *findChoices = nullptr;
    QPushButton *backButton = nullptr; // "Back >>"
    QCheckBox *chkShowLeagues = nullptr;
    QTableView *leaguesList = nullptr;
    QTableView *dbg = nullptr; // over the rows in the order chosen by its header
    QWidget *DBNavigator1 = nullptr;
    QLabel *lbCount = nullptr;
    QLabel *lbCurrentAction = nullptr;
    QWidget *DBNavigator2 = nullptr;
    QDateEdit *birthDate = nullptr;
    QLabel *pictureView = nullptr;

    // The edit panel's control of a column.
    QWidget *editor(const QString &column) const { return editors_.value(column); }
    QPushButton *commandButton(RefBrowserLogic::Command command) const { return commands_.value(int(command)); }

    // Closing posts a row still being edited; the window stays when that is refused.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildSearchStrip();
    QWidget *buildNavigationStrip();
    QWidget *buildEditPanel();
    QWidget *buildPictureEditor(const EditField &field);
    QWidget *buildCommandGroup();
    QWidget *makeEditor(const EditField &field);
    QPushButton *button(const QString &caption, QWidget *parent = nullptr);

    void RunCommand(RefBrowserLogic::Command command);
    void Search();
    void focusFirstEditField();
    void updateTexts();
    void loadEditors();
    void showPicture();
    void selectCurrentRow();
    void fixTabOrder();

    RefBrowserLogic logic_;
    QHash<QString, QWidget *> editors_;
    QHash<int, QPushButton *> commands_;
    QList<QPushButton *> navigation_;
    QList<QWidget *> pictureButtons_;
    bool loading_ = false;
    RefSortModel *sorted_ = nullptr;
};
