#include "calc/YearEndTable.h"

#include "calc/TsvFile.h"

#include <QFile>

namespace pelmar::yearend {

namespace {

using pay::tsv::CellReader;
using pay::tsv::fail;
using pay::tsv::File;
using pay::tsv::Table;

// A band from the cells `over` and `upto` (empty: no upper limit).
Band readBand(CellReader &c, const QString &over, const QString &upto)
{
    const Band read{c.number(over), c.optionalNumber(upto, 0)};
    if (c.ok() && read.upto && *read.upto <= read.over)
        c.fail(QStringLiteral("帯の終わり (%1) が始まり (%2) より前です").arg(upto, over));
    return read;
}

// Every figure of the file carries the check it passed.
void checkStatus(CellReader &c)
{
    const QString status = c.text(QStringLiteral("status"));
    if (c.ok() && !status.startsWith(u"CHECKED") && !status.startsWith(u"NOT VERIFIED"))
        c.fail(QStringLiteral("status が CHECKED でも NOT VERIFIED でもありません"));
}

// Runs `readLine` over every line of a table that must be there.
// The rows with no mark are the table of no name.
bool eachLine(const File &file, const QString &name, QString *error,
              const std::function<void(CellReader &)> &readLine)
{
    const Table &table = name.isEmpty() ? file.main : file.table(name);
    if (table.lines.isEmpty())
        return fail(error, QStringLiteral("表 %1 がありません").arg(name.isEmpty() ? QStringLiteral("（給与）") : name));
    for (const auto &line : table.lines) {
        CellReader cells(table, line, error);
        if (!name.isEmpty())
            checkStatus(cells);
        if (cells.ok())
            readLine(cells);
        if (!cells.ok())
            return false;
    }
    return true;
}

// Bands of one kind follow each other without a gap: each starts where the one
// before ends, and only the last may be open.
template<typename T>
void appendJoined(QList<T> &bands, const T &band, CellReader &cells, const Band &(*bandOf)(const T &))
{
    if (cells.ok() && !bands.isEmpty()) {
        const Band &before = bandOf(bands.last());
        if (!before.upto || *before.upto != bandOf(band).over)
            cells.fail(QStringLiteral("帯が前の帯の終わりから始まっていません"));
    }
    bands.append(band);
}

const Band &amountBand(const AmountBand &b)
{
    return b.band;
}
const Band &premiumBand(const PremiumFormula &b)
{
    return b.band;
}
const Band &taxBand(const TaxBand &b)
{
    return b.band;
}
const Band &spouseBand(const SpouseBand &b)
{
    return b.own;
}
const Band &specialSpouseBand(const SpecialSpouseBand &b)
{
    return b.spouse;
}

// The pay rows and the formulas around them, in order of their start, must
// cover 0 up to the top with no gap and no overlap.
bool payCovered(const YearEndTable &t, QString *error)
{
    QList<std::pair<Yen, Yen>> spans;
    for (const auto &row : t.payRows)
        spans.append({row.from, row.to});
    for (const auto &formula : t.payFormulas)
        spans.append({formula.from, formula.to});
    std::sort(spans.begin(), spans.end());
    Yen reached = 0;
    for (const auto &[from, to] : spans) {
        if (from != reached || to <= from)
            return fail(error, QStringLiteral("給与の表が %1 円で途切れているか重なっています").arg(reached));
        reached = to;
    }
    if (reached <= t.limit(QStringLiteral("nencho_pay_max")))
        return fail(error, QStringLiteral("給与の表が年末調整の給与の上限 (nencho_pay_max) に届いていません"));
    return true;
}

bool readPay(const File &tables, YearEndTable &t, QString *error)
{
    const bool rows = eachLine(tables, QString(), error, [&](CellReader &c) {
        const PayRow row{c.number(QStringLiteral("from")), c.number(QStringLiteral("to")), c.number(QStringLiteral("amount"))};
        if (c.ok() && (row.to <= row.from || (!t.payRows.isEmpty() && t.payRows.last().to != row.from)))
            c.fail(QStringLiteral("前の行の終わりから始まっていません（行が抜けているか、順に並んでいません）"));
        t.payRows.append(row);
    });
    return rows && eachLine(tables, QStringLiteral("kyuyo_formula"), error, [&](CellReader &c) {
               PayFormula f{c.number(QStringLiteral("from")), c.number(QStringLiteral("to")), c.number(QStringLiteral("mult_num")),
                            c.number(QStringLiteral("mult_den")), c.number(QStringLiteral("subtract"))};
               const QString rounding = c.text(QStringLiteral("rounding"));
               if (c.ok() && (f.denominator == 0 || (rounding != u"none" && rounding != u"floor")))
                   c.fail(QStringLiteral("mult_den が 0 か、rounding が切り捨て (none か floor) ではありません"));
               t.payFormulas.append(f);
           });
}

bool readIncomeBands(const File &tables, YearEndTable &t, QString *error)
{
    const auto amountBands = [&](const QString &name, const QString &over, const QString &upto, QList<AmountBand> &to) {
        return eachLine(tables, name, error, [&](CellReader &c) {
            const AmountBand band{readBand(c, over, upto), c.number(QStringLiteral("amount"))};
            appendJoined(to, band, c, amountBand);
        });
    };
    if (!amountBands(QStringLiteral("kiso"), QStringLiteral("gokei_over"), QStringLiteral("gokei_upto"), t.basic)
        || !amountBands(QStringLiteral("tokutei"), QStringLiteral("over"), QStringLiteral("upto"), t.specificRelative))
        return false;
    if (!eachLine(tables, QStringLiteral("haigu"), error, [&](CellReader &c) {
            const SpouseBand band{readBand(c, QStringLiteral("honnin_over"), QStringLiteral("honnin_upto")),
                                  c.number(QStringLiteral("ippan")), c.number(QStringLiteral("rojin"))};
            appendJoined(t.spouse, band, c, spouseBand);
        }))
        return false;
    // 配偶者特別控除's columns name the employee's income limits they serve.
    const QString ownPrefix = QStringLiteral("honnin_upto_");
    const QStringList header = tables.table(QStringLiteral("haigu_toku")).header;
    for (const QString &column : header) {
        if (column.startsWith(ownPrefix)) {
            const auto limit = pay::scaledDecimal(QStringView(column).mid(ownPrefix.size()), 0);
            if (!limit || (!t.specialSpouseOwnUpto.isEmpty() && *limit <= t.specialSpouseOwnUpto.last()))
                return fail(error, QStringLiteral("haigu_toku の列 %1 は本人の所得の上限を順に示していません").arg(column));
            t.specialSpouseOwnUpto.append(*limit);
        }
    }
    if (t.specialSpouseOwnUpto.isEmpty())
        return fail(error, QStringLiteral("haigu_toku に本人の所得 (honnin_upto_…) の列がありません"));
    return eachLine(tables, QStringLiteral("haigu_toku"), error, [&](CellReader &c) {
        SpecialSpouseBand band{readBand(c, QStringLiteral("spouse_over"), QStringLiteral("spouse_upto")), {}};
        for (const Yen limit : std::as_const(t.specialSpouseOwnUpto))
            band.byOwn.append(c.number(ownPrefix + QString::number(limit)));
        appendJoined(t.specialSpouse, band, c, specialSpouseBand);
    });
}

bool readPeople(const File &tables, YearEndTable &t, QString *error)
{
    return eachLine(tables, QStringLiteral("fuyo"), error,
                    [&](CellReader &c) {
                        const QString kind = c.text(QStringLiteral("kind"));
                        t.dependantKinds.insert(kind, {c.optionalDate(QStringLiteral("born_on_or_after")),
                                                       c.optionalDate(QStringLiteral("born_on_or_before")),
                                                       c.number(QStringLiteral("amount"))});
                    })
        && eachLine(tables, QStringLiteral("jinteki"), error,
                    [&](CellReader &c) { t.personal.insert(c.text(QStringLiteral("name")), c.number(QStringLiteral("amount"))); })
        && eachLine(tables, QStringLiteral("limit"), error,
                    [&](CellReader &c) { t.limits.insert(c.text(QStringLiteral("name")), c.number(QStringLiteral("value"))); });
}

// A premium formula's band, joined to the one before of the same name.
void appendFormula(QHash<QString, QList<PremiumFormula>> &to, const QString &name, CellReader &c)
{
    const PremiumFormula f{readBand(c, QStringLiteral("over"), QStringLiteral("upto")), c.number(QStringLiteral("mult_num")),
                           c.number(QStringLiteral("mult_den")), c.number(QStringLiteral("add"))};
    if (c.ok() && f.denominator == 0)
        c.fail(QStringLiteral("mult_den が 0 です"));
    appendJoined(to[name], f, c, premiumBand);
}

bool readPremiums(const File &tables, YearEndTable &t, QString *error)
{
    return eachLine(tables, QStringLiteral("seimei"), error,
                    [&](CellReader &c) { appendFormula(t.lifeFormulas, c.text(QStringLiteral("formula")), c); })
        && eachLine(tables, QStringLiteral("seimei_use"), error,
                    [&](CellReader &c) {
                        const QString kind = c.text(QStringLiteral("kind"));
                        const LifeUse use{c.text(QStringLiteral("new_formula")), c.text(QStringLiteral("old_formula")),
                                          c.number(QStringLiteral("new_plus_old_cap"))};
                        if (kind == u"total_cap")
                            t.lifeTotalCap = use.newPlusOldCap;
                        else
                            t.lifeUse.insert(kind, use);
                    })
        && eachLine(tables, QStringLiteral("jishin"), error, [&](CellReader &c) {
               const QString kind = c.text(QStringLiteral("kind"));
               if (kind == u"total_cap")
                   t.earthquakeTotalCap = c.number(QStringLiteral("add"));
               else
                   appendFormula(t.earthquake, kind, c);
           });
}

bool readTax(const File &tables, YearEndTable &t, QString *error)
{
    return eachLine(tables, QStringLiteral("chosei"), error,
                    [&](CellReader &c) {
                        t.adjustmentPayOver = c.number(QStringLiteral("pay_over"));
                        t.adjustmentPayCap = c.number(QStringLiteral("pay_cap"));
                        t.adjustmentPercent = c.number(QStringLiteral("rate_pct"));
                        t.adjustmentMax = c.number(QStringLiteral("max"));
                        if (c.ok() && c.text(QStringLiteral("rounding")) != u"ceil")
                            c.fail(QStringLiteral("rounding が切り上げ (ceil) ではありません"));
                    })
        && eachLine(tables, QStringLiteral("sokusan"), error,
                    [&](CellReader &c) {
                        const TaxBand band{readBand(c, QStringLiteral("kazei_over"), QStringLiteral("kazei_upto")),
                                           c.number(QStringLiteral("rate_pct")), c.number(QStringLiteral("deduct"))};
                        appendJoined(t.rates, band, c, taxBand);
                    })
        && eachLine(tables, QStringLiteral("nenzei"), error, [&](CellReader &c) {
               t.annualNumerator = c.number(QStringLiteral("rate_num"));
               t.annualDenominator = c.number(QStringLiteral("rate_den"));
               t.annualUnit = c.number(QStringLiteral("unit"));
               if (c.ok() && (t.annualDenominator == 0 || t.annualUnit == 0 || c.text(QStringLiteral("rounding")) != u"floor"))
                   c.fail(QStringLiteral("rate_den か unit が 0 か、rounding が切り捨て (floor) ではありません"));
           });
}

// The names the computation asks for, each of which must be in the file.
bool namesPresent(const YearEndTable &t, QString *error)
{
    const auto missing = [&](const QString &what, const QString &name) {
        return fail(error, QStringLiteral("%1 に %2 がありません").arg(what, name));
    };
    for (const char *name : {"nensho", "ippan_16_18", "tokutei", "ippan_23_69", "rojin", "dokyo_roshin"})
        if (!t.dependantKinds.contains(QLatin1String(name)))
            return missing(QStringLiteral("fuyo"), QLatin1String(name));
    for (const char *name : {"shogai_ippan", "shogai_tokubetsu", "shogai_dokyo_tokubetsu", "kafu", "hitorioya",
                             "kinro_gakusei"})
        if (!t.personal.contains(QLatin1String(name)))
            return missing(QStringLiteral("jinteki"), QLatin1String(name));
    for (const char *name : {"fuyo_shinzoku", "doitsu_seikei_haigusha", "haigu_honnin_upper", "kinro_gakusei",
                             "kinro_gakusei_other", "kafu_hitorioya", "nencho_pay_max", "kazei_max", "leaver_part_timer"})
        if (!t.limits.contains(QLatin1String(name)))
            return missing(QStringLiteral("limit"), QLatin1String(name));
    for (const char *name : {"ippan", "ippan_with_dependant_under_23", "kaigo_iryo", "kojin_nenkin"}) {
        const LifeUse use = t.lifeUse.value(QLatin1String(name));
        if (!t.lifeUse.contains(QLatin1String(name)) || !t.lifeFormulas.contains(use.newFormula)
            || (!use.oldFormula.isEmpty() && !t.lifeFormulas.contains(use.oldFormula)))
            return missing(QStringLiteral("seimei_use"), QLatin1String(name));
    }
    for (const char *name : {"jishin", "kyu_choki"})
        if (!t.earthquake.contains(QLatin1String(name)))
            return missing(QStringLiteral("jishin"), QLatin1String(name));
    if (t.lifeTotalCap == 0 || t.earthquakeTotalCap == 0)
        return fail(error, QStringLiteral("seimei_use か jishin の合計の上限 (total_cap) がありません"));
    return true;
}

QStringList notVerifiedLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(u'\n')) {
        if (line.startsWith(u"#@") && line.contains(u"NOT VERIFIED"))
            lines.append(line.mid(2).trimmed());
    }
    return lines;
}

} // namespace

std::optional<YearEndTable> readYearEndTable(const QString &text, QString *error)
{
    const File tables = pay::tsv::split(text);
    YearEndTable t;
    if (!readPay(tables, t, error) || !readIncomeBands(tables, t, error) || !readPeople(tables, t, error)
        || !readPremiums(tables, t, error) || !readTax(tables, t, error) || !namesPresent(t, error)
        || !payCovered(t, error))
        return std::nullopt;
    if (t.basic.first().band.over != 0 || t.rates.first().band.over != 0)
        return fail(error, QStringLiteral("kiso か sokusan が 0 から始まっていません")), std::nullopt;
    t.notVerified = notVerifiedLines(text);
    return t;
}

std::optional<QList<YearEndTable>>
readYearEndTables(const QString &listText, const std::function<std::optional<QString>(const QString &)> &fileText,
                  QString *error)
{
    const File list = pay::tsv::split(listText);
    QList<YearEndTable> years;
    for (const auto &line : list.main.lines) {
        CellReader cells(list.main, line, error);
        const QString name = cells.text(QStringLiteral("file"));
        const int year = int(cells.number(QStringLiteral("year")));
        if (!cells.ok())
            return std::nullopt;
        for (const auto &other : std::as_const(years)) {
            if (other.year == year)
                return cells.fail(QStringLiteral("%1 年が二度あります").arg(year)), std::nullopt;
        }
        const std::optional<QString> text = fileText(name);
        if (!text)
            return cells.fail(QStringLiteral("%1 がありません").arg(name)), std::nullopt;
        QString tableError;
        std::optional<YearEndTable> table = readYearEndTable(*text, &tableError);
        if (!table)
            return cells.fail(QStringLiteral("%1 の %2").arg(name, tableError)), std::nullopt;
        table->file = name;
        table->year = year;
        years.append(*table);
    }
    return years;
}

const YearEndTable *ShippedYearEnd::forYear(int year) const
{
    for (const auto &table : years) {
        if (table.year == year)
            return &table;
    }
    return nullptr;
}

namespace {

std::optional<QString> resourceText(const QString &name)
{
    QFile file(pay::kTablesResource + name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

ShippedYearEnd readShipped()
{
    ShippedYearEnd shipped;
    const QString listName = QStringLiteral("year-end-tables.tsv");
    QString error;
    const auto list = resourceText(listName);
    if (!list)
        shipped.errors.append(QStringLiteral("%1 がありません").arg(listName));
    else if (auto years = readYearEndTables(*list, resourceText, &error))
        shipped.years = *years;
    else
        shipped.errors.append(QStringLiteral("%1 の %2").arg(listName, error));
    return shipped;
}

} // namespace

const ShippedYearEnd &shippedYearEnd()
{
    static const ShippedYearEnd shipped = readShipped();
    return shipped;
}

} // namespace pelmar::yearend
