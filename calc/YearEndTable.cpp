#include "calc/YearEndTable.h"

#include <QFile>

namespace pelmar::yearend {

namespace {

// The file's tables: the data rows (no mark) and each "#@name" table, whose
// first line names its columns. Other '#' lines are comments.
struct Table {
    QStringList header;
    struct Line {
        int number = 0;
        QStringList cells;
    };
    QList<Line> lines;
};

QHash<QString, Table> splitTables(const QString &text)
{
    QHash<QString, Table> tables;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        QString name;
        if (line.startsWith(u"#@")) {
            const qsizetype tab = line.indexOf(u'\t');
            if (tab < 0)
                continue;
            name = line.mid(2, tab - 2);
            line = line.mid(tab + 1);
        } else if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        Table &table = tables[name];
        const QStringList cells = line.split(u'\t');
        if (table.header.isEmpty())
            table.header = cells;
        else
            table.lines.append({i + 1, cells});
    }
    return tables;
}

// Reads one line's cells by column name and keeps the first fault.
class Cells {
public:
    Cells(const Table &table, const Table::Line &line, QString *error)
        : m_table(table),
          m_line(line),
          m_error(error)
    {
    }

    bool ok() const { return m_ok; }

    QString text(const QString &name)
    {
        const auto at = m_table.header.indexOf(name);
        if (at < 0 || at >= m_line.cells.size())
            return fail(QStringLiteral("column %1 is missing").arg(name)), QString();
        return m_line.cells[at].trimmed();
    }

    std::optional<Yen> optionalYen(const QString &name)
    {
        const QString cell = text(name);
        if (!m_ok || cell.isEmpty())
            return std::nullopt;
        const auto value = pay::scaledDecimal(cell, 0);
        if (!value || *value < 0)
            fail(QStringLiteral("%1 \"%2\" is not a whole number of 0 or more").arg(name, cell));
        return value;
    }

    Yen yen(const QString &name)
    {
        const bool wasOk = m_ok;
        const auto value = optionalYen(name);
        if (wasOk && m_ok && !value)
            fail(QStringLiteral("%1 is empty").arg(name));
        return value.value_or(0);
    }

    QDate optionalDate(const QString &name)
    {
        const QString cell = text(name);
        const QDate value = QDate::fromString(cell, Qt::ISODate);
        if (m_ok && !cell.isEmpty() && !value.isValid())
            fail(QStringLiteral("%1 \"%2\" is not a date").arg(name, cell));
        return value;
    }

    Band band(const QString &over, const QString &upto)
    {
        Band band{yen(over), optionalYen(upto)};
        if (m_ok && band.upto && *band.upto <= band.over)
            fail(QStringLiteral("the band ends before it starts"));
        return band;
    }

    // Every figure of the file carries the check it passed.
    void checkStatus()
    {
        const QString status = text(QStringLiteral("status"));
        if (m_ok && !status.startsWith(u"CHECKED") && !status.startsWith(u"NOT VERIFIED"))
            fail(QStringLiteral("the status is neither CHECKED nor NOT VERIFIED"));
    }

    void fail(const QString &reason)
    {
        if (m_ok && m_error)
            *m_error = QStringLiteral("line %1: %2").arg(m_line.number).arg(reason);
        m_ok = false;
    }

private:
    const Table &m_table;
    const Table::Line &m_line;
    QString *m_error;
    bool m_ok = true;
};

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// Runs `readLine` over every line of a table that must be there.
bool eachLine(const QHash<QString, Table> &tables, const QString &name, QString *error,
              const std::function<void(Cells &)> &readLine)
{
    const auto found = tables.constFind(name);
    if (found == tables.constEnd() || found->lines.isEmpty())
        return fail(error, QStringLiteral("the table %1 is missing").arg(name));
    for (const auto &line : found->lines) {
        Cells cells(*found, line, error);
        if (name != QString())
            cells.checkStatus();
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
void appendJoined(QList<T> &bands, const T &band, Cells &cells, const Band &(*bandOf)(const T &))
{
    if (cells.ok() && !bands.isEmpty()) {
        const Band &before = bandOf(bands.last());
        if (!before.upto || *before.upto != bandOf(band).over)
            cells.fail(QStringLiteral("the band does not start where the one before ends"));
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
            return fail(error, QStringLiteral("the pay table has a gap or an overlap at %1 yen").arg(reached));
        reached = to;
    }
    if (reached <= t.limit(QStringLiteral("nencho_pay_max")))
        return fail(error, QStringLiteral("the pay table ends below the 年末調整's pay limit"));
    return true;
}

bool readPay(const QHash<QString, Table> &tables, YearEndTable &t, QString *error)
{
    const bool rows = eachLine(tables, QString(), error, [&](Cells &c) {
        const PayRow row{c.yen(QStringLiteral("from")), c.yen(QStringLiteral("to")), c.yen(QStringLiteral("amount"))};
        if (c.ok() && (row.to <= row.from || (!t.payRows.isEmpty() && t.payRows.last().to != row.from)))
            c.fail(QStringLiteral("the row does not start where the one before ends"));
        t.payRows.append(row);
    });
    return rows && eachLine(tables, QStringLiteral("kyuyo_formula"), error, [&](Cells &c) {
               PayFormula f{c.yen(QStringLiteral("from")), c.yen(QStringLiteral("to")), c.yen(QStringLiteral("mult_num")),
                            c.yen(QStringLiteral("mult_den")), c.yen(QStringLiteral("subtract"))};
               const QString rounding = c.text(QStringLiteral("rounding"));
               if (c.ok() && (f.denominator == 0 || (rounding != u"none" && rounding != u"floor")))
                   c.fail(QStringLiteral("mult_den is 0, or the rounding is not a fraction dropped"));
               t.payFormulas.append(f);
           });
}

bool readIncomeBands(const QHash<QString, Table> &tables, YearEndTable &t, QString *error)
{
    const auto amountBands = [&](const QString &name, const QString &over, const QString &upto, QList<AmountBand> &to) {
        return eachLine(tables, name, error, [&](Cells &c) {
            const AmountBand band{c.band(over, upto), c.yen(QStringLiteral("amount"))};
            appendJoined(to, band, c, amountBand);
        });
    };
    if (!amountBands(QStringLiteral("kiso"), QStringLiteral("gokei_over"), QStringLiteral("gokei_upto"), t.basic)
        || !amountBands(QStringLiteral("tokutei"), QStringLiteral("over"), QStringLiteral("upto"), t.specificRelative))
        return false;
    if (!eachLine(tables, QStringLiteral("haigu"), error, [&](Cells &c) {
            const SpouseBand band{c.band(QStringLiteral("honnin_over"), QStringLiteral("honnin_upto")),
                                  c.yen(QStringLiteral("ippan")), c.yen(QStringLiteral("rojin"))};
            appendJoined(t.spouse, band, c, spouseBand);
        }))
        return false;
    // 配偶者特別控除's columns name the employee's income limits they serve.
    const QString ownPrefix = QStringLiteral("honnin_upto_");
    const QStringList header = tables.value(QStringLiteral("haigu_toku")).header;
    for (const QString &column : header) {
        if (column.startsWith(ownPrefix)) {
            const auto limit = pay::scaledDecimal(QStringView(column).mid(ownPrefix.size()), 0);
            if (!limit || (!t.specialSpouseOwnUpto.isEmpty() && *limit <= t.specialSpouseOwnUpto.last()))
                return fail(error, QStringLiteral("haigu_toku: the column %1 names no limit in order").arg(column));
            t.specialSpouseOwnUpto.append(*limit);
        }
    }
    if (t.specialSpouseOwnUpto.isEmpty())
        return fail(error, QStringLiteral("haigu_toku has no column for the employee's income"));
    return eachLine(tables, QStringLiteral("haigu_toku"), error, [&](Cells &c) {
        SpecialSpouseBand band{c.band(QStringLiteral("spouse_over"), QStringLiteral("spouse_upto")), {}};
        for (const Yen limit : std::as_const(t.specialSpouseOwnUpto))
            band.byOwn.append(c.yen(ownPrefix + QString::number(limit)));
        appendJoined(t.specialSpouse, band, c, specialSpouseBand);
    });
}

bool readPeople(const QHash<QString, Table> &tables, YearEndTable &t, QString *error)
{
    return eachLine(tables, QStringLiteral("fuyo"), error,
                    [&](Cells &c) {
                        const QString kind = c.text(QStringLiteral("kind"));
                        t.dependantKinds.insert(kind, {c.optionalDate(QStringLiteral("born_on_or_after")),
                                                       c.optionalDate(QStringLiteral("born_on_or_before")),
                                                       c.yen(QStringLiteral("amount"))});
                    })
        && eachLine(tables, QStringLiteral("jinteki"), error,
                    [&](Cells &c) { t.personal.insert(c.text(QStringLiteral("name")), c.yen(QStringLiteral("amount"))); })
        && eachLine(tables, QStringLiteral("limit"), error,
                    [&](Cells &c) { t.limits.insert(c.text(QStringLiteral("name")), c.yen(QStringLiteral("value"))); });
}

// A premium formula's band, joined to the one before of the same name.
void appendFormula(QHash<QString, QList<PremiumFormula>> &to, const QString &name, Cells &c)
{
    const PremiumFormula f{c.band(QStringLiteral("over"), QStringLiteral("upto")), c.yen(QStringLiteral("mult_num")),
                           c.yen(QStringLiteral("mult_den")), c.yen(QStringLiteral("add"))};
    if (c.ok() && f.denominator == 0)
        c.fail(QStringLiteral("mult_den is 0"));
    appendJoined(to[name], f, c, premiumBand);
}

bool readPremiums(const QHash<QString, Table> &tables, YearEndTable &t, QString *error)
{
    return eachLine(tables, QStringLiteral("seimei"), error,
                    [&](Cells &c) { appendFormula(t.lifeFormulas, c.text(QStringLiteral("formula")), c); })
        && eachLine(tables, QStringLiteral("seimei_use"), error,
                    [&](Cells &c) {
                        const QString kind = c.text(QStringLiteral("kind"));
                        const LifeUse use{c.text(QStringLiteral("new_formula")), c.text(QStringLiteral("old_formula")),
                                          c.yen(QStringLiteral("new_plus_old_cap"))};
                        if (kind == u"total_cap")
                            t.lifeTotalCap = use.newPlusOldCap;
                        else
                            t.lifeUse.insert(kind, use);
                    })
        && eachLine(tables, QStringLiteral("jishin"), error, [&](Cells &c) {
               const QString kind = c.text(QStringLiteral("kind"));
               if (kind == u"total_cap")
                   t.earthquakeTotalCap = c.yen(QStringLiteral("add"));
               else
                   appendFormula(t.earthquake, kind, c);
           });
}

bool readTax(const QHash<QString, Table> &tables, YearEndTable &t, QString *error)
{
    return eachLine(tables, QStringLiteral("chosei"), error,
                    [&](Cells &c) {
                        t.adjustmentPayOver = c.yen(QStringLiteral("pay_over"));
                        t.adjustmentPayCap = c.yen(QStringLiteral("pay_cap"));
                        t.adjustmentPercent = c.yen(QStringLiteral("rate_pct"));
                        t.adjustmentMax = c.yen(QStringLiteral("max"));
                        if (c.ok() && c.text(QStringLiteral("rounding")) != u"ceil")
                            c.fail(QStringLiteral("the rounding is not a fraction rounded up"));
                    })
        && eachLine(tables, QStringLiteral("sokusan"), error,
                    [&](Cells &c) {
                        const TaxBand band{c.band(QStringLiteral("kazei_over"), QStringLiteral("kazei_upto")),
                                           c.yen(QStringLiteral("rate_pct")), c.yen(QStringLiteral("deduct"))};
                        appendJoined(t.rates, band, c, taxBand);
                    })
        && eachLine(tables, QStringLiteral("nenzei"), error, [&](Cells &c) {
               t.annualNumerator = c.yen(QStringLiteral("rate_num"));
               t.annualDenominator = c.yen(QStringLiteral("rate_den"));
               t.annualUnit = c.yen(QStringLiteral("unit"));
               if (c.ok() && (t.annualDenominator == 0 || t.annualUnit == 0 || c.text(QStringLiteral("rounding")) != u"floor"))
                   c.fail(QStringLiteral("rate_den or unit is 0, or the rounding is not down"));
           });
}

// The names the computation asks for, each of which must be in the file.
bool namesPresent(const YearEndTable &t, QString *error)
{
    const auto missing = [&](const QString &what, const QString &name) {
        return fail(error, QStringLiteral("%1 %2 is missing").arg(what, name));
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
        return fail(error, QStringLiteral("a total cap of seimei_use or jishin is missing"));
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
    const QHash<QString, Table> tables = splitTables(text);
    YearEndTable t;
    if (!readPay(tables, t, error) || !readIncomeBands(tables, t, error) || !readPeople(tables, t, error)
        || !readPremiums(tables, t, error) || !readTax(tables, t, error) || !namesPresent(t, error)
        || !payCovered(t, error))
        return std::nullopt;
    if (t.basic.first().band.over != 0 || t.rates.first().band.over != 0)
        return fail(error, QStringLiteral("kiso or sokusan does not start at 0")), std::nullopt;
    t.notVerified = notVerifiedLines(text);
    return t;
}

std::optional<QList<YearEndTable>>
readYearEndTables(const QString &listText, const std::function<std::optional<QString>(const QString &)> &fileText,
                  QString *error)
{
    const QHash<QString, Table> list = splitTables(listText);
    QList<YearEndTable> years;
    for (const auto &line : list.value(QString()).lines) {
        Cells cells(list.value(QString()), line, error);
        const QString name = cells.text(QStringLiteral("file"));
        const int year = int(cells.yen(QStringLiteral("year")));
        if (!cells.ok())
            return std::nullopt;
        for (const auto &other : std::as_const(years)) {
            if (other.year == year)
                return cells.fail(QStringLiteral("the year %1 is listed twice").arg(year)), std::nullopt;
        }
        const std::optional<QString> text = fileText(name);
        if (!text)
            return cells.fail(QStringLiteral("%1 is missing").arg(name)), std::nullopt;
        QString tableError;
        std::optional<YearEndTable> table = readYearEndTable(*text, &tableError);
        if (!table)
            return cells.fail(QStringLiteral("%1, %2").arg(name, tableError)), std::nullopt;
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
        shipped.errors.append(QStringLiteral("%1 is missing").arg(listName));
    else if (auto years = readYearEndTables(*list, resourceText, &error))
        shipped.years = *years;
    else
        shipped.errors.append(QStringLiteral("%1, %2").arg(listName, error));
    return shipped;
}

} // namespace

const ShippedYearEnd &shippedYearEnd()
{
    static const ShippedYearEnd shipped = readShipped();
    return shipped;
}

} // namespace pelmar::yearend
