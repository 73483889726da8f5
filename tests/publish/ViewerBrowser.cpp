#include "ViewerBrowser.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

QString PageValue(const QByteArray &page, const QString &id, int n)
{
    const QRegularExpression line(u"<DIV id=%1>([^\r\n]*)</DIV>"_s.arg(id));
    const QString values = line.match(QString::fromUtf8(page)).captured(1);
    return QUrl::fromPercentEncoding(values.split(u';').value(n - 1).toUtf8());
}

QStringList ExpectedFacts(const QByteArray &page, const QString &clock)
{
    return {PageValue(page, u"d"_s, 1), PageValue(page, u"g"_s, 1), PageValue(page, u"d"_s, 11),
            PageValue(page, u"g"_s, 11), clock, PageValue(page, u"d1"_s, 4)};
}

ViewerBrowser::ViewerBrowser()
{
    browser_.setProgram(QStandardPaths::findExecutable(u"chromium"_s));
    browser_.setArguments({u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--no-first-run"_s,
                           u"--remote-debugging-port=0"_s, u"--user-data-dir="_s + profile_.path(),
                           u"--window-size=1920,1080"_s, u"about:blank"_s});
}

ViewerBrowser::~ViewerBrowser()
{
    browser_.kill();
    browser_.waitForFinished();
}

QString ViewerBrowser::start()
{
    browser_.start();
    QByteArray said;
    QElapsedTimer t;
    t.start();
    const QRegularExpression listening(u"DevTools listening on ws://[^:]+:(\\d+)/"_s);
    QRegularExpressionMatch m;
    while (!(m = listening.match(QString::fromUtf8(said))).hasMatch() && t.elapsed() < 30000) {
        browser_.waitForReadyRead(200);
        said += browser_.readAllStandardError();
    }
    if (!m.hasMatch())
        return u"the browser did not open its DevTools port: "_s + QString::fromUtf8(said.right(500));
    QNetworkAccessManager net;
    std::unique_ptr<QNetworkReply> reply(net.get(QNetworkRequest(QUrl(u"http://127.0.0.1:%1/json/list"_s.arg(m.captured(1))))));
    for (t.restart(); !reply->isFinished() && t.elapsed() < 10000;)
        QTest::qWait(20);
    for (const QJsonValue &target : QJsonDocument::fromJson(reply->readAll()).array())
        if (target[u"type"_s].toString() == u"page"_s) {
            page_.open(QUrl(target[u"webSocketDebuggerUrl"_s].toString()));
            for (t.restart(); page_.state() != QAbstractSocket::ConnectedState && t.elapsed() < 10000;)
                QTest::qWait(20);
            QObject::connect(&page_, &QWebSocket::textMessageReceived, [this](const QString &text) {
                const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
                if (message[u"id"_s].toInt() == asked_)
                    answer_ = message[u"result"_s].toObject()[u"result"_s].toObject()[u"value"_s].toString();
            });
            return {};
        }
    return u"the browser has no page"_s;
}

void ViewerBrowser::open(const QUrl &url) { call(u"Page.navigate"_s, {{u"url"_s, url.toString()}}); }

QString ViewerBrowser::evaluate(const QString &expression)
{
    answer_.reset();
    call(u"Runtime.evaluate"_s, {{u"expression"_s, expression}, {u"returnByValue"_s, true}});
    QElapsedTimer t;
    t.start();
    while (!answer_ && t.elapsed() < 5000)
        QTest::qWait(5);
    return answer_.value_or(QString());
}

QStringList ViewerBrowser::facts()
{
    // Names, score, clock line, the points in the home team's first row.
    const QString shown = evaluate(QLatin1String(
        "JSON.stringify([document.getElementById('homeName').textContent,"
        " document.getElementById('awayName').textContent, document.getElementById('homePts').textContent,"
        " document.getElementById('awayPts').textContent, document.getElementById('clock').textContent,"
        " (document.querySelector('#boxHome tr[data-shirt] td:nth-child(3)') || {}).textContent || ''])"));
    return QJsonDocument::fromJson(shown.toUtf8()).toVariant().toStringList();
}

void ViewerBrowser::call(const QString &method, const QJsonObject &params)
{
    page_.sendTextMessage(QString::fromUtf8(
        QJsonDocument(QJsonObject{{u"id"_s, ++asked_}, {u"method"_s, method}, {u"params"_s, params}})
            .toJson(QJsonDocument::Compact)));
}
