// The saved quarters window: the match's pictures listed each time it is
// shown, a double-click handing the picture to the desktop, and the
// console's View menu showing it with the open match's pictures.
#include "app/ConsoleDialogs.h"
#include "common/AppPaths.h"
#include "common/Transliterate.h"
#include "publish/widgets/SavedQuartersWindow.h"
#include "support/ConsoleDesk.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

class TestSavedQuarters : public QObject
{
    Q_OBJECT

public slots:
    void open(const QUrl &url) { opened << url; }

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void listedWhenShownAndOpenedOnDoubleClick();
    void consoleShowsTheOpenMatchsPictures();

private:
    QList<QUrl> opened;
};

void TestSavedQuarters::listedWhenShownAndOpenedOnDoubleClick()
{
    QTemporaryDir directory;
    const auto picture = [&](const QString &name) {
        QFile file(directory.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    };
    picture(u"3_Dubrava Cakovec_VS_Posavina Brcko_Period_1.jpeg"_s);
    TfrmSavedQuarters window(directory.path());
    QCOMPARE(window.windowTitle(), u"Saved Quarters"_s);
    window.SetTeams(u"Dubrava Čakovec"_s, u"Posavina Brčko"_s);
    window.show();
    QCOMPARE(window.llistBoxFiles->count(), 1);

    window.hide(); // a picture saved meanwhile is there the next time
    picture(u"3_Dubrava Cakovec_VS_Posavina Brcko_Period_2.jpeg"_s);
    window.show();
    QCOMPARE(window.llistBoxFiles->count(), 2);

    QDesktopServices::setUrlHandler(u"file"_s, this, "open");
    QListWidgetItem *second = window.llistBoxFiles->item(1);
    emit window.llistBoxFiles->itemDoubleClicked(second);
    QDesktopServices::unsetUrlHandler(u"file"_s);
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(directory.filePath(second->text()))});
}

void TestSavedQuarters::consoleShowsTheOpenMatchsPictures()
{
    QTemporaryDir live;
    qputenv("QUINTARA_LIVE_DIR", live.path().toLocal8Bit());
    RegisterConsoleDialogs();
    ConsoleDesk c;
    QVERIFY(c.opened);
    const MatchSession &session = c.window->session();
    const QString name = u"%1_%2_VS_%3_Period_1.jpeg"_s.arg(session.MatchId())
                             .arg(Transliterate(session.HomeName()), Transliterate(session.AwayName()));
    QFile picture(QDir(live.path()).filePath(name));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    c.window->OpenSavedQuarters();
    auto *window = c.window->findChild<TfrmSavedQuarters *>();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->llistBoxFiles->count(), 1);
    QCOMPARE(window->llistBoxFiles->item(0)->text(), name);
    qunsetenv("QUINTARA_LIVE_DIR");
}

QTEST_MAIN(TestSavedQuarters)
#include "test_saved_quarters.moc"
