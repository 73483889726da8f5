// The report windows as the console opens them: the refusals before the end
// of regular time, the choosers' options and their rules, the reports menu,
// "Fast Report", and a desk without a printer that gets a PDF instead.
#include "common/AppPaths.h"
#include "data/ActionCodes.h"
#include "reports/widgets/ReportChoosers.h"
#include "reports/widgets/ReportsMenu.h"
#include "support/ConsoleDesk.h"
#include "support/RecordingMessenger.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The text of a PDF, page by page.
QStringList pdfPages(const QString &file)
{
    QProcess text;
    text.start(u"pdftotext"_s, {u"-layout"_s, file, u"-"_s});
    text.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
    pages.removeAll(QString());
    return pages;
}

QStringList pdfsIn(const QString &directory)
{
    return QDir(directory).entryList({u"*.pdf"_s}, QDir::Files);
}

} // namespace

class TestReportWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { qunsetenv("QUINTARA_LIVE_DIR"); }
    void entriesDuringRegularTime();
    void chooserOptions_data();
    void chooserOptions();
    void bonusChooserAndPreview();
    void reportsMenuAndFastReport();
};

void TestReportWindows::initTestCase() { TestDatabase::prepareEngine(); }

void TestReportWindows::entriesDuringRegularTime()
{
    RecordingMessenger messages;
    ConsoleDesk c;
    QVERIFY(c.opened);
    QStringList opened;
    c.answerOther = [&](QWidget *modal) {
        opened << modal->windowTitle();
        modal->close();
        return true;
    };
    for (int i = 0; i < 25; ++i) // into the third quarter
        c.window->TimePanelClicked();
    messages.messages.clear();
    const struct
    {
        ReportEntry entry;
        QString opens; // the window's title, or the message
    } entries[] = {
        {ReportEntry::PointsComparison,
         u"Comparative report is not available! Last period in regular time is not finished!"_s},
        {ReportEntry::PointsByPlayers,
         u"Report by players is not available! Last period in regular time is not finished!"_s},
        {ReportEntry::Select, u"Action is not available! Last period in regular time is not finished!"_s},
        {ReportEntry::Basic, u"Basic Report"_s},
        {ReportEntry::BeforeBonus, u"BEFORE BONUS REPORT"_s},
        {ReportEntry::Turnovers, u"Turnovers"_s},
        {ReportEntry::Rebounds, u"Rebounds"_s}, // its print preview
    };
    for (const auto &e : entries) {
        opened.clear();
        messages.messages.clear();
        c.window->OpenReport(e.entry);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(opened + messages.texts(), QStringList{e.opens});
    }
    QCOMPARE(c.unexpected, QStringList());
}

void TestReportWindows::chooserOptions_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("ended");
    QTest::addColumn<QString>("enabled"); // of the six options, in order

    QTest::newRow("first quarter, 9 on the clock") << 1 << 9 << 0 << u"100000"_s;
    QTest::newRow("first quarter, 8 on the clock") << 1 << 8 << 0 << u"100001"_s;
    QTest::newRow("fourth quarter") << 4 << 3 << 0 << u"111001"_s;
    QTest::newRow("end of regular time") << 4 << 0 << 1 << u"111001"_s;
    QTest::newRow("first overtime being played") << 5 << 3 << 0 << u"111001"_s;
    QTest::newRow("end of the first overtime") << 5 << 0 << 1 << u"111111"_s;
    QTest::newRow("second overtime") << 6 << 4 << 0 << u"111111"_s;
}

void TestReportWindows::chooserOptions()
{
    QFETCH(int, period);
    QFETCH(int, minute);
    QFETCH(int, ended);
    QFETCH(QString, enabled);
    ReportContext context;
    context.clock = {.minute = minute, .period = period, .ended = ended};
    TBasicRepChooseFrm basic(context, nullptr);
    TRep3Dlg turnovers(context, nullptr);
    for (TReportChooser *chooser : {static_cast<TReportChooser *>(&basic), static_cast<TReportChooser *>(&turnovers)}) {
        QString states;
        for (QRadioButton *option : chooser->options)
            states += option->isEnabled() ? u'1' : u'0';
        QCOMPARE(states, enabled);
        QVERIFY(chooser->options[0]->isChecked());
        QCOMPARE(chooser->explanation->toPlainText(), chooser == &basic ? u"Complete report of all players."_s
                                                                         : u"Copmplete report of all players."_s);
    }
    QVERIFY(basic.options[5]->isHidden());
    QVERIFY(!turnovers.options[5]->isHidden());
    QCOMPARE(basic.attackType->currentText(), u"ALL TYPES"_s);
    QCOMPARE(basic.bonusOption->currentText(), u"WHOLE MATCH"_s);
    QCOMPARE(turnovers.attackType->currentIndex(), -1);
    QCOMPARE(turnovers.bonusOption->itemText(0), u"WHOLE GAME"_s);
    QCOMPARE(turnovers.show->text(), u"View"_s);
    QVERIFY(turnovers.choice() == ReportChoice{});

    // The spin box's number and the combos make the choice.
    basic.options[2]->setChecked(true);
    QCOMPARE(basic.parameterCaption->text(), u"Period"_s);
    QCOMPARE(basic.explanation->toPlainText(), u"Complete report of all players in defined period."_s);
    basic.parameter->setValue(2);
    basic.attackType->setCurrentIndex(3);
    basic.defenceType->setCurrentIndex(2);
    QCOMPARE(basic.choice().description(), u"Period 2 Only, Attack Type 2, Defense Type - ZONE"_s);
}

void TestReportWindows::bonusChooserAndPreview()
{
    RecordingMessenger messages;
    ConsoleDesk c;
    QVERIFY(c.opened);
    c.window->TimePanelClicked();
    c.entry(1, c.desk.court(1)[0], EvMade2, 5);
    QStringList seen; // what each window showed when it opened
    c.answerOther = [&](QWidget *modal) -> bool {
        if (auto *chooser = qobject_cast<TBasicRepChooseFrm *>(modal)) {
            seen << chooser->windowTitle() << chooser->bonusOption->currentText()
                 << (chooser->bonusOption->isEnabled() ? u"bonus enabled"_s : u"bonus fixed"_s);
            // Once this answer has returned, so the preview is answered too.
            QTimer::singleShot(0, chooser->show, &QPushButton::click);
            return true;
        }
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal)) {
            seen << u"preview: "_s + preview->windowTitle();
            preview->close();
            return true;
        }
        return false;
    };
    c.window->OpenReport(ReportEntry::AfterBonus);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(seen, (QStringList{u"AFTER BONUS REPORT"_s, u"AFTER BONUS"_s, u"bonus fixed"_s,
                                u"preview: After Bonus"_s}));
    QCOMPARE(c.unexpected, QStringList());
    QCOMPARE(messages.texts(), QStringList());

    // A report that cannot be made is said, and nothing opens.
    ReportContext gone;
    gone.db = &c.sb.dm().db();
    gone.match = c.match + 100;
    QVERIFY(!MakeBasicReport(gone, {}));
    QCOMPARE(messages.texts(), QStringList{u"The report could not be made: there is no match %1"_s.arg(gone.match)});
}

void TestReportWindows::reportsMenuAndFastReport()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a printer: the reports would go to paper");
    QTemporaryDir live;
    qputenv("QUINTARA_LIVE_DIR", live.path().toLocal8Bit());
    RecordingMessenger messages;
    ConsoleDesk c;
    QVERIFY(c.opened);
    for (int i = 0; i < 44; ++i) // to the end of regular time
        c.window->TimePanelClicked();
    messages.messages.clear();
    QStringList seen;
    c.answerOther = [&](QWidget *modal) -> bool {
        auto *menu = qobject_cast<TReportsMenuFrm *>(modal);
        if (!menu)
            return false;
        seen << menu->windowTitle() << QString::number(menu->boxes.size());
        menu->print->click(); // nothing ticked: said, and the menu stays
        seen << messages.texts().join(u'|') << (menu->isVisible() ? u"open"_s : u"closed"_s);
        menu->selectAll->click();
        seen << (std::ranges::all_of(menu->boxes, &QCheckBox::isChecked) ? u"all"_s : u"not all"_s);
        menu->unselectAll->click();
        seen << (std::ranges::none_of(menu->boxes, &QCheckBox::isChecked) ? u"none"_s : u"some"_s);
        for (QCheckBox *box : menu->boxes)
            if (box->text() == u"AFTER BONUS"_s || box->text() == u"Basics At the moment"_s ||
                box->text() == u"Roster"_s)
                box->setChecked(true);
        menu->print->click();
        return true;
    };
    c.window->OpenReport(ReportEntry::Select);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(c.unexpected, QStringList());
    QCOMPARE(seen, (QStringList{u"Reports Menu"_s, u"16"_s, u"There is no selected report!"_s, u"open"_s, u"all"_s,
                                u"none"_s}));
    // No printer: one PDF in the export directory, named in the message,
    // the roster, then the basic report, then the one after the bonus.
    QStringList pdfs = pdfsIn(live.path());
    QCOMPARE(pdfs.size(), 1);
    const QString file = QDir(live.path()).filePath(pdfs[0]);
    QCOMPARE(messages.texts().value(1),
             u"There is no printer: the report was written to %1."_s.arg(QDir::toNativeSeparators(file)));
    QCOMPARE(messages.texts().size(), 2);
    QStringList pages = pdfPages(file);
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[0].contains(u"Roster"_s));
    QVERIFY(pages[1].contains(u"Basic Report"_s));
    QVERIFY(pages[2].contains(u"After Bonus"_s) && pages[2].contains(u"At the moment, AFTER BONUS"_s));
    QVERIFY(QFile::remove(file));

    // "Fast Report" with three copies: the basic report three times, no dialog.
    messages.messages.clear();
    c.window->fastReportCopies->setValue(3);
    c.window->fastReportButton->click();
    QVERIFY(c.window->fastReportButton->isEnabled());
    pdfs = pdfsIn(live.path());
    QCOMPARE(pdfs.size(), 1);
    QCOMPARE(messages.texts().size(), 1);
    pages = pdfPages(QDir(live.path()).filePath(pdfs[0]));
    QCOMPARE(pages.size(), 3);
    QVERIFY(std::ranges::all_of(pages, [](const QString &page) { return page.contains(u"Basic Report"_s); }));
    c.window->fastReportCopies->setValue(0); // below the box's range: it keeps 1
    QCOMPARE(c.window->fastReportCopies->value(), 1);
    QCOMPARE(c.unexpected, QStringList());
}

QTEST_MAIN(TestReportWindows)
#include "test_report_windows.moc"
