#include "publish/widgets/LargeScoreboardWindow.h"

#include <QFrame>
#include <QGridLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int BaseWidth = 560; // the size the fonts below are chosen for
constexpr int BaseHeight = 330;

// The pieces whose text grows with the window, with their size at BaseHeight.
const char *const PointSize = "basePointSize";

QLabel *caption(const QString &text, const QString &colour, int pointSize)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(colour));
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    label->setFont(font);
    label->setProperty(PointSize, pointSize);
    return label;
}

QLCDNumber *digits()
{
    auto *number = new QLCDNumber(3);
    number->setSegmentStyle(QLCDNumber::Flat);
    number->setFrameShape(QFrame::NoFrame);
    number->setStyleSheet(QStringLiteral("QLCDNumber { color: #ffff00; background: black; }"));
    number->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    number->display(ThreeDigits(0));
    return number;
}

// A side's name over its score, in a rounded white frame.
QFrame *side(QLabel *name, QLCDNumber *score)
{
    auto *frame = new QFrame;
    frame->setObjectName(QStringLiteral("sideFrame"));
    frame->setStyleSheet(QStringLiteral("#sideFrame { border: 3px solid white; border-radius: 12px; }"));
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(name);
    layout->addWidget(score, 1);
    return frame;
}

} // namespace

TLargeScoreboardFrm::TLargeScoreboardFrm(std::function<ScoreboardReading()> read, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus), read_(std::move(read))
{
    // The statistician keys on while it is shown: it never takes the keyboard from the console.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Large Scoreboard"));
    setObjectName(QStringLiteral("LargeScoreboard"));
    setStyleSheet(QStringLiteral("#LargeScoreboard { background: #808080; }"));
    setAttribute(Qt::WA_StyledBackground);

    lblHOME = caption(QStringLiteral("HOME"), QStringLiteral("white"), 16);
    lblAWAY = caption(QStringLiteral("AWAY"), QStringLiteral("white"), 16);
    lbQuarter = caption(QString(), QStringLiteral("aqua"), 14);
    lblQuarters = caption(QString(), QStringLiteral("yellow"), 12);
    homeScore = digits();
    awayScore = digits();
    minute = digits();

    auto *layout = new QGridLayout(this);
    layout->addWidget(caption(QStringLiteral("QUINTARA v 5.5.0"), QStringLiteral("white"), 10), 0, 0, 1, 2);
    layout->addWidget(side(lblHOME, homeScore), 1, 0);
    layout->addWidget(side(lblAWAY, awayScore), 1, 1);
    auto *period = new QHBoxLayout;
    period->addWidget(caption(QStringLiteral("Period :"), QStringLiteral("aqua"), 14));
    period->addWidget(lbQuarter, 1);
    layout->addLayout(period, 2, 0);
    auto *clock = new QHBoxLayout;
    clock->addWidget(caption(QStringLiteral("Minute :"), QStringLiteral("aqua"), 14));
    clock->addWidget(minute, 1);
    layout->addLayout(clock, 2, 1);
    layout->addWidget(lblQuarters, 3, 0, 1, 2);
    layout->setRowStretch(1, 4);
    layout->setRowStretch(2, 1);
    resize(BaseWidth, BaseHeight);

    refresh_.setInterval(RefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &TLargeScoreboardFrm::RefreshLargeScoreboard);
}

void TLargeScoreboardFrm::RefreshLargeScoreboard()
{
    const ScoreboardReading now = read_();
    lblHOME->setText(ScoreboardName(now.home));
    lblAWAY->setText(ScoreboardName(now.away));
    homeScore->display(ThreeDigits(now.homeScore));
    awayScore->display(ThreeDigits(now.awayScore));
    lbQuarter->setText(now.period);
    minute->display(ThreeDigits(now.minute));
    lblQuarters->setText(PeriodPointsLine(now.periods));
}

void TLargeScoreboardFrm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (placed_)
        move(*placed_);
    else if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    RefreshLargeScoreboard();
    refresh_.start();
}

void TLargeScoreboardFrm::hideEvent(QHideEvent *event)
{
    refresh_.stop();
    placed_ = pos();
    QWidget::hideEvent(event);
}

void TLargeScoreboardFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Names and captions grow with the smaller of the two stretches, so a
    // wide window does not push them out of their frames.
    const double scale = std::min(double(width()) / BaseWidth, double(height()) / BaseHeight);
    for (QLabel *label : findChildren<QLabel *>()) {
        QFont font = label->font();
        font.setPointSizeF(std::max(6.0, label->property(PointSize).toInt() * scale));
        label->setFont(font);
    }
}

void TLargeScoreboardFrm::mousePressEvent(QMouseEvent *event)
{
    // Any point of the board drags it, as its title bar would.
    grab_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void TLargeScoreboardFrm::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - grab_);
    event->accept();
}
