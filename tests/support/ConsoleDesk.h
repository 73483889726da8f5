#pragma once
// The console window on a seeded match (twelve players a side, both
// starting fives recorded), shown and active, keyed as a statistician keys:
// the keys go to whichever box has the focus. Modal windows the console
// opens are answered by a watcher.

#include "console/widgets/MatchConsole.h"
#include "rules/RulesDesk.h"
#include "support/TestDatabase.h"

#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

struct ConsoleDesk
{
    ConsoleDesk();
    virtual ~ConsoleDesk() = default;

    // The desktop gives the console its activation back once a dialog has closed.
    void activate();
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Typed key by key into whichever box has the focus, as the boxes move it on.
    static void type(const QString &text);
    // One entry: the side into Init (which jumps to the side's player box), the
    // shirt number, the code and, when given, the parameter, each closed with
    // Enter; `seconds` answers the seconds dialog of a player change.
    void entry(int side, int player, int code, int parameter = 0, const QString &seconds = QString());

    Sandbox sb;
    rules::Desk desk;
    int match;
    std::unique_ptr<TMatchFrm> window;
    bool opened = false;
    // The next seconds dialog is answered with these digits and Enter; when
    // none are prepared it is refused and noted in `unexpected`.
    std::optional<QString> pendingSeconds;
    // Any other modal window: answered by this when it returns true, else
    // closed and noted in `unexpected`.
    std::function<bool(QWidget *)> answerOther;
    QStringList unexpected;

private:
    void answerModal();
    QTimer modalWatch_;
    bool handling_ = false;
};
