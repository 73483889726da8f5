#pragma once
// The viewer page in headless Chromium, driven through its DevTools protocol,
// for the tests that look at what a person sees.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebSocket>

#include <optional>

// One value of a page line (1-based, as docs/live-page.md counts), decoded.
QString PageValue(const QByteArray &page, const QString &id, int n);

// What the viewer should show for `page`: both names, both scores, the clock
// line, the points of the home team's first player.
QStringList ExpectedFacts(const QByteArray &page, const QString &clock);

class ViewerBrowser
{
public:
    ViewerBrowser();
    ~ViewerBrowser();

    bool available() const { return !browser_.program().isEmpty(); }
    // Starts the browser and attaches to its page; answers why not, empty when done.
    QString start();
    void open(const QUrl &url);
    // The value of a JavaScript expression that gives a text.
    QString evaluate(const QString &expression);
    // What the page shows, in the order of ExpectedFacts.
    QStringList facts();

private:
    void call(const QString &method, const class QJsonObject &params);

    QTemporaryDir profile_;
    QProcess browser_;
    QWebSocket page_;
    int asked_ = 0;
    std::optional<QString> answer_;
};
