#include "reports/ReportCommands.h"

#include "common/AppPaths.h"
#include "data/FbClient.h"
#include "publish/AtomicFile.h"
#include "reports/BasicReport.h"
#include "reports/PlayerReports.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportFrame.h"
#include "reports/ReportRenderer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace {

const QString BasicReportName = QStringLiteral("basic");

QCommandLineOption Flag(const char *name, const char *help)
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help));
}

QCommandLineOption Valued(const char *name, const char *help, const char *value)
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help), QString::fromLatin1(value));
}

} // namespace

QStringList ReportNames()
{
    QStringList names{BasicReportName};
    for (const CatalogueReport &report : CatalogueReports())
        names << report.name;
    return names;
}

ReportCommandLine::ReportCommandLine()
    : report_(Valued("report", "Write the report <name> of the match given by --match (the newest without it) to "
                               "the file given by --pdf, then end; \"list\" lists the names.",
                     "name")),
      pdf_(Valued("pdf", "With --report: the PDF file to write.", "file")),
      jpeg_(Valued("jpeg", "With --report: also write page 1 as a JPEG picture to <file>.", "file")),
      periodOnly_(Valued("period-only", "With --report: the events of period <n> only.", "n")),
      untilPeriod_(Valued("until-period", "With --report: the events up to period <n>, this one included.", "n")),
      untilOvertime_(Flag("until-overtime", "With --report: the events of regular time.")),
      overtimeOnly_(Flag("overtime-only", "With --report: the events of the overtimes.")),
      attack_(Valued("attack", "With --report: the events of one attack type.", "normal|second|fast-break")),
      defence_(Valued("defence", "With --report: the events of one defence type.", "man|zone")),
      bonus_(Valued("bonus", "With --report: the events before or after the side's bonus.", "before|after"))
{
}

void ReportCommandLine::addTo(QCommandLineParser &parser) const
{
    for (const QCommandLineOption *option : {&report_, &pdf_, &jpeg_, &periodOnly_, &untilPeriod_, &untilOvertime_,
                                             &overtimeOnly_, &attack_, &defence_, &bonus_})
        parser.addOption(*option);
}

bool ReportCommandLine::requested(const QCommandLineParser &parser) const { return parser.isSet(report_); }

QString ReportCommandLine::misplacedFlag(const QCommandLineParser &parser) const
{
    if (parser.isSet(report_))
        return {};
    for (const QCommandLineOption *option : {&pdf_, &jpeg_, &periodOnly_, &untilPeriod_, &untilOvertime_,
                                             &overtimeOnly_, &attack_, &defence_, &bonus_})
        if (parser.isSet(*option))
            return QStringLiteral("--%1 goes with --report <name>.").arg(option->names().constFirst());
    return {};
}

std::variant<ReportChoice, QString> ReportCommandLine::choice(const QCommandLineParser &parser) const
{
    ReportChoice choice;
    int scopes = 0;
    for (const auto &[option, scope] : {std::pair{&periodOnly_, ReportScope::PeriodOnly},
                                        {&untilPeriod_, ReportScope::UntilPeriod},
                                        {&untilOvertime_, ReportScope::UntilOvertime},
                                        {&overtimeOnly_, ReportScope::OvertimeOnly}}) {
        if (!parser.isSet(*option))
            continue;
        ++scopes;
        choice.scope = scope;
        if (option->valueName().isEmpty())
            continue;
        bool isNumber = false;
        choice.parameter = parser.value(*option).toInt(&isNumber);
        if (!isNumber || choice.parameter < 1 || choice.parameter > 999)
            return QStringLiteral("--%1 takes a period from 1 to 999, not \"%2\"")
                .arg(option->names().constFirst(), parser.value(*option));
    }
    if (scopes > 1)
        return QStringLiteral("give one of --period-only, --until-period, --until-overtime, --overtime-only");
    const auto pick = [&](const QCommandLineOption &option, const QStringList &values,
                          std::optional<int> &into) -> QString {
        if (!parser.isSet(option))
            return {};
        const qsizetype k = values.indexOf(parser.value(option));
        if (k < 0)
            return QStringLiteral("--%1 takes %2, not \"%3\"")
                .arg(option.names().constFirst(), values.join(u'|'), parser.value(option));
        into = int(k);
        return {};
    };
    std::optional<int> bonus;
    for (const QString &problem :
         {pick(attack_, {QStringLiteral("normal"), QStringLiteral("second"), QStringLiteral("fast-break")},
               choice.attackType),
          pick(defence_, {QStringLiteral("man"), QStringLiteral("zone")}, choice.defenceType),
          pick(bonus_, {QStringLiteral("before"), QStringLiteral("after")}, bonus)})
        if (!problem.isEmpty())
            return problem;
    if (bonus)
        choice.afterBonus = *bonus == 1;
    return choice;
}

int ReportCommandLine::run(fb::Connection &db, const QCommandLineParser &parser, const QString &match,
                           QTextStream &out, QTextStream &errors) const
{
    const QString name = parser.value(report_);
    if (name == QLatin1String("list")) {
        for (const QString &known : ReportNames())
            out << known << '\n';
        return 0;
    }
    if (!ReportNames().contains(name)) {
        errors << "report failed: there is no report \"" << name << "\" (quintara --report list names them)\n";
        return 2;
    }
    if (!parser.isSet(pdf_)) {
        errors << "report failed: --report needs --pdf <file>\n";
        return 2;
    }
    const auto chosen = choice(parser);
    if (const auto *problem = std::get_if<QString>(&chosen)) {
        errors << "report failed: " << *problem << '\n';
        return 2;
    }
    // The basic and the turnovers report take the chooser's filters.
    const bool takesFilters = name == BasicReportName || name == QLatin1String("turnovers");
    if (!takesFilters && std::get<ReportChoice>(chosen) != ReportChoice{}) {
        errors << "report failed: the report \"" << name << "\" takes no filter flags\n";
        return 2;
    }
    int matchId = 0;
    try {
        if (match.isEmpty()) {
            matchId = db.scalar(QStringLiteral("SELECT MAX(ID_UTAKMICA) FROM UTAKMICA")).toInt();
            if (matchId == 0)
                throw ReportError(QStringLiteral("there is no match in the database"));
        } else {
            bool isNumber = false;
            matchId = match.toInt(&isNumber);
            if (!isNumber) {
                errors << "report failed: --match takes a match number, not \"" << match << "\"\n";
                return 2;
            }
        }
        std::vector<report::Content> contents;
        const MatchReportRequest request{.match = matchId, .colour = true,
                                         .pictureDirectory = AppPaths::dataDirectory()};
        const ReportChoice &filters = std::get<ReportChoice>(chosen);
        if (ReportEntry entry{}; CatalogueEntry(name, entry) && entry == ReportEntry::Turnovers)
            contents.push_back(BuildTurnovers(db, request, filters, filters != ReportChoice{}));
        else if (CatalogueEntry(name, entry))
            contents = BuildEntryReports(db, entry, request);
        else
            contents.push_back(BuildBasicReport(db, {.match = matchId,
                                                     .choice = std::get<ReportChoice>(chosen),
                                                     .colour = true,
                                                     .pictureDirectory = AppPaths::dataDirectory()}));
        const QByteArray pdf = report::PdfOf(contents);
        const QByteArray jpeg = parser.isSet(jpeg_) ? report::Renderer(contents.front()).jpeg() : QByteArray();
        const auto save = [&](const QString &file, const QByteArray &bytes) {
            if (const QString problem = SaveAtomically(file, bytes); !problem.isEmpty())
                throw ReportError(problem);
            out << "match " << matchId << ": " << QDir::toNativeSeparators(file) << '\n';
        };
        save(parser.value(pdf_), pdf);
        if (parser.isSet(jpeg_))
            save(parser.value(jpeg_), jpeg);
    } catch (const ReportError &e) {
        errors << "report failed: match " << matchId << ": " << e.reason() << '\n';
        return 1;
    } catch (const std::exception &e) { // the database's errors among them
        errors << "report failed: match " << matchId << ": " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    return 0;
}
