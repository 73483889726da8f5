#include "app/MessageBoxes.h"

#include <cstdio>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

MessageBoxMessenger::MessageBoxMessenger() = default;
MessageBoxMessenger::~MessageBoxMessenger() = default;

bool MessageBoxMessenger::show(Kind kind, const QString &text)
{
    QWidget *parent = QApplication::activeWindow();
    const QString title = QStringLiteral("Quintara");
    // A message must be readable even while a long piece of work shows the busy cursor.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    bool yes = false;
    switch (kind) {
    case Kind::Error:
        QMessageBox::critical(parent, title, text);
        break;
    case Kind::Warning:
        QMessageBox::warning(parent, title, text);
        break;
    case Kind::Information:
        QMessageBox::information(parent, title, text);
        break;
    case Kind::Confirmation:
        // Every question guards an action not easily undone (closing a match,
        // deleting, replacing the database): a stray Enter answers No.
        yes = QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
              QMessageBox::Yes;
        break;
    }
    if (busy)
        QApplication::restoreOverrideCursor();
    return yes;
}

void MessageBoxMessenger::note(const QString &text)
{
    if (text.isEmpty()) {
        note_.reset();
        return;
    }
    if (!note_) {
        note_ = std::make_unique<QLabel>();
        note_->setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
        note_->setMargin(24);
        note_->setFrameStyle(QFrame::Box);
        note_->setWindowTitle(QStringLiteral("Quintara"));
    }
    note_->setText(text);
    note_->adjustSize();
    note_->show();
    // The work that follows keeps the event loop waiting: paint the note now.
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void MessageBoxMessenger::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TerminalMessenger::note(const QString &text)
{
    if (!text.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

bool TerminalMessenger::show(Kind kind, const QString &text)
{
    static const char *const words[] = {"error", "warning", "information", "question (answered No)"};
    std::fprintf(stderr, "%s: %s\n", words[int(kind)], qPrintable(text));
    return false;
}
