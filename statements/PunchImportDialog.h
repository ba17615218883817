#pragma once

#include "payroll/PunchCommit.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <QPair>
#include <QStringList>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QTableWidgetItem;
class QVBoxLayout;

namespace pelmar {

struct ProgramState;

// 取込 on the history page: a time recorder's CSV file read, its columns
// named (or recognised, or remembered from the last file with the same
// header), then every row shown as the line it makes, with its hours and
// yen, or the reason it cannot be taken. Nothing is written before 取込 on
// the preview; then the statements are stored in one transaction after a
// backup, and the rows left out are written beside the file.
class PunchImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit PunchImportDialog(ProgramState &state, QWidget *parent = nullptr);

    // Reads the file (what 参照 and typing a path into the file box do).
    void openFile(const QString &path);
    // The name and title of the statement page's unsaved lines, if any: an
    // import that stores that statement names them first.
    void setUnsavedStatement(const std::optional<QPair<QString, QString>> &unsaved) { m_unsaved = unsaved; }

signals:
    // Statements of these employees were stored under the title: the
    // history list is to be read again, the statement page told.
    void imported(const QString &title, const QStringList &names);

private:
    void buildMappingStep();
    void buildColumnPickers(QWidget *step, QVBoxLayout *layout);
    void buildTitleRow(QWidget *step, QVBoxLayout *layout);
    static QTableWidgetItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    void buildPreviewStep();
    // The file's bytes read again in the chosen encoding; a new file has its
    // columns found afresh.
    void readAgain(bool newFile);
    void showFirstRows();
    void showMapping(const punch::ColumnMapping &mapping);
    punch::ColumnMapping chosenMapping() const;
    void toPreview();
    void showPreview();
    int addPreviewRow(const QStringList &texts);
    int previewStatements();
    void previewLeftOutRows();
    // The plan of the file under the title, with the title's close checked;
    // why (after telling it) when nothing can be imported.
    std::optional<punch::Prepared::Stop> prepare(const QString &title);
    void confirm();
    void tellNotImported(const punch::Committed &committed);
    // The rows left out, written beside the file; false (and told) when they
    // could not be.
    bool writeLeftOutRows(QString *path);
    // Asks before storing a statement the statement page holds unsaved
    // lines of; true when there is none or the user agreed.
    bool confirmOverUnsavedPage(const QStringList &skipped) const;
    // The employees whose statements the import stores.
    QStringList storedNames(const QStringList &skipped) const;

    ProgramState &m_state;
    QString m_path;
    QByteArray m_bytes;
    punch::PunchFile m_file;
    std::optional<punch::Plan> m_plan;
    std::optional<QPair<QString, QString>> m_unsaved;
    bool m_filling = false;
    int m_filledRows = 0; // the preview's rows filled so far

    QStackedWidget *m_steps = nullptr;
    QLineEdit *txt取込ファイル = nullptr;
    QPushButton *cmd取込参照 = nullptr;
    QComboBox *cmb文字コード = nullptr;
    QLabel *lbl文字コード = nullptr;
    QTableWidget *tbl取込先頭行 = nullptr;
    QCheckBox *chk見出し行 = nullptr;
    QComboBox *cmb照合 = nullptr;
    QComboBox *cmb列氏名 = nullptr;
    QComboBox *cmb列日付 = nullptr;
    QComboBox *cmb列出勤 = nullptr;
    QComboBox *cmb列退勤 = nullptr;
    QComboBox *cmb列休憩 = nullptr;
    QComboBox *cmb休憩単位 = nullptr;
    QLabel *lbl列状態 = nullptr;
    QLineEdit *txt取込タイトル = nullptr;
    QPushButton *cmd取込次へ = nullptr;

    QLabel *lbl取込概要 = nullptr;
    QTableWidget *tbl取込プレビュー = nullptr;
    QPushButton *cmd取込戻る = nullptr;
    QPushButton *cmd取込実行 = nullptr;
};

} // namespace pelmar
