#pragma once

#include "reports/ReportLayout.h"
#include "store/Csv.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace pelmar {

// A report on screen (any table of reports/: the 給与一覧表, the 賃金台帳, the
// 源泉徴収簿 and the others the history page opens): its table
// as it prints, with 印刷 (the preview and the print dialog), PDF保存 and
// CSV保存. It shows what was read when it opened; it is not modal, and
// closing it deletes it.
class ReportDialog : public QDialog {
    Q_OBJECT
public:
    // fileNameParts name the report's files: {"給与一覧表", "2024年4月分"}.
    ReportDialog(const QString &name, const reports::Table &table, const QList<csv::Record> &records,
                 const QStringList &fileNameParts, QWidget *parent = nullptr);

    const reports::Table &table() const { return m_table; }

    QTableWidget *Grid帳票 = nullptr;
    QPushButton *cmd帳票印刷 = nullptr;
    QPushButton *cmd帳票PDF = nullptr;
    QPushButton *cmd帳票CSV = nullptr;
    QPushButton *cmd帳票閉じる = nullptr;

private:
    void fillGrid();
    void connectButtons();
    reports::Document document() const;

    reports::Table m_table;
    QList<csv::Record> m_records;
    QStringList m_fileNameParts;
};

} // namespace pelmar
