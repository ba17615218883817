#pragma once

#include "calc/YearEnd.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;

namespace pelmar {

struct ProgramState;

// 年末調整の申告書: what one employee declared for a year, one tab a paper and
// each box in the order and with the words of the paper, so that an owner
// copies from it top to bottom: 扶養控除等申告書, 基礎控除申告書,
// 配偶者控除等申告書, 保険料控除申告書, 住宅借入金等特別控除申告書 and the
// previous employer's 源泉徴収票 (前職分). Opened from the employee page
// beside 給与設定; 保存 keeps a copy of the main file first, like 登録.
class DeclarationsDialog : public QDialog {
    Q_OBJECT
public:
    DeclarationsDialog(ProgramState &state, const QString &name, int year, QWidget *parent = nullptr);
    // Reads the year's stored 申告書 onto the dialog; false, after telling
    // the user, when they cannot be read.
    bool load();
    // 保存: checks, keeps a copy, stores; the dialog closes on success.
    void save();

    // The year the dialog opens on: last year's papers during January, when
    // a 年末調整 left for then is done, otherwise this year's.
    static int defaultYear(const QDate &today);

private:
    QWidget *dependantsPaper();
    QWidget *basicPaper();
    QWidget *spousePaper();
    QWidget *insurancePaper();
    QWidget *housingPaper();
    QWidget *previousPaper();
    void addRelativeRow(const yearend::Relative &relative);
    void display(const yearend::Declarations &declared);
    yearend::Declarations typed(QStringList *problems) const;
    void changeYear(int year);
    void markEdited() { m_edited = true; }

    ProgramState &m_state;
    QString m_name;
    int m_year = 0;
    bool m_edited = false;
    QSpinBox *spn申告年 = nullptr;
    QTabWidget *tab申告書 = nullptr;
    QComboBox *cmb本人障害 = nullptr, *cmb寡婦ひとり親 = nullptr;
    QCheckBox *chk勤労学生 = nullptr;
    QTableWidget *tbl扶養親族 = nullptr;
    QPushButton *cmd親族追加 = nullptr, *cmd親族削除 = nullptr;
    QSpinBox *num給与以外所得 = nullptr;
    QCheckBox *chk配偶者 = nullptr;
    QLineEdit *txt配偶者氏名 = nullptr, *txt配偶者生年月日 = nullptr;
    QSpinBox *num配偶者所得 = nullptr;
    QComboBox *cmb配偶者障害 = nullptr;
    QSpinBox *num一般生命新 = nullptr, *num一般生命旧 = nullptr, *num介護医療 = nullptr, *num個人年金新 = nullptr,
             *num個人年金旧 = nullptr, *num地震保険料 = nullptr, *num旧長期損害保険料 = nullptr,
             *num社会保険料 = nullptr, *num小規模企業共済等掛金 = nullptr;
    QSpinBox *num住宅借入金等特別控除 = nullptr;
    QSpinBox *num前職支払金額 = nullptr, *num前職社会保険料 = nullptr, *num前職源泉徴収税額 = nullptr;
    QPushButton *cmd申告保存 = nullptr, *cmd申告取消 = nullptr;
};

} // namespace pelmar
