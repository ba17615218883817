#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reading the tab-separated data files of data/tables/: '#' starts a comment
// line, the first other line names the columns. Lines starting
// "#@name<TAB>" are data too, in a table of their own by that name (the
// withholding tables' "#@anchor", the year-end file's "#@kiso" and the
// rest), whose first line names its columns. Every public table is read
// through these, so each refuses a damaged line in the same words:
// "N 行目: why".
namespace pelmar::pay::tsv {

struct Table {
    QStringList header;
    struct Line {
        int number = 0;
        QStringList cells;
    };
    QList<Line> lines;

    int column(const QString &name) const { return int(header.indexOf(name)); }
};

struct File {
    Table main;
    QHash<QString, Table> named;

    // The "#@name" table; an empty one when the file has none.
    const Table &table(const QString &name) const;
};

File split(const QString &text);

// Reads the cells of one line by column name, and remembers the first fault.
class CellReader {
public:
    CellReader(const Table &table, const Table::Line &line, QString *error);

    bool ok() const { return m_ok; }

    QString text(const QString &name);
    // A figure of 0 or more with at most `decimals` places, scaled to an
    // integer; nothing for an empty cell.
    std::optional<qint64> optionalNumber(const QString &name, int decimals);
    qint64 number(const QString &name, int decimals = 0);
    QDate date(const QString &name);
    // A date, or an invalid one for an empty cell.
    QDate optionalDate(const QString &name);
    void fail(const QString &reason);

private:
    const Table &m_table;
    const Table::Line &m_line;
    QString *m_error;
    bool m_ok = true;
};

// Percent with up to four places and per mille with up to three are both
// exact in millionths.
inline constexpr int kPercentPlaces = 4;
inline constexpr int kPerMillePlaces = 3;

// Sets `error` to `reason` and answers false.
bool fail(QString *error, const QString &reason);

} // namespace pelmar::pay::tsv
