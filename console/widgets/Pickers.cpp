#include "console/widgets/Pickers.h"

#include "data/ActionCodes.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>


namespace {

// The half court with the basket at the top, as the zones are numbered.
class HalfCourt final : public QWidget
{
public:
    HalfCourt() { setFixedSize(240, 200); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(214, 160, 96));
        p.setPen(QPen(Qt::white, 2));
        p.drawRect(rect().adjusted(1, 1, -2, -2));
        p.drawRect(QRect(width() / 2 - 40, 1, 80, 80));
        p.drawArc(QRect(width() / 2 - 110, -110, 220, 220), 180 * 16, 180 * 16);
        p.setBrush(Qt::white);
        p.drawEllipse(QPoint(width() / 2, 14), 6, 6);
    }
};

// The six zone buttons over a half court: 6 5 4 near the basket, 1 2 3 farther.
QWidget *zoneButtons(const std::function<void(const QString &)> &onZone)
{
    auto *court = new HalfCourt;
    auto *grid = new QGridLayout(court);
    const char *rows[2][3] = {{"6", "5", "4"}, {"1", "2", "3"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            auto *b = new QPushButton(QString::fromLatin1(rows[r][c]));
            b->setFlat(true);
            b->setStyleSheet(QStringLiteral("font-size: 18pt; font-weight: bold; color: black"));
            if (onZone)
                QObject::connect(b, &QPushButton::clicked, court, [onZone, b] { onZone(b->text()); });
            grid->addWidget(b, r, c);
        }
    return court;
}

} // namespace

TShootPosFrm::TShootPosFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setWindowTitle(QStringLiteral("Shoot Position"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(zoneButtons([this](const QString &zone) {
        SelectedZone = zone;
        ZoneCancelled = false;
        accept();
    }));
}

int TShootPosFrm::Pick(const QPoint &where)
{
    SelectedZone = QStringLiteral("1");
    ZoneCancelled = true;
    move(where);
    exec();
    return ZoneCancelled ? 0 : SelectedZone.toInt();
}

TTurnoverTypesFrm::TTurnoverTypesFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setWindowTitle(QStringLiteral("Turnover Types"));
    auto *grid = new QGridLayout(this);
    const QStringList &names = TurnoverTypeNames();
    for (int i = 0; i < names.size(); ++i) {
        const int type = i + 1;
        auto *name = new QPushButton(names[i]);
        auto *number = new QPushButton(QString::number(type));
        for (QPushButton *b : {name, number}) {
            b->setFlat(true);
            connect(b, &QPushButton::clicked, this, [this, type] {
                SelectedType = type;
                accept();
            });
        }
        name->setStyleSheet(QStringLiteral("text-align: left"));
        const int column = i < 7 ? 0 : 2;
        grid->addWidget(number, i % 7, column);
        grid->addWidget(name, i % 7, column + 1);
    }
}

int TTurnoverTypesFrm::Pick(const QPoint &where)
{
    SelectedType = 1;
    move(where);
    return exec() == QDialog::Accepted ? SelectedType : 0;
}

TPFTypesFrm::TPFTypesFrm(QWidget *parent) : QDialog(parent), rgPFType(new QButtonGroup(this))
{
    setWindowTitle(QStringLiteral("Personal Fault Type"));
    auto *layout = new QVBoxLayout(this);
    const QStringList &names = FoulTypeNames();
    for (int i = 0; i < names.size(); ++i) {
        auto *b = new QRadioButton(names[i]);
        rgPFType->addButton(b, i + 1);
        layout->addWidget(b);
    }
    auto *ok = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(ok);
}

int TPFTypesFrm::Pick()
{
    rgPFType->button(1)->setChecked(true);
    rgPFType->button(1)->setFocus();
    exec();
    // Closing without a choice keeps the plain personal foul.
    return std::max(1, rgPFType->checkedId());
}

TEventLegendFrm::TEventLegendFrm(QWidget *parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Events codes and parameters legend"));
    auto *layout = new QHBoxLayout(this);

    auto *codes = new QGridLayout;
    int row = 0;
    auto addLine = [&](const QString &name, const QString &key) {
        codes->addWidget(new QLabel(name), row, 0);
        codes->addWidget(new QLabel(key), row++, 1);
    };
    for (int slot = 3; slot <= 20; ++slot)
        addLine(EventLegendName(ActionCodes().CodeAt(slot)), QString::number(ActionCodes().CodeAt(slot)));
    addLine(EventLegendName(EvExitWithoutChanges), QStringLiteral("210"));
    const char *teamEvents[][2] = {{"TEAM OFFENCE", "[F3]"}, {"TEAM DEFENCE", "[F4]"}, {"TEAM TURNOVER", "[F5]"},
                                   {"JUMP BALL HOME", "[F6]"}, {"JUMP BALL AWAY", "[F7]"}};
    for (const auto &e : teamEvents)
        addLine(QString::fromLatin1(e[0]), QString::fromLatin1(e[1]));
    layout->addLayout(codes);

    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("<b>Turnover types</b>")));
    const QStringList &types = TurnoverTypeNames();
    for (int i = 0; i < types.size(); ++i)
        right->addWidget(new QLabel(QStringLiteral("%1  %2").arg(i + 1).arg(types[i])));
    right->addWidget(new QLabel(QStringLiteral("<b>Shoot codes</b>")));
    right->addWidget(zoneButtons(nullptr));
    right->addStretch();
    layout->addLayout(right);
}

ParameterPickers &Pickers()
{
    static ParameterPickers pickers;
    return pickers;
}
