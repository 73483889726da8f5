#include "setup/widgets/MainWindow.h"

#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "data/DataModule.h"
#include "setup/widgets/AboutDialog.h"
#include "setup/MainActions.h"
#include "setup/widgets/Pictures.h"
#include "setup/VersionInfo.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// A label that acts when clicked (the banner's "EXIT").
class ClickableLabel final : public QLabel
{
public:
    ClickableLabel(const QString &text, std::function<void()> onClick)
        : QLabel(text), onClick_(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *) override { onClick_(); }

private:
    std::function<void()> onClick_;
};

} // namespace

TMainFrm::TMainFrm(QWidget *parent) : QMainWindow(parent)
{
    MainActions::ResetProcessState();

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(buildBanner());
    layout->addWidget(buildActionGroups());
    lbAdvice = new QLabel;
    lbAdvice->setObjectName(QStringLiteral("lbAdvice"));
    lbAdvice->setWordWrap(true);
    lbAdvice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbAdvice->setStyleSheet(QStringLiteral("background: rgb(255, 250, 205); border: 1px solid rgb(200, 180, 90); "
                                           "padding: 6px"));
    lbAdvice->hide();
    layout->addWidget(lbAdvice);
    setCentralWidget(central);
    buildMenus();

    if (const QString version = ShownVersion(); !version.isEmpty()) {
        setWindowTitle(QStringLiteral("Quintara (QNT %1)").arg(version));
        Label3->setText(version);
    } else {
        setWindowTitle(QStringLiteral("Quintara"));
        ShowError(QStringLiteral("Can't get file version information for ") + QApplication::applicationFilePath());
    }

    const bool admin = MainActions::AdminMode(AppPaths::dataDirectory());
    grpAdminActions->setVisible(admin);
    bitBtnTeams->setVisible(admin);
    bitBtnLeagues->setVisible(admin);

    MainActions::PrepareExportDirectory(AppPaths::exportDirectory());

    // A fixed window in the middle of the screen.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QWidget *TMainFrm::buildBanner()
{
    auto *banner = new QWidget;
    banner->setAutoFillBackground(true);
    QPalette black = banner->palette();
    black.setColor(QPalette::Window, Qt::black);
    banner->setPalette(black);

    auto *row = new QHBoxLayout(banner);
    auto *leftPicture = new QLabel;
    leftPicture->setPixmap(Pictures::Basketball(72));
    row->addWidget(leftPicture);

    auto *titles = new QVBoxLayout;
    auto *product = new QLabel(QStringLiteral("QUINTARA"));
    QFont big = product->font();
    big.setPointSize(28);
    big.setBold(true);
    product->setFont(big);
    product->setStyleSheet(QStringLiteral("color: silver"));
    product->setAlignment(Qt::AlignCenter);
    titles->addWidget(product);
    Label3 = new QLabel;
    Label3->setStyleSheet(QStringLiteral("color: silver"));
    Label3->setAlignment(Qt::AlignCenter);
    titles->addWidget(Label3);
    row->addLayout(titles, 1);

    auto *rightPicture = new QLabel;
    rightPicture->setPixmap(Pictures::Court(128, 72));
    row->addWidget(rightPicture);

    auto *exitLabel = new ClickableLabel(QStringLiteral("EXIT"), [this] { close(); });
    exitLabel->setStyleSheet(QStringLiteral("color: aqua; font-weight: bold"));
    exitLabel->setObjectName(QStringLiteral("ExitLabel"));
    row->addWidget(exitLabel, 0, Qt::AlignTop);
    return banner;
}

QPushButton *TMainFrm::actionButton(const QString &caption, void (TMainFrm::*slot)())
{
    auto *button = new QPushButton(caption);
    button->setMinimumHeight(32);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

QWidget *TMainFrm::buildActionGroups()
{
    auto *groups = new QWidget;
    auto *grid = new QGridLayout(groups);

    auto browserButton = [this](const QString &caption, BrowserKind kind) {
        auto *button = new QPushButton(caption);
        button->setMinimumHeight(32);
        connect(button, &QPushButton::clicked, this, [this, kind] { OpenBrowser(kind); });
        return button;
    };

    auto *quintara = new QGroupBox(QStringLiteral("Quintara Actions"));
    quintara->setObjectName(QStringLiteral("grpQNTActions"));
    auto *q = new QGridLayout(quintara);
    q->addWidget(browserButton(QStringLiteral("Players"), BrowserKind::Players), 0, 0);
    q->addWidget(browserButton(QStringLiteral("Player Positions"), BrowserKind::PlayerPositions), 0, 1);
    q->addWidget(browserButton(QStringLiteral("Coaches"), BrowserKind::Coaches), 1, 0);
    q->addWidget(browserButton(QStringLiteral("Referees"), BrowserKind::Referees), 1, 1);
    q->addWidget(browserButton(QStringLiteral("Delegates"), BrowserKind::Delegates), 2, 0);
    q->addWidget(browserButton(QStringLiteral("Statists"), BrowserKind::Statists), 2, 1);
    grid->addWidget(quintara, 0, 0);

    grpAdminActions = new QGroupBox(QStringLiteral("Admin Actions"));
    grpAdminActions->setObjectName(QStringLiteral("grpAdminActions"));
    auto *admin = new QVBoxLayout(grpAdminActions);
    bitBtnTeams = browserButton(QStringLiteral("Teams"), BrowserKind::Teams);
    bitBtnLeagues = browserButton(QStringLiteral("Leagues"), BrowserKind::Leagues);
    admin->addWidget(bitBtnTeams);
    admin->addWidget(bitBtnLeagues);
    admin->addStretch();
    grid->addWidget(grpAdminActions, 0, 1);

    auto *match = new QGroupBox(QStringLiteral("Match Actions"));
    match->setObjectName(QStringLiteral("grpMatchActions"));
    auto *m = new QHBoxLayout(match);
    m->addWidget(actionButton(QStringLiteral("Create New Match"), &TMainFrm::CreateNewMatch));
    m->addWidget(actionButton(QStringLiteral("Open Existing Match"), &TMainFrm::OpenExistingMatch));
    m->addWidget(actionButton(QStringLiteral("Export Match ..."), &TMainFrm::ExportMatch));
    grid->addWidget(match, 1, 0, 1, 2);
    databaseWidgets_ = {quintara, grpAdminActions, match};
    return groups;
}

void TMainFrm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Create New Match"), QKeySequence(Qt::CTRL | Qt::Key_N), this,
                    &TMainFrm::CreateNewMatch);
    file->addAction(QStringLiteral("Open Existing Match"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &TMainFrm::OpenExistingMatch);
    file->addSeparator();
    auto browser = [this, file](const QString &caption, BrowserKind kind, const QKeySequence &keys = {}) {
        file->addAction(caption, keys, this, [this, kind] { OpenBrowser(kind); });
    };
    browser(QStringLiteral("Players"), BrowserKind::Players, QKeySequence(Qt::CTRL | Qt::Key_P));
    browser(QStringLiteral("Coaches"), BrowserKind::Coaches, QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    browser(QStringLiteral("Referees"), BrowserKind::Referees, QKeySequence(Qt::CTRL | Qt::Key_R));
    browser(QStringLiteral("Delegates"), BrowserKind::Delegates, QKeySequence(Qt::CTRL | Qt::Key_D));
    browser(QStringLiteral("Statists"), BrowserKind::Statists, QKeySequence(Qt::CTRL | Qt::Key_I));
    file->addSeparator();
    browser(QStringLiteral("Player Positions"), BrowserKind::PlayerPositions);
    browser(QStringLiteral("Coach Roles"), BrowserKind::CoachRoles);
    file->addSeparator();
    databaseActions_ = file->actions();
    file->addAction(QStringLiteral("Exit"), QKeySequence(Qt::Key_Escape), this, &QWidget::close);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    databaseActions_ << tools->addAction(QStringLiteral("Export Match ..."), this, &TMainFrm::ExportMatch);
    tools->addSeparator();
    tools->addAction(QStringLiteral("RETRIEVE Data Base from BACKUP"), this, [this] { RetrieveFromBackup(false); });
    tools->addAction(QStringLiteral("RETRIEVE Data Base from Additional BACKUP"), this,
                     [this] { RetrieveFromBackup(true); });
    tools->addAction(QStringLiteral("Backup RESTORE!"), this, &TMainFrm::RestoreFromServerBackup);

    QMenu *info = menuBar()->addMenu(QStringLiteral("&Info"));
    info->addAction(QStringLiteral("About ..."), this, &TMainFrm::ShowAbout);
}

void TMainFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    showAdvice();
}

void TMainFrm::showAdvice()
{
    // The data module starts after this window is made: its state is known when the window shows.
    if (!dm())
        return;
    const bool connected = dm()->connected();
    for (QWidget *w : databaseWidgets_)
        w->setEnabled(connected);
    for (QAction *a : databaseActions_)
        a->setEnabled(connected);
    const QString advice = MainActions::StartingAdvice(*dm(), AppPaths::dataDirectory());
    lbAdvice->setText(advice);
    lbAdvice->setVisible(!advice.isEmpty());
}

void TMainFrm::OpenBrowser(BrowserKind kind)
{
    MainActions::RunReferenceBrowser(*dm(), [this, kind] { ShowReferenceBrowser(kind, this); });
}

void TMainFrm::afterConsole(bool consoleRan)
{
    // Every match begins in a fresh process.
    if (consoleRan && MainActions::RestartApplication())
        QApplication::quit();
}

void TMainFrm::CreateNewMatch() { afterConsole(RunNewMatch(this)); }

void TMainFrm::OpenExistingMatch()
{
    if (MainActions::HasMatches(*dm()))
        afterConsole(RunExistingMatch(this));
}

void TMainFrm::ExportMatch()
{
    dm()->CloseAllDataSets();
    const bool exported = RunExportMatch(this);
    dm()->CloseAllDataSets();
    if (exported)
        ShowInformation(QStringLiteral("EXPORT FINISHED SUCCESSFULLY!"));
}

void TMainFrm::RetrieveFromBackup(bool additional)
{
    if (MainActions::RetrieveFromBackup(*dm(), additional))
        close();
}

void TMainFrm::RestoreFromServerBackup()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Backup RESTORE!"),
                                                      AppPaths::dataDirectory(),
                                                      QStringLiteral("Backup files (*.gbk*)"));
    if (!file.isEmpty())
        MainActions::RestoreFromServerBackup(*dm(), file);
}

void TMainFrm::ShowAbout()
{
    TAboutFrm about(this);
    about.exec();
}
