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
#include "statements/PunchStore.h"
#include "store/Database.h"
#include "store/ExportFile.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace pelmar::cli {

namespace {

struct ExportOption {
    const char *name;
    Action action;
    int values;
    MessageKey missing; // the mistake when values are missing
};

constexpr ExportOption kExports[] = {
    {"--export-pdf", Action::ExportPdf, 2, msg::コマンド値なしタイトル},
    {"--export-summary", Action::ExportSummary, 2, msg::コマンド値なしタイトル},
    {"--export-ledger", Action::ExportLedger, 3, msg::コマンド値なし氏名年},
    {"--export-withholding", Action::ExportWithholding, 3, msg::コマンド値なし氏名年},
    {"--export-tax-payments", Action::ExportTaxPayments, 2, msg::コマンド値なし年},
    {"--export-cash", Action::ExportCash, 2, msg::コマンド値なしタイトル},
    {"--import-punches", Action::ImportPunches, 2, msg::コマンド値なしファイル},
};

// After it every argument is a value, whatever it looks like.
const QString kEndOfOptions = QStringLiteral("--");

// Qt's own options, which its application object takes for the window:
// those that take a value, then those that stand alone. Qt accepts them
// with one dash or two, and a value after "=" as well.
const QStringList kQtValueOptions{QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
                                  QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
                                  QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
                                  QStringLiteral("qwindowtitle"),    QStringLiteral("style"),
                                  QStringLiteral("stylesheet"),      QStringLiteral("session"),
                                  QStringLiteral("display"),         QStringLiteral("geometry"),
                                  QStringLiteral("qmljsdebugger")};
const QStringList kQtFlags{QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                           QStringLiteral("dograb"), QStringLiteral("sync")};

// The name of a Qt option without its dashes and value; empty for anything else.
QString qtOptionName(const QString &argument, bool *takesValue)
{
    if (!argument.startsWith(u'-') || argument.startsWith(QStringLiteral("---")))
        return {};
    const QString bare = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1).section(u'=', 0, 0);
    *takesValue = kQtValueOptions.contains(bare) && !argument.contains(u'=');
    return kQtValueOptions.contains(bare) || kQtFlags.contains(bare) ? bare : QString();
}

bool isOurOption(const QString &argument)
{
    for (const ExportOption &option : kExports)
        if (argument == QLatin1String(option.name))
            return true;
    return argument == QLatin1String("--data") || argument.startsWith(QLatin1String("--data="))
        || argument == QLatin1String("--with-lines") || argument == QLatin1String("--help")
        || argument == QLatin1String("--version");
}

// The catalogue's text with the subject joined in; the command line's own
// texts have %1, %2, ... for the caller to fill in.
QString text(const MessageKey &key, const QString &subject = {})
{
    const auto message = lookupMessage(key, subject);
    return message ? message->prompt : subject;
}

Command mistake(const QString &what)
{
    Command command;
    command.action = Action::UsageError;
    command.error = what;
    return command;
}

// Reads the arguments in order; the first mistake ends the reading, so the
// user is told of the earliest one. Kept by hand rather than on
// QCommandLineParser: an export takes two or three values to one option,
// taken as written even when they look like options (a title "-x", or
// "--data" behind "--"); an option missing its value must not take the
// next option for it; and the first mistake, not the last, is the one told.
class ArgumentReader {
public:
    explicit ArgumentReader(const QStringList &arguments) : m_arguments(arguments) {}

    Command read()
    {
        for (m_at = 1; m_at < m_arguments.size(); ++m_at) {
            const QString &argument = m_arguments[m_at];
            if (m_literal)
                return mistake(text(msg::コマンド指定不明).arg(argument));
            if (argument == kEndOfOptions) {
                m_literal = true;
                continue;
            }
            bool takesValue = false;
            if (!qtOptionName(argument, &takesValue).isEmpty()) {
                m_at += takesValue ? 1 : 0;
                continue;
            }
            const bool help = argument == QLatin1String("--help") || argument == QLatin1String("-h")
                || argument == QLatin1String("-?");
            if (help || argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
                Command command;
                command.action = help ? Action::Help : Action::Version;
                return command;
            }
            if (argument == QLatin1String("--with-lines")) {
                m_withLines = true;
                continue;
            }
            if (const std::optional<Command> wrong = readOption(argument))
                return *wrong;
        }
        return finish();
    }

private:
    // --data or an export, with its values; a mistake, or nothing when the
    // reading goes on.
    std::optional<Command> readOption(const QString &argument)
    {
        if (argument == QLatin1String("--data") || argument.startsWith(QLatin1String("--data=")))
            return readDataFolder(argument);
        for (const ExportOption &option : kExports)
            if (argument == QLatin1String(option.name))
                return readExport(option);
        if (argument.startsWith(u'-') && argument.size() > 1)
            return mistake(text(msg::コマンドオプション不明).arg(argument));
        return mistake(text(msg::コマンド指定不明).arg(argument));
    }

    std::optional<Command> readDataFolder(const QString &argument)
    {
        if (m_dataGiven)
            return mistake(text(msg::コマンドデータ重複));
        const bool joined = argument.contains(u'=');
        if (!joined
            && (m_at + 1 >= m_arguments.size() || isOurOption(m_arguments[m_at + 1])
                || m_arguments[m_at + 1] == kEndOfOptions))
            return mistake(text(msg::コマンドデータ値なし));
        m_command.dataFolder = joined ? argument.section(u'=', 1) : m_arguments[++m_at];
        if (m_command.dataFolder.isEmpty())
            return mistake(text(msg::コマンドデータ値なし));
        m_dataGiven = true;
        return std::nullopt;
    }

    std::optional<Command> readExport(const ExportOption &chosen)
    {
        if (m_command.action != Action::RunProgram)
            return mistake(text(msg::コマンド書出し重複));
        const QString name = QString::fromLatin1(chosen.name);
        const QStringList values = takeValues(chosen.values);
        if (values.size() < chosen.values)
            return mistake(text(chosen.missing).arg(name));
        m_command.action = chosen.action;
        m_command.file = values.last();
        if (chosen.action == Action::ImportPunches) {
            m_command.file = values[0];
            m_command.title = values[1];
        } else if (const bool named =
                       chosen.action == Action::ExportLedger || chosen.action == Action::ExportWithholding;
                   named || chosen.action == Action::ExportTaxPayments) {
            const QString &year = values[named ? 1 : 0];
            if (named)
                m_command.name = values[0];
            // Four digits and nothing else: toInt() alone would take "+202"
            // or " 202" for a year.
            const bool fourDigits = year.size() == 4
                && std::all_of(year.cbegin(), year.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
            m_command.year = fourDigits ? year.toInt() : 0;
            if (m_command.year < 1)
                return mistake(text(msg::コマンド年形式).arg(name, year));
        } else {
            m_command.title = values[0];
        }
        if (m_command.file.isEmpty())
            return mistake(text(msg::コマンドファイル値なし).arg(name));
        return std::nullopt;
    }

    // The values are taken as they are written, whatever they look like, up
    // to one of Pelmar's own options; behind "--" even those.
    QStringList takeValues(int count)
    {
        QStringList values;
        while (values.size() < count && m_at + 1 < m_arguments.size()) {
            const QString &value = m_arguments[m_at + 1];
            if (!m_literal && value == kEndOfOptions) {
                m_literal = true;
                ++m_at;
                continue;
            }
            if (!m_literal && isOurOption(value))
                break;
            values << value;
            ++m_at;
        }
        return values;
    }

    Command finish()
    {
        if (m_withLines && m_command.action != Action::ExportPdf)
            return mistake(text(msg::コマンド明細付き単独));
        if (m_dataGiven && m_command.action == Action::RunProgram)
            return mistake(text(msg::コマンドデータ単独));
        m_command.dayLines = m_withLines;
        return m_command;
    }

    const QStringList &m_arguments;
    qsizetype m_at = 1;
    Command m_command;
    bool m_withLines = false;
    bool m_dataGiven = false;
    // After "--" nothing is an option: a title such as --help or -style is
    // written behind it.
    bool m_literal = false;
};

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

Command parse(const QStringList &arguments)
{
    return ArgumentReader(arguments).read();
}

QString usage()
{
    return QStringLiteral("使い方: pelmar [オプション]\n"
                          "\n"
                          "オプションを付けずに起動すると Pelmar の画面を開きます。次のオプションは画面を開かずに、\n"
                          "保存済みの明細から書き出して終わります（画面のない環境でも動きます）。Pelmar を使っている\n"
                          "最中でも書き出せます。書き出しはデータを読むだけで、変えません。\n"
                          "\n"
                          "  --export-pdf タイトル ファイル.pdf\n"
                          "      そのタイトルで保存した明細すべての給与明細を、従業員の No の順に 1 名 1 ページで\n"
                          "      PDF に書き出します。\n"
                          "  --with-lines\n"
                          "      --export-pdf と一緒に指定すると、各給与明細の次のページに日ごとの明細を付けます。\n"
                          "      「設定・情報」の明細書が「A4に2人」なら、切り取り線をはさんで 1 ページに 2 名です。\n"
                          "  --export-summary タイトル ファイル.csv\n"
                          "      そのタイトルの給与一覧表（1 名 1 行と合計の行。総支給額、各控除、差引支給額を\n"
                          "      含みます）を CSV に書き出します。\n"
                          "  --export-ledger 氏名 年 ファイル.csv\n"
                          "      その従業員のその年の賃金台帳（明細 1 件 1 行。性別、支給日、各手当、各控除を\n"
                          "      含みます）を CSV に書き出します。\n"
                          "      明細は、その最初の勤務日の年に数えます（年は 2024 のように 4 桁）。\n"
                          "  --export-withholding 氏名 年 ファイル.csv\n"
                          "      その従業員の源泉徴収簿（支給日がその年の支給 1 件 1 行と年計）を CSV に書き出します。\n"
                          "  --export-tax-payments 年 ファイル.csv\n"
                          "      支給日がその年の源泉所得税を、支給月ごと、1〜6 月と 7〜12 月の計（納期の特例）、\n"
                          "      年計で CSV に書き出します。\n"
                          "  --export-cash タイトル ファイル.csv\n"
                          "      そのタイトルの金種表（各人の差引支給額を作る紙幣と硬貨の枚数と合計）を CSV に\n"
                          "      書き出します。差引支給額のない人は理由を書き、合計に含みません。\n"
                          "  --import-punches ファイル.csv タイトル\n"
                          "      タイムレコーダーなどの打刻の CSV（1 行 1 勤務）を、そのタイトルの明細として取り込みます。\n"
                          "      見出しが 氏名（または従業員番号）・日付・出勤・退勤・休憩 のファイルか、画面の「取込」で\n"
                          "      列を指定したことのある見出しのファイルに限ります。取り込めない行が一つでもある、\n"
                          "      タイトルが締め済み、またはそのタイトルの明細がすでにある従業員がいるときは、理由を\n"
                          "      標準エラーに出して何も書き込みません。書き込む前にバックアップを取ります。\n"
                          "  --data フォルダー\n"
                          "      書き出しと取込に使うデータフォルダー（Pelmar.mdb のあるフォルダー）。指定しなければ\n"
                          "      Pelmar の画面が使うのと同じフォルダーです。\n"
                          "  -h, --help\n"
                          "      この説明を表示して終わります。\n"
                          "  -v, --version\n"
                          "      版を表示して終わります。\n"
                          "\n"
                          "タイトルや氏名は書いたとおりに受け取ります（- で始まっても構いません）。-- の後ろは\n"
                          "すべて値です。ファイルを - とすると標準出力に書き出します。データフォルダーとその\n"
                          "backup フォルダーの中、データベースのファイル、フォルダー、装置には書き出しません。\n"
                          "\n"
                          "CSV は UTF-8（BOM 付き）、改行は CRLF、1 行目は日本語の見出しです。カンマ、\"、改行を含む\n"
                          "値は \" で囲みます。金額と時間は桁区切りのない数字で、円未満も保存されたとおりに書きます。\n"
                          "=、+、-、@、タブ、CR で始まる文字の値には、表計算ソフトが式と取らないよう\n"
                          "先頭に ' を付けます。\n"
                          "\n"
                          "終了コード: 0 書き出した / 1 書き出せなかった（明細がない、ファイルに書き込めない、\n"
                          "データを開けないなど。理由は標準エラーに出ます） / 2 オプションの誤り\n"
                          "（--import-punches では 0 取り込んだ / 1 何も取り込まなかった）\n"
                          "\n"
                          "Usage: pelmar [--data DIR] --export-pdf TITLE FILE.pdf [--with-lines]\n"
                          "       pelmar [--data DIR] --export-summary TITLE FILE.csv\n"
                          "       pelmar [--data DIR] --export-ledger NAME YEAR FILE.csv\n"
                          "       pelmar [--data DIR] --export-withholding NAME YEAR FILE.csv\n"
                          "       pelmar [--data DIR] --export-tax-payments YEAR FILE.csv\n"
                          "       pelmar [--data DIR] --export-cash TITLE FILE.csv\n"
                          "       pelmar [--data DIR] --import-punches FILE.csv TITLE\n"
                          "       pelmar --help | --version\n"
                          "Values are taken as written, after -- even options; FILE - is standard output.\n"
                          "Without options Pelmar opens its window. The exports need no display, only read the data,\n"
                          "print what they wrote and exit 0; 1 when nothing could be written, 2 for a wrong option.\n"
                          "--import-punches writes: a whole file of punches stored as statements after a backup,\n"
                          "or nothing (exit 1, every reason on stderr).\n");
}

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
    case Action::ExportTaxPayments:
    case Action::ExportCash:
    case Action::ImportPunches:
        break;
    }
    const QString folder = command.dataFolder.isEmpty() ? programDataFolder : command.dataFolder;
    if (command.action == Action::ImportPunches) {
        const punch::CommandOutcome outcome = punch::importFromCommandLine(folder, command.file, command.title);
        return {outcome.exitCode, outcome.out, outcome.err};
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
