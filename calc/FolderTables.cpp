#include "calc/FolderTables.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

namespace pelmar::pay {

namespace {

std::optional<QString> folderText(const QDir &folder, const QString &name)
{
    // The list names files beside it, never a path elsewhere.
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
        return std::nullopt;
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

const TableEntry *overlapping(const QList<TableEntry> &entries, const QDate &from, const QDate &to)
{
    for (const TableEntry &entry : entries) {
        if (entry.refusal.isEmpty() && entry.folder.isEmpty() && from <= entry.payTo && entry.payFrom <= to)
            return &entry;
    }
    return nullptr;
}

// The folder's list, line by line.
void readFolderList(TablesInEffect &effect, const QDir &folder, const QString &listText)
{
    const QString path = folder.absolutePath();
    const QList<ListedTable> listed =
        readTableList(listText, [&folder](const QString &name) { return folderText(folder, name); });
    for (const ListedTable &line : listed) {
        TableEntry entry{line.file, path, line.payFrom, line.payTo, {}};
        if (!line.table) {
            entry.refusal = QStringLiteral("%1 の %2").arg(kTableList, line.refusal);
        } else if (const TableEntry *shipped = overlapping(effect.entries, line.payFrom, line.payTo)) {
            entry.refusal = QStringLiteral("支給日の期間が Pelmar に入っている %1 と重なります。"
                                           "重なる期間には Pelmar に入っている表を使います")
                                .arg(shipped->file);
        } else {
            WithholdingTable table = *line.table;
            table.folder = path;
            effect.tables.withholding.append(table);
        }
        effect.entries.append(entry);
    }
}

} // namespace

QList<TableEntry> TablesInEffect::refused() const
{
    QList<TableEntry> refused;
    for (const TableEntry &entry : entries)
        if (!entry.refusal.isEmpty())
            refused.append(entry);
    return refused;
}

QDate TablesInEffect::lastCovered() const
{
    QDate last;
    for (const WithholdingTable &table : tables.withholding)
        if (!last.isValid() || table.payTo > last)
            last = table.payTo;
    return last;
}

TablesInEffect readTablesInEffect(const ShippedTables &shipped, const QString &tablesFolder)
{
    TablesInEffect effect;
    effect.tables = shipped.tables;
    for (const WithholdingTable &table : shipped.tables.withholding)
        effect.entries.append({table.file, {}, table.payFrom, table.payTo, {}});
    for (const QString &error : shipped.errors)
        effect.entries.append({kTableList, {}, {}, {}, error});
    const QDir folder(tablesFolder);
    if (tablesFolder.isEmpty() || !folder.exists())
        return effect;
    const int shippedCount = int(effect.entries.size());
    const std::optional<QString> list = folderText(folder, kTableList);
    if (list)
        readFolderList(effect, folder, *list);
    QSet<QString> named{kTableList};
    for (qsizetype i = shippedCount; i < effect.entries.size(); ++i)
        named.insert(effect.entries[i].file);
    const QStringList files = folder.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        if (named.contains(file))
            continue;
        const QString why = list ? QStringLiteral("%1 に載っていません。支給日の期間と規則をその一覧に書くと使えます")
                                 : QStringLiteral("一覧 %1 がありません。支給日の期間と規則をその一覧に書くと使えます");
        effect.entries.append({file, folder.absolutePath(), {}, {}, why.arg(kTableList)});
    }
    return effect;
}

namespace {

// What the folder holds: names, sizes and times, enough to see a change.
QString folderSignature(const QString &tablesFolder)
{
    QString signature;
    const QFileInfoList files = QDir(tablesFolder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &info : files)
        signature += QStringLiteral("%1/%2/%3\n")
                         .arg(info.fileName())
                         .arg(info.size())
                         .arg(info.lastModified().toMSecsSinceEpoch());
    return signature;
}

} // namespace

std::shared_ptr<const TablesInEffect> tablesInEffect(const QString &dataFolder)
{
    struct Cached {
        QString signature;
        std::shared_ptr<const TablesInEffect> tables;
    };
    static QMutex mutex;
    static QHash<QString, Cached> cache;
    const QString tablesFolder = dataFolder.isEmpty() ? QString() : QDir(dataFolder).filePath(kFolderTables);
    const QString signature = tablesFolder.isEmpty() ? QString() : folderSignature(tablesFolder);
    const QMutexLocker lock(&mutex);
    const auto found = cache.constFind(tablesFolder);
    if (found != cache.constEnd() && found->signature == signature)
        return found->tables;
    auto tables = std::make_shared<const TablesInEffect>(readTablesInEffect(shippedTables(), tablesFolder));
    cache.insert(tablesFolder, {signature, tables});
    return tables;
}

} // namespace pelmar::pay
