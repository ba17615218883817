#include "masters/TaxTablesList.h"

#include "calc/FolderTables.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelmar {

namespace {

QString datesOf(const pay::TableEntry &entry)
{
    if (!entry.payFrom.isValid() || !entry.payTo.isValid())
        return QStringLiteral("—");
    const QString shown = QStringLiteral("yyyy/MM/dd");
    return QStringLiteral("%1～%2").arg(entry.payFrom.toString(shown), entry.payTo.toString(shown));
}

} // namespace

TaxTablesList::TaxTablesList(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm税額表一覧"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    lbl税額表説明 = new QLabel(this);
    lbl税額表説明->setObjectName(QStringLiteral("lbl税額表説明"));
    lst税額表 = new QTableWidget(this);
    lst税額表->setObjectName(QStringLiteral("lst税額表"));
    lst税額表->setColumnCount(4);
    lst税額表->setHorizontalHeaderLabels(
        {QStringLiteral("ファイル"), QStringLiteral("支給日"), QStringLiteral("場所"), QStringLiteral("状態")});
    lst税額表->verticalHeader()->hide();
    lst税額表->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lst税額表->setSelectionBehavior(QAbstractItemView::SelectRows);
    lst税額表->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lst税額表->horizontalHeader()->setStretchLastSection(true);
    lst税額表->setMinimumHeight(70);
    layout->addWidget(lbl税額表説明);
    layout->addWidget(lst税額表, 1);
}

void TaxTablesList::showFor(const QString &dataFolder)
{
    const auto tables = pay::tablesInEffect(dataFolder);
    lst税額表->clearContents();
    lst税額表->setRowCount(int(tables->entries.size()));
    for (int row = 0; row < tables->entries.size(); ++row) {
        const pay::TableEntry &entry = tables->entries.at(row);
        const bool used = entry.refusal.isEmpty();
        const QStringList cells{entry.file, datesOf(entry),
                                entry.folder.isEmpty() ? QStringLiteral("Pelmar") : QStringLiteral("データフォルダ"),
                                used ? QStringLiteral("使用中") : QStringLiteral("使いません: ") + entry.refusal};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setToolTip(cells.at(column));
            if (!used)
                item->setForeground(QColor(0xa0, 0, 0));
            lst税額表->setItem(row, column, item);
        }
    }
    const QDate last = tables->lastCovered();
    lbl税額表説明->setText(
        QStringLiteral("源泉徴収税額表（支給日の年の表を使います）: %1")
            .arg(last.isValid() ? QStringLiteral("%1 の支給分まで").arg(last.toString(QStringLiteral("yyyy/MM/dd")))
                                : QStringLiteral("使える表がありません")));
    const QString how =
        QStringLiteral("新しい年の表は、新しい版の Pelmar に入れ替えるか、%1 に一覧 %2 と表のファイルを"
                       "置くと使えます（このページを開くたびに読み直して点検します）。")
            .arg(QDir::toNativeSeparators(QDir(dataFolder).filePath(pay::kFolderTables)), pay::kTableList);
    lbl税額表説明->setToolTip(how);
    lst税額表->setToolTip(how);
}

} // namespace pelmar
