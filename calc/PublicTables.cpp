#include "calc/PublicTables.h"

#include "calc/TsvFile.h"

#include <QFile>
#include <QHash>

#include <limits>

namespace pelmar::pay {

namespace {

using tsv::CellReader;
using tsv::fail;
using tsv::kPercentPlaces;
using tsv::kPerMillePlaces;
using TsvFile = tsv::File;

QString kouColumn(int dependants)
{
    return QStringLiteral("kou%1").arg(dependants);
}

} // namespace

std::optional<qint64> scaledDecimal(QStringView text, int decimals)
{
    qsizetype at = 0;
    const bool negative = text.startsWith(u'-');
    if (negative)
        ++at;
    qint64 value = 0;
    int digits = 0;
    int places = -1; // counts the places after the point once it is seen
    constexpr qint64 kLimit = std::numeric_limits<qint64>::max() / 100;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c == u'.' && places < 0) {
            places = 0;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (places >= 0 && ++places > decimals) {
            if (c != u'0') // a trailing zero beyond the places asked for changes nothing
                return std::nullopt;
            continue;
        }
        if (value > kLimit)
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    for (int p = std::max(places, 0); p < decimals; ++p) {
        if (value > kLimit)
            return std::nullopt;
        value *= 10;
    }
    return negative ? -value : value;
}

std::optional<WithholdingTable> readWithholdingTable(const QString &text, QString *error)
{
    const TsvFile file = tsv::split(text);
    WithholdingTable table;
    for (const auto &line : file.main.lines) {
        CellReader cells(file.main, line, error);
        WithholdingRow row;
        row.from = cells.number(QStringLiteral("from"));
        row.to = cells.number(QStringLiteral("to"));
        for (int n = 0; n < kKouColumns; ++n)
            row.kou[n] = cells.number(kouColumn(n));
        row.otsu = cells.number(QStringLiteral("otsu"));
        if (cells.ok() && row.to <= row.from)
            cells.fail(QStringLiteral("行の終わり (to) が始まり (from) より前です"));
        if (cells.ok() && !table.rows.isEmpty() && table.rows.last().to != row.from)
            cells.fail(QStringLiteral("前の行の終わりから始まっていません（行が抜けているか、順に並んでいません）"));
        if (!cells.ok())
            return std::nullopt;
        table.rows.append(row);
    }
    const tsv::Table &anchors = file.table(QStringLiteral("anchor"));
    for (const auto &line : anchors.lines) {
        CellReader cells(anchors, line, error);
        WithholdingAnchor anchor;
        anchor.amount = cells.number(QStringLiteral("amount"));
        for (int n = 0; n < kKouColumns; ++n)
            anchor.kou[n] = cells.number(kouColumn(n));
        anchor.kouRate = cells.number(QStringLiteral("kou_rate_pct"), kPercentPlaces);
        anchor.otsu = cells.optionalNumber(QStringLiteral("otsu"), 0);
        anchor.otsuRate = cells.optionalNumber(QStringLiteral("otsu_rate_pct"), kPercentPlaces);
        if (cells.ok() && anchor.otsu.has_value() != anchor.otsuRate.has_value())
            cells.fail(QStringLiteral("otsu と otsu_rate_pct は両方あるか両方ないかです"));
        const Yen previous =
            table.anchors.isEmpty() ? (table.rows.isEmpty() ? -1 : table.rows.last().to) : table.anchors.last().amount;
        const bool follows = table.anchors.isEmpty() ? anchor.amount == previous : anchor.amount > previous;
        if (cells.ok() && !follows)
            cells.fail(QStringLiteral("amount が前の行の続きになっていません"));
        if (!cells.ok())
            return std::nullopt;
        table.anchors.append(anchor);
    }
    if (table.rows.isEmpty() || table.anchors.isEmpty() || !table.anchors.first().otsu)
        return fail(error, QStringLiteral("表に行がないか、行の終わりに乙欄の額がありません")), std::nullopt;
    return table;
}

namespace {

// One line of a list: its file read and checked, with the line's dates and
// rules; nothing, with `cells` failed, on any fault.
std::optional<WithholdingTable> readListLine(CellReader &cells, ListedTable &listed, const TableFileText &fileText)
{
    const QString name = cells.text(QStringLiteral("file"));
    listed.file = name;
    const QDate from = cells.date(QStringLiteral("pay_from"));
    const QDate to = cells.date(QStringLiteral("pay_to"));
    const Yen zeroBelow = cells.number(QStringLiteral("kou_zero_below"));
    const PartsPerMillion otsuRate = cells.number(QStringLiteral("otsu_pct_below"), kPercentPlaces);
    const Yen perPerson = cells.number(QStringLiteral("per_person_beyond_7"));
    if (!cells.ok())
        return std::nullopt;
    listed.payFrom = from;
    listed.payTo = to;
    if (to < from)
        return cells.fail(QStringLiteral("pay_to が pay_from より前です")), std::nullopt;
    const std::optional<QString> text = fileText(name);
    if (!text)
        return cells.fail(QStringLiteral("%1 がありません").arg(name)), std::nullopt;
    QString tableError;
    std::optional<WithholdingTable> table = readWithholdingTable(*text, &tableError);
    if (!table)
        return cells.fail(QStringLiteral("%1 の %2").arg(name, tableError)), std::nullopt;
    // The rows take over exactly where the rule below them ends.
    if (table->rows.first().from != zeroBelow)
        return cells.fail(QStringLiteral("kou_zero_below が %1 の最初の行の from と違います").arg(name)), std::nullopt;
    table->file = name;
    table->payFrom = from;
    table->payTo = to;
    table->kouZeroBelow = zeroBelow;
    table->otsuRateBelow = otsuRate;
    table->perPersonBeyondSeven = perPerson;
    return table;
}

} // namespace

QList<ListedTable> readTableList(const QString &listText, const TableFileText &fileText)
{
    const TsvFile list = tsv::split(listText);
    QList<ListedTable> listed;
    for (const auto &line : list.main.lines) {
        ListedTable entry;
        CellReader cells(list.main, line, &entry.refusal);
        entry.table = readListLine(cells, entry, fileText);
        for (const auto &other : std::as_const(listed)) {
            if (entry.table && other.table && entry.payFrom <= other.payTo && other.payFrom <= entry.payTo) {
                cells.fail(QStringLiteral("支給日の期間が %1 と重なります").arg(other.file));
                entry.table.reset();
            }
        }
        listed.append(entry);
    }
    return listed;
}

std::optional<QList<WithholdingTable>> readWithholdingTables(const QString &listText, const TableFileText &fileText,
                                                             QString *error)
{
    QList<WithholdingTable> tables;
    for (const ListedTable &entry : readTableList(listText, fileText)) {
        if (!entry.table)
            return fail(error, entry.refusal), std::nullopt;
        tables.append(*entry.table);
    }
    return tables;
}

std::optional<QList<InsuranceRate>> readInsuranceRates(const QString &text, QString *error)
{
    static const QHash<QString, BusinessKind> kinds{
        {QStringLiteral("general"), BusinessKind::General},
        {QStringLiteral("agriculture"), BusinessKind::Agriculture},
        {QStringLiteral("construction"), BusinessKind::Construction},
    };
    const TsvFile file = tsv::split(text);
    QList<InsuranceRate> rates;
    for (const auto &line : file.main.lines) {
        CellReader cells(file.main, line, error);
        InsuranceRate rate;
        rate.from = cells.date(QStringLiteral("valid_from"));
        rate.to = cells.date(QStringLiteral("valid_to"));
        const QString kind = cells.text(QStringLiteral("business_type"));
        rate.employee = cells.number(QStringLiteral("employee_per_mille"), kPerMillePlaces);
        if (cells.ok() && !kinds.contains(kind))
            cells.fail(QStringLiteral("business_type「%1」は知らない種類です").arg(kind));
        rate.kind = kinds.value(kind);
        if (cells.ok() && rate.to < rate.from)
            cells.fail(QStringLiteral("料率の終わりが始まりより前です"));
        for (const auto &other : std::as_const(rates)) {
            if (cells.ok() && other.kind == rate.kind && rate.from <= other.to && other.from <= rate.to)
                cells.fail(QStringLiteral("%1 の別の料率と期間が重なります").arg(kind));
        }
        if (!cells.ok())
            return std::nullopt;
        rates.append(rate);
    }
    return rates;
}

QString tableName(const WithholdingTable &table)
{
    const QDate &from = table.payFrom;
    const QDate &to = table.payTo;
    QString name;
    if (from == QDate(from.year(), 1, 1) && to == QDate(from.year(), 12, 31) && from.year() >= 2020)
        name = QStringLiteral("令和%1年分").arg(from.year() - 2018);
    else
        name = QStringLiteral("%1～%2").arg(from.toString(QStringLiteral("yyyy/MM/dd")),
                                            to.toString(QStringLiteral("yyyy/MM/dd")));
    return table.folder.isEmpty() ? name : name + QStringLiteral("（データフォルダ）");
}

const WithholdingTable *PublicTables::withholdingFor(const QDate &payDate) const
{
    if (!payDate.isValid())
        return nullptr;
    for (const auto &table : withholding) {
        if (table.payFrom <= payDate && payDate <= table.payTo)
            return &table;
    }
    return nullptr;
}

std::optional<PartsPerMillion> PublicTables::employmentRateFor(const QDate &date, BusinessKind kind) const
{
    if (!date.isValid())
        return std::nullopt;
    for (const auto &rate : employmentInsurance) {
        if (rate.kind == kind && rate.from <= date && date <= rate.to)
            return rate.employee;
    }
    return std::nullopt;
}

namespace {

std::optional<QString> resourceText(const QString &name)
{
    QFile file(kTablesResource + name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

ShippedTables readShippedTables()
{
    ShippedTables shipped;
    const QString listName = QStringLiteral("withholding-tables.tsv");
    const QString ratesName = QStringLiteral("employment-insurance-rates.tsv");
    QString error;
    const auto list = resourceText(listName);
    if (!list)
        shipped.errors.append(QStringLiteral("%1 がありません").arg(listName));
    else if (auto tables = readWithholdingTables(*list, resourceText, &error))
        shipped.tables.withholding = *tables;
    else
        shipped.errors.append(QStringLiteral("%1 の %2").arg(listName, error));
    const auto rates = resourceText(ratesName);
    if (!rates)
        shipped.errors.append(QStringLiteral("%1 がありません").arg(ratesName));
    else if (auto read = readInsuranceRates(*rates, &error))
        shipped.tables.employmentInsurance = *read;
    else
        shipped.errors.append(QStringLiteral("%1 の %2").arg(ratesName, error));
    return shipped;
}

} // namespace

const ShippedTables &shippedTables()
{
    static const ShippedTables shipped = readShippedTables();
    return shipped;
}

} // namespace pelmar::pay
