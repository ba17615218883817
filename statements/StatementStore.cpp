#include "statements/StatementStore.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pelmar::statements {

namespace {

const QString kLineFields = QStringLiteral("日付, 開始時間, 終了時間, 休憩, 時間, 時給, 調整額, 金額");

std::optional<qlonglong> headerRow(const QSqlDatabase &main, const QString &name, const QString &title)
{
    QSqlQuery query(main);
    query.prepare(QStringLiteral("select rowid from 時給ヘッダ where 氏名 = ? and タイトル = ? order by rowid limit 1"));
    query.addBindValue(name);
    query.addBindValue(title);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

bool writeHeader(const QSqlDatabase &main, const Header &h)
{
    const QVariantList values{h.name, h.title, h.patternType, h.wage, h.breakHours, h.adjustment, h.hours, h.total};
    if (const auto row = headerRow(main, h.name, h.title))
        return execBound(main,
                         QStringLiteral("update 時給ヘッダ set 氏名 = ?, タイトル = ?, 勤務タイプ = ?, 時給 = ?,"
                                        " 休憩 = ?, 調整額 = ?, 時間 = ?, 合計 = ? where rowid = ?"),
                         values + QVariantList{*row});
    return execBound(main,
                     QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, 合計)"
                                    " values (?, ?, ?, ?, ?, ?, ?, ?)"),
                     values);
}

bool writeLines(const QSqlDatabase &main, const QSqlDatabase &work, const Header &h)
{
    if (!execBound(main, QStringLiteral("delete from 時給明細 where 氏名 = ? and タイトル = ?"), {h.name, h.title}))
        return false;
    QSqlQuery lines(work);
    // Lines without a date sort first and, like every incomplete line, are left out.
    if (!lines.exec(QStringLiteral("select %1 from w明細 order by 日付, 行番号").arg(kLineFields)))
        return false;
    QSqlQuery insert(main);
    if (!insert.prepare(QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, %1)"
                                       " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                            .arg(kLineFields)))
        return false;
    int number = 1;
    while (lines.next()) {
        if (lines.value(0).isNull() || lines.value(7).isNull())
            continue;
        insert.bindValue(0, h.name);
        insert.bindValue(1, h.title);
        insert.bindValue(2, number);
        for (int i = 0; i < 8; ++i)
            insert.bindValue(3 + i, lines.value(i));
        if (!insert.exec())
            return false;
        ++number;
    }
    return true;
}

} // namespace

bool save(const QSqlDatabase &main, const QSqlDatabase &work, const Header &header,
          const std::function<bool()> &recordEmployee)
{
    Transaction transaction(main);
    if (!transaction.started())
        return false;
    if (recordEmployee && !recordEmployee())
        return false;
    if (!writeHeader(main, header) || !writeLines(main, work, header))
        return false;
    return transaction.commit();
}

std::optional<Header> readHeader(const QSqlDatabase &main, const QString &name, const QString &title)
{
    QSqlQuery query(main);
    query.prepare(QStringLiteral("select 勤務タイプ, 時給, 休憩, 調整額, 時間, 合計 from 時給ヘッダ"
                                 " where 氏名 = ? and タイトル = ? order by rowid limit 1"));
    query.addBindValue(name);
    query.addBindValue(title);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return Header{name,           title,           query.value(0).toString(), query.value(1),
                  query.value(2), query.value(3), query.value(4),           query.value(5)};
}

bool loadLines(const QSqlDatabase &main, const QSqlDatabase &work, const QString &name, const QString &title)
{
    QSqlQuery stored(main);
    stored.prepare(QStringLiteral("select %1 from 時給明細 where 氏名 = ? and タイトル = ? order by 行番号")
                       .arg(kLineFields));
    stored.addBindValue(name);
    stored.addBindValue(title);
    if (!stored.exec())
        return false;
    return copyOverPageRows(stored, work, QStringLiteral("w明細"), QStringLiteral("行番号"),
                            kLineFields.split(QStringLiteral(", ")));
}

bool remove(const QSqlDatabase &main, const QString &name, const QString &title)
{
    Transaction transaction(main);
    return transaction.started()
        && execBound(main, QStringLiteral("delete from 時給ヘッダ where 氏名 = ? and タイトル = ?"), {name, title})
        && execBound(main, QStringLiteral("delete from 時給明細 where 氏名 = ? and タイトル = ?"), {name, title})
        && transaction.commit();
}

bool removeEverything(const QSqlDatabase &main)
{
    Transaction transaction(main);
    if (!transaction.started())
        return false;
    for (const char *table : {"時給ヘッダ", "時給明細", "従業員", "勤務形態マスタ", "自社情報"})
        if (!execBound(main, QStringLiteral("delete from %1").arg(QString::fromUtf8(table))))
            return false;
    return transaction.commit();
}

bool clearHistory(const QSqlDatabase &work)
{
    return execBound(work, QStringLiteral("delete from w履歴"));
}

bool fillHistory(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QSqlQuery headers(main);
    if (!headers.exec(QStringLiteral("select 氏名, 合計, タイトル from 時給ヘッダ order by 氏名, rowid")))
        return false;
    Transaction transaction(work);
    if (!clearHistory(work))
        return false;
    while (headers.next()) {
        if (!execBound(work, QStringLiteral("insert into w履歴 (氏名, 合計, タイトル) values (?, ?, ?)"),
                       {headers.value(0), headers.value(1), headers.value(2)}))
            return false;
    }
    return transaction.commit();
}

} // namespace pelmar::statements
