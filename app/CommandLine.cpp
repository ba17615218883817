#include "app/CommandLine.h"

#include "masters/PaySettings.h"

#include "app/DataFolder.h"
#include "app/Version.h"
#include "masters/CompanyStore.h"
#include "messages/MessageCatalogue.h"
#include "reports/MonthReports.h"
#include "reports/PayReports.h"
#include "reports/PaySlip.h"
#include "reports/ReportLayout.h"
#include "reports/ReportPrinter.h"
#include "reports/YearEndReports.h"
#include "payroll/PunchCommit.h"
#include "payroll/StatementPay.h"
#include "store/Database.h"
#include "store/ExportFile.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cstdio>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace pelmar::cli {

namespace {

// The catalogue's text with the subject joined in; the command line's own
// texts have %1, %2, ... for the caller to fill in.
QString text(const MessageKey &key, const QString &subject = {})
{
    const auto message = lookupMessage(key, subject);
    return message ? message->prompt : subject;
}

void print(FILE *stream, const QString &text)
{
    if (text.isEmpty())
        return;
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

Result failed(const QString &why)
{
    return {kFailed, {}, QStringLiteral("pelmar: ") + why + u'\n'};
}

QString shown(const QString &path)
{
    if (path == exportfile::kStandardOutput)
        return text(msg::コマンド標準出力);
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// After an import: the title's statements stored with no 所得税 because the
// 税区分 is unset or なし, told on stderr as the page asks about them. The
// import stands (the punches are the shop's record of the hours); the owner
// is told whom to set up and save again.
QString untaxedAfterImport(const QString &folder, const QString &title, int exitCode)
{
    if (exitCode != kDone)
        return {};
    const QString connection = QStringLiteral("pelmar-untaxed-") + QUuid::createUuid().toString();
    QStringList names;
    {
        const OpenResult opened = openForReading(QDir(folder).filePath(kMainDbFileName), SchemaKind::Main, connection);
        const auto pays = opened.ok() ? statements::statementPaysOfTitle(opened.db, title) : std::nullopt;
        for (const statements::StatementPay &pay : pays.value_or(QList<statements::StatementPay>{}))
            if (pay.kept && pay.gross > 0 && !pay.overridden[pay::index(pay::Deduction::IncomeTax)]
                && (pay.column == pay::TaxColumn::None || pay.column == pay::TaxColumn::Unset))
                names << pay.name;
    }
    closeConnection(connection);
    return names.isEmpty() ? QString() : text(msg::コマンド所得税なし).arg(names.join(QStringLiteral("、"))) + u'\n';
}

// What was written goes to stdout, unless the file itself went there.
Result done(const Command &command, const QString &what)
{
    const QString report = what + u'\n';
    if (command.file == exportfile::kStandardOutput)
        return {kDone, {}, report};
    return {kDone, report, {}};
}

Result notWritten(const QString &path, const QString &reason)
{
    return failed(text(msg::エラー書出し, shown(path)) + text(msg::コマンド理由).arg(reason));
}

Result notRead()
{
    return failed(text(msg::エラー帳票読込));
}

Result exportPdf(const QSqlDatabase &main, const Command &command)
{
    const auto statements = reports::statementsOfTitle(main, command.title, command.dayLines);
    if (!statements)
        return notRead();
    if (statements->isEmpty())
        return failed(text(msg::その他明細なし, command.title));
    const auto pays = reports::paysOf(main, *statements);
    const auto perPage = payslip::slipsPerPage(main);
    if (!pays || !perPage)
        return notRead();
    const company::Settings company = company::read(main).value_or(company::Settings{});
    const reports::Document document{QStringLiteral("給与明細"), false,
                                     reports::handoutPages(*statements, *pays, command.dayLines, *perPage,
                                                           company.name.toString(), company.info.toString(),
                                                           QDate::currentDate())};
    QString error;
    if (!reports::writePdf(command.file, document, &error))
        return notWritten(command.file, error);
    return done(command,
                text(msg::コマンド明細書出し完了)
                    .arg(shown(command.file))
                    .arg(document.pages.size())
                    .arg(command.title)
                    .arg(statements->size())
                    .arg(command.dayLines ? text(msg::コマンド日ごとの明細付き) : QString()));
}

Result exportSummary(const QSqlDatabase &main, const Command &command)
{
    const std::optional<reports::PaySummary> paid = reports::paySummary(main, command.title);
    if (!paid)
        return notRead();
    const reports::Summary *summary = &paid->summary;
    if (summary->rows.isEmpty())
        return failed(text(msg::その他明細なし, command.title));
    QString error;
    if (!csv::writeFile(command.file, reports::paySummaryRecords(*paid), &error))
        return notWritten(command.file, error);
    // What follows the totals (the close, who has no statement) is named too.
    QString after;
    if (!summary->closedMark.isEmpty())
        after += QStringLiteral("、") + summary->closedMark;
    if (!summary->missing.isEmpty())
        after += text(msg::コマンド明細のない従業員).arg(summary->missing.size());
    return done(command,
                text(msg::コマンド一覧表書出し完了)
                    .arg(shown(command.file), command.title)
                    .arg(summary->rows.size())
                    .arg(summary->rows.size() + 1)
                    .arg(after));
}

Result exportLedger(const QSqlDatabase &main, const Command &command)
{
    const std::optional<reports::PayLedger> paid = reports::payLedger(main, command.name, command.year);
    if (!paid)
        return notRead();
    const reports::Ledger *ledger = &paid->ledger;
    if (ledger->rows.isEmpty())
        return failed(text(msg::その他明細なし, text(msg::コマンド氏名と年).arg(command.name).arg(command.year)));
    QString error;
    if (!csv::writeFile(command.file, reports::payLedgerRecords(*paid), &error))
        return notWritten(command.file, error);
    return done(command,
                text(msg::コマンド台帳書出し完了)
                    .arg(shown(command.file), command.name)
                    .arg(command.year)
                    .arg(ledger->rows.size()));
}

Result exportWithholding(const QSqlDatabase &main, const Command &command)
{
    const std::optional<reports::WithholdingBook> book = reports::withholdingBook(main, command.name, command.year);
    if (!book)
        return notRead();
    if (book->rows.isEmpty())
        return failed(text(msg::その他明細なし, text(msg::コマンド氏名と支給年).arg(command.name).arg(command.year)));
    QString error;
    if (!csv::writeFile(command.file, reports::withholdingRecords(*book), &error))
        return notWritten(command.file, error);
    return done(command, text(msg::コマンド徴収簿書出し完了)
                             .arg(shown(command.file), command.name)
                             .arg(command.year)
                             .arg(book->rows.size()));
}

Result exportYearEnd(const QSqlDatabase &main, const Command &command)
{
    const std::optional<reports::YearEndEmployee> year = reports::yearEndOf(main, command.name, command.year);
    if (!year)
        return notRead();
    QString error;
    if (!csv::writeFile(command.file, reports::yearEndWorksheetRecords(*year), &error))
        return notWritten(command.file, error);
    return done(command, text(msg::コマンド年調書出し完了)
                             .arg(shown(command.file), command.name)
                             .arg(command.year)
                             .arg(text(year->standing == reports::YearEndStanding::In ? msg::コマンド年調する
                                                                                     : msg::コマンド年調しない)));
}

Result exportTaxPayments(const QSqlDatabase &main, const Command &command)
{
    const std::optional<reports::PaymentSummary> summary = reports::paymentSummary(main, command.year);
    if (!summary)
        return notRead();
    if (summary->year_.payments == 0)
        return failed(text(msg::その他明細なし, text(msg::コマンド支給年).arg(command.year)));
    QString error;
    if (!csv::writeFile(command.file, reports::paymentRecords(*summary), &error))
        return notWritten(command.file, error);
    return done(command, text(msg::コマンド納付集計書出し完了).arg(shown(command.file)).arg(command.year));
}

Result exportCash(const QSqlDatabase &main, const Command &command)
{
    const std::optional<reports::CashTable> cash = reports::cashTable(main, command.title);
    if (!cash)
        return notRead();
    if (cash->rows.isEmpty())
        return failed(text(msg::その他明細なし, command.title));
    QString error;
    if (!csv::writeFile(command.file, reports::cashRecords(*cash), &error))
        return notWritten(command.file, error);
    const qsizetype left = cash->rows.size() - cash->counted;
    return done(command, text(msg::コマンド金種表書出し完了)
                             .arg(shown(command.file), command.title)
                             .arg(cash->rows.size())
                             .arg(left ? text(msg::コマンド金種表数えない).arg(left) : QString()));
}

} // namespace

Result execute(const Command &command, const QString &programDataFolder)
{
    switch (command.action) {
    case Action::RunProgram:
        return {};
    case Action::Help:
        return {kDone, usage(), {}};
    case Action::Version:
        return {kDone, QStringLiteral("Pelmar ") + kPelmarVersion + u'\n', {}};
    case Action::UsageError:
        return {kUsage, {}, QStringLiteral("pelmar: ") + command.error + QStringLiteral("\n\n") + usage()};
    case Action::ExportPdf:
    case Action::ExportSummary:
    case Action::ExportLedger:
    case Action::ExportWithholding:
    case Action::ExportYearEnd:
    case Action::ExportTaxPayments:
    case Action::ExportCash:
    case Action::ImportPunches:
        break;
    }
    const QString folder = command.dataFolder.isEmpty() ? programDataFolder : command.dataFolder;
    if (command.action == Action::ImportPunches) {
        const punch::CommandOutcome outcome = punch::importFromCommandLine(folder, command.file, command.title);
        return {outcome.exitCode, outcome.out, outcome.err + untaxedAfterImport(folder, command.title, outcome.exitCode)};
    }
    // A mistyped file name must never cost the data: the place is checked
    // before the report is made, and again when the file is written.
    exportfile::protectDataFolder(folder);
    exportfile::protectDataFolder(programDataFolder);
    const QString connection = QStringLiteral("pelmar-export-") + QUuid::createUuid().toString();
    Result result;
    {
        // Reading only: the program may have the file open, and nothing here
        // may change it, not even an upgrade.
        const OpenResult opened = openForReading(QDir(folder).filePath(kMainDbFileName), SchemaKind::Main, connection);
        if (!opened.ok())
            return failed(opened.error);
        if (const QString refused = exportfile::refusal(command.file); !refused.isEmpty())
            result = failed(text(msg::エラー書出し先, shown(command.file) + text(msg::コマンド理由).arg(refused)));
        else if (command.action == Action::ExportPdf)
            result = exportPdf(opened.db, command);
        else if (command.action == Action::ExportSummary)
            result = exportSummary(opened.db, command);
        else if (command.action == Action::ExportWithholding)
            result = exportWithholding(opened.db, command);
        else if (command.action == Action::ExportYearEnd)
            result = exportYearEnd(opened.db, command);
        else if (command.action == Action::ExportTaxPayments)
            result = exportTaxPayments(opened.db, command);
        else if (command.action == Action::ExportCash)
            result = exportCash(opened.db, command);
        else
            result = exportLedger(opened.db, command);
    }
    closeConnection(connection);
    return result;
}

QString programDataFolder()
{
    return DataFolder(QCoreApplication::applicationDirPath(), platformDataFolderRule());
}

std::optional<int> run(int argc, char **argv)
{
    // Read as the system gave them, before Qt's application object exists:
    // it would take -reverse or -style out of the list for itself, even
    // where they are a title.
    QStringList arguments;
    QStringList unreadable;
#ifdef Q_OS_WIN
    // argv holds the arguments in the ANSI code page, which cannot spell
    // every name; the command line itself is Unicode.
    Q_UNUSED(argc);
    int count = 0;
    if (LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
    }
#else
    for (int i = 0; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        arguments << QFile::decodeName(raw);
        if (i > 0 && QFile::encodeName(arguments.last()) != raw)
            unreadable << arguments.last();
    }
#endif
    const Command command = parse(arguments);
    if (command.action == Action::RunProgram)
        return std::nullopt;

    // No window: Qt gets the program's name alone, so none of the values is
    // taken for one of its options, and no display unless one is chosen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    Result result;
    if (!unreadable.isEmpty() && command.action != Action::Help && command.action != Action::Version
        && command.action != Action::UsageError) {
        // A name that is not text in the system's encoding would be written
        // or looked for under other bytes than the ones given.
        result = failed(text(msg::コマンド読めない文字).arg(unreadable.first()));
    } else {
        result = execute(command, programDataFolder());
    }
    print(stdout, result.out);
    print(stderr, result.err);
    return result.exitCode;
}

} // namespace pelmar::cli
