#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What Pelmar does with its command line. Without options it opens its
// window; the options below answer without one: the exports write every
// slip of a title as a PDF, the monthly summary or an employee's wage ledger
// as CSV, from the stored statements of the data folder, and end.
namespace pelmar::cli {

enum class Action {
    RunProgram, // no option: the window
    Help,
    Version,
    ExportPdf,
    ExportSummary,
    ExportLedger,
    ExportWithholding, // 源泉徴収簿 of a name and a year of pay dates
    ExportYearEnd, // the 年末調整 worksheet of a name and a year of pay dates
    ExportTaxPayments, // the tax withheld by month of a year
    ExportCash, // 金種表 of a title
    ImportPunches, // --import-punches FILE TITLE: punches of a time recorder stored as statements
    UsageError,
};

struct Command {
    Action action = Action::RunProgram;
    QString dataFolder; // --data; empty for the folder the program uses
    QString title; // --export-pdf, --export-summary, --export-cash, --import-punches
    QString name; // --export-ledger, --export-withholding, --export-year-end
    int year = 0;
    QString file;
    bool dayLines = false; // --with-lines
    QString error; // UsageError: what is wrong, for the user
};

// Exit codes: done, could not be done, the command line is wrong.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Reads the arguments, the program's own path first. Qt's own options
// (-platform, -style …) are let through for the window. The values of an
// option are taken as they are written, up to one of Pelmar's own options;
// after "--" every argument is a value.
Command parse(const QStringList &arguments);

// The text of --help, listing every option.
QString usage();

struct Result {
    int exitCode = kDone;
    QString out; // what was written, for stdout
    QString err; // why not, for stderr
};

// Carries out a command that needs no window; programDataFolder is the
// folder used when the command names none. A RunProgram command does nothing.
Result execute(const Command &command, const QString &programDataFolder);

// The data folder the program uses, the same rule as for its window.
QString programDataFolder();

// Before any application object exists: reads the program's arguments as
// the system gave them. When they ask for the window, nothing is done and
// the window is left to start. Otherwise the command is carried out with an
// application object of its own that gets none of the arguments (no display
// needed unless QT_QPA_PLATFORM names one), what it has to say is printed,
// and the exit code is given.
std::optional<int> run(int argc, char **argv);

} // namespace pelmar::cli
