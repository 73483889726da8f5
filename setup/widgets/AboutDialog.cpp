#include "setup/widgets/AboutDialog.h"

#include "setup/widgets/Pictures.h"
#include "setup/VersionInfo.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutFrm::TAboutFrm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Quintara"));
    auto *layout = new QVBoxLayout(this);

    auto *heading = new QHBoxLayout;
    auto *icon = new QLabel;
    icon->setPixmap(Pictures::Basketball(48));
    heading->addWidget(icon);
    auto *name = new QLabel(QStringLiteral("QUINTARA"));
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() * 2);
    name->setFont(bold);
    heading->addWidget(name);
    heading->addStretch();
    layout->addLayout(heading);

    Version = new QLabel;
    layout->addWidget(Version);
    layout->addWidget(new QLabel(QStringLiteral("Basketball match statistics: live entry, box scores, "
                                                "play-by-play, reports and live web data.")));
    layout->addWidget(new QLabel(QStringLiteral("Contact: the Quintara team, support@quintara.local")));
    auto *picture = new QLabel;
    picture->setPixmap(Pictures::Court(420, 230));
    layout->addWidget(picture);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    // OK is both the default and the cancel button.
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutFrm::showEvent(QShowEvent *event)
{
    Version->setText(ShownVersion());
    QDialog::showEvent(event);
}
