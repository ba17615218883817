#include "app/CommandLine.h"

#include "messages/MessageCatalogue.h"

#include <algorithm>

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
    {"--export-year-end", Action::ExportYearEnd, 3, msg::コマンド値なし氏名年},
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

// The catalogue's text; the command line's own texts have %1, %2, ... for
// the caller to fill in.
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
                       chosen.action == Action::ExportLedger || chosen.action == Action::ExportWithholding
                       || chosen.action == Action::ExportYearEnd;
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

} // namespace

Command parse(const QStringList &arguments)
{
    return ArgumentReader(arguments).read();
}

} // namespace pelmar::cli
