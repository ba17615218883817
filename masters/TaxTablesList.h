#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QTableWidget;

namespace pelmar {

// The 源泉徴収税額表 (月額表) the pay is worked out by, on the settings page:
// each table the program carries and each one of the data folder's tables/
// folder, with the pay dates it serves and whether it is used; one that is
// not used says why.
class TaxTablesList : public QWidget {
    Q_OBJECT
public:
    explicit TaxTablesList(QWidget *parent = nullptr);
    // Reads the tables again for the data folder (the folder's files may
    // have changed since).
    void showFor(const QString &dataFolder);

private:
    QTableWidget *lst税額表 = nullptr;
    QLabel *lbl税額表説明 = nullptr;
};

} // namespace pelmar
