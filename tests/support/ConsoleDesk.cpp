#include "support/ConsoleDesk.h"

#include "console/widgets/SecondsDialog.h"
#include "data/FbClient.h"

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

ConsoleDesk::ConsoleDesk() : desk(sb.dm().db()), match(desk.createMatch())
{
    desk.openMatch(match);
    desk.startMatch(false);
    sb.dm().db().commitRetaining();
    window = std::make_unique<TMatchFrm>();
    if (!window->OpenExistingMatch(match))
        return;
    window->show();
    window->activateWindow();
    opened = QTest::qWaitForWindowActive(window.get());
    QObject::connect(&modalWatch_, &QTimer::timeout, [this] { answerModal(); });
    modalWatch_.start(10);
}

void ConsoleDesk::answerModal()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || handling_)
        return;
    handling_ = true;
    if (auto *seconds = qobject_cast<TSecFrm *>(modal)) {
        if (!pendingSeconds) {
            unexpected << QStringLiteral("seconds dialog");
            seconds->reject();
        } else {
            auto *edit = seconds->seSec->findChild<QLineEdit *>();
            edit->selectAll();
            for (QChar c : *pendingSeconds)
                QTest::keyClick(edit, c.toLatin1());
            pendingSeconds.reset();
            QTest::keyClick(edit, Qt::Key_Return);
        }
    } else if (!answerOther || !answerOther(modal)) {
        unexpected << QString::fromLatin1(modal->metaObject()->className());
        modal->close();
    }
    handling_ = false;
}

void ConsoleDesk::activate()
{
    if (!window->isActiveWindow()) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
}

void ConsoleDesk::press(int key, Qt::KeyboardModifiers modifiers)
{
    QVERIFY2(QApplication::focusWidget(), "no box has the focus");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

void ConsoleDesk::type(const QString &text)
{
    for (QChar c : text) {
        QVERIFY2(QApplication::focusWidget(), "no box has the focus");
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}

void ConsoleDesk::entry(int side, int player, int code, int parameter, const QString &seconds)
{
    activate();
    window->entryBox(EntryBox::Init)->setFocus();
    window->entryBox(EntryBox::Init)->selectAll();
    type(QString::number(side));
    type(QString::number(player));
    press(Qt::Key_Return);
    type(QString::number(code));
    press(Qt::Key_Return);
    if (parameter > 0) {
        if (!seconds.isEmpty())
            pendingSeconds = seconds;
        type(QString::number(parameter));
        press(Qt::Key_Return);
    }
}
