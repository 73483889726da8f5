// The saved quarters window: the match's pictures listed each time it is
// shown, and a double-click handing the picture to the desktop.
#include "publish/widgets/SavedQuartersWindow.h"

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
    void listedWhenShownAndOpenedOnDoubleClick();

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

QTEST_MAIN(TestSavedQuarters)
#include "test_saved_quarters.moc"
