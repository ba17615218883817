// The import's second step: what the rows become, and storing them once
// the user agrees.
#include "statements/PunchImportDialog.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "calc/TypedText.h"
#include "messages/ShowMsg.h"
#include "store/Csv.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/PageBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
namespace pelmar {

namespace {

const QStringList kPreviewColumns{QStringLiteral("行"),   QStringLiteral("氏名"), QStringLiteral("日付"),
                                  QStringLiteral("出勤"), QStringLiteral("退勤"), QStringLiteral("休憩"),
                                  QStringLiteral("時間"), QStringLiteral("深夜"), QStringLiteral("時間外"),
                                  QStringLiteral("休日"), QStringLiteral("金額"), QStringLiteral("取込できない理由")};
enum PreviewColumn { kLine, kName, kDate, kStart, kEnd, kBreak, kHours, kNight, kOvertime, kRestDay, kAmount, kReason };

QString hoursText(const QVariant &hours)
{
    return fmt::format(hours, fmt::kHoursBlankZero);
}

// What the import will do, above the table.
QString previewSummary(const punch::Plan &plan, int lines)
{
    QString summary = QStringLiteral("タイトル「%1」に %2 名の明細 %3 行を取り込みます。")
                          .arg(plan.title)
                          .arg(plan.statements.size())
                          .arg(lines);
    if (const QStringList replaced = plan.replacedNames(); !replaced.isEmpty())
        summary += QStringLiteral(
                       "\n%1 にはこのタイトルの明細がすでにあります。取込のときに、置き換えるか飛ばすかを尋ねます。")
                       .arg(replaced.join(QStringLiteral("、")));
    if (const int refused = plan.refusedRows())
        summary += QStringLiteral("\n取り込めない行が %1 行あります（赤い行、理由は右端）。").arg(refused);
    // What 登録 would tell before its question, for each statement.
    if (const QString findings = punch::findingsText(plan); !findings.isEmpty())
        summary += u'\n' + findings;
    summary += QStringLiteral("\n時間と金額は、勤務表のページが計算するのと同じ割増と端数処理で計算しています。"
                              "「取込」を押すまで何も書き込みません。");
    return summary;
}

// The names whose statement under the title is already stored and which the
// user chose not to replace.
QStringList namesToSkip(const punch::Plan &plan, const QString &title)
{
    QStringList skipped;
    for (const QString &name : plan.replacedNames())
        if (!ShowMsg(msg::取込置換確認, QStringLiteral("%1（%2）").arg(name, title)))
            skipped << name;
    return skipped;
}

struct Taken {
    int statements = 0;
    int lines = 0;
};

Taken takenOf(const punch::Plan &plan, const QStringList &skipped)
{
    Taken taken;
    for (const punch::PlannedStatement &planned : plan.statements) {
        if (skipped.contains(planned.statement.header.name))
            continue;
        ++taken.statements;
        taken.lines += int(planned.statement.lines.size());
    }
    return taken;
}

QString importedReport(const QString &title, const Taken &taken, const QStringList &skipped, int refused,
                       const QString &written)
{
    QString report = punch::importedText(title, taken.statements, taken.lines);
    if (!skipped.isEmpty())
        report +=
            QStringLiteral("\n取り込まなかった従業員（明細がすでにあるため）: ") + skipped.join(QStringLiteral("、"));
    if (refused > 0)
        report += QStringLiteral("\n取り込めなかった %1 行は %2 に書き出しました。")
                      .arg(refused)
                      .arg(QDir::toNativeSeparators(written));
    return report;
}

} // namespace

void PunchImportDialog::buildPreviewStep()
{
    auto *step = new QWidget(m_steps);
    step->setObjectName(QStringLiteral("page取込確認"));
    m_steps->addWidget(step);
    auto *layout = new QVBoxLayout(step);
    lbl取込概要 = captionLabel(QString(), step, QStringLiteral("lbl取込概要"));
    lbl取込概要->setWordWrap(true);
    layout->addWidget(lbl取込概要);
    tbl取込プレビュー = namedControl<QTableWidget>(QStringLiteral("tbl取込プレビュー"), step);
    tbl取込プレビュー->setColumnCount(int(kPreviewColumns.size()));
    tbl取込プレビュー->setHorizontalHeaderLabels(kPreviewColumns);
    tbl取込プレビュー->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbl取込プレビュー->verticalHeader()->hide();
    tbl取込プレビュー->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tbl取込プレビュー->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tbl取込プレビュー, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    cmd取込戻る = namedButton(QStringLiteral("cmd取込戻る"), QStringLiteral("戻る"), step);
    cmd取込実行 = namedButton(QStringLiteral("cmd取込実行"), QStringLiteral("取込"), step);
    auto *cancel = namedButton(QStringLiteral("cmd取込中止"), QStringLiteral("キャンセル"), step);
    bottom->addWidget(cmd取込戻る);
    bottom->addWidget(cmd取込実行);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    connect(cmd取込戻る, &QPushButton::clicked, this, [this] { m_steps->setCurrentIndex(0); });
    connect(cmd取込実行, &QPushButton::clicked, this, &PunchImportDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PunchImportDialog::toPreview()
{
    if (m_path.isEmpty()) {
        ShowMsg(msg::取込ファイル, QStringLiteral("取り込む CSV ファイルを選んでください。"));
        return;
    }
    if (!m_file.problem.isEmpty()) {
        ShowMsg(msg::取込ファイル, m_file.problem);
        return;
    }
    if (!chosenMapping().isComplete()) {
        ShowMsg(msg::取込列未指定);
        return;
    }
    txt取込タイトル->setText(typed::titleForm(txt取込タイトル->text()));
    if (txt取込タイトル->text().isEmpty()) {
        ShowMsg(msg::その他メッセージ, QStringLiteral("タイトルを記入してください。"));
        txt取込タイトル->setFocus();
        return;
    }
    if (prepare(txt取込タイトル->text()))
        return;
    showPreview();
    m_steps->setCurrentIndex(1);
}

void PunchImportDialog::showPreview()
{
    QTableWidget *table = tbl取込プレビュー;
    table->clearContents();
    // Every row is made at once: a table grown one row at a time costs the
    // square of the rows, minutes for a file of a hundred thousand.
    int rows = m_plan->refusedRows();
    for (const punch::PlannedStatement &planned : std::as_const(m_plan->statements))
        rows += int(planned.rows.size()) + 1;
    table->setRowCount(rows);
    m_filledRows = 0;
    const int lines = previewStatements();
    previewLeftOutRows();
    table->resizeColumnsToContents();
    lbl取込概要->setText(previewSummary(*m_plan, lines));
    cmd取込実行->setEnabled(!m_plan->statements.isEmpty());
}

int PunchImportDialog::addPreviewRow(const QStringList &texts)
{
    QTableWidget *table = tbl取込プレビュー;
    const int row = m_filledRows++;
    for (int c = 0; c < texts.size(); ++c) {
        const bool number = c == kLine || (c >= kBreak && c <= kAmount);
        table->setItem(
            row, c, cell(texts.at(c), number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
    }
    return row;
}

// Each statement's lines, then its totals in bold; returns how many lines.
int PunchImportDialog::previewStatements()
{
    const punch::Plan &plan = *m_plan;
    QTableWidget *table = tbl取込プレビュー;
    const QString yen = fmt::kYen;
    int lines = 0;
    for (const punch::PlannedStatement &planned : plan.statements) {
        const statements::Header &h = planned.statement.header;
        for (int i = 0; i < planned.rows.size(); ++i) {
            const punch::PunchRow &source = plan.rows.at(planned.rows.at(i));
            const QVariantList &line = planned.statement.lines.at(i);
            // What 登録 would point out, shown without refusing the line.
            QStringList notes;
            if (premium::breakTooShort(line.at(4), line.at(3)))
                notes << QStringLiteral("注意: 休憩が法定より短い");
            if (premium::belowMinimumWage(line.at(5), line.at(0), plan.rules))
                notes << QStringLiteral("注意: 時給が最低賃金を下回る");
            addPreviewRow({QString::number(source.line), h.name, fmt::formatDateText(line.at(0)),
                           fmt::formatTime(line.at(1)), fmt::formatTime(line.at(2)), hoursText(line.at(3)),
                           hoursText(line.at(4)), hoursText(line.at(8)), hoursText(line.at(9)), hoursText(line.at(11)),
                           fmt::format(line.at(7), yen), notes.join(QStringLiteral("、"))});
        }
        lines += int(planned.rows.size());
        const int total = addPreviewRow(
            {QString(), QStringLiteral("%1 計").arg(h.name), QString(), QString(), QString(), hoursText(h.breakHours),
             hoursText(h.hours), hoursText(h.nightHours), hoursText(h.overtimeHours), hoursText(h.restDayHours),
             fmt::format(h.total, yen),
             planned.replaces
                 ? QStringLiteral("このタイトルの明細がすでにあります（取込で置き換えるか飛ばすかを尋ねます）")
                 : QString()});
        for (int c = 0; c < table->columnCount(); ++c) {
            QFont bold = table->item(total, c)->font();
            bold.setBold(true);
            table->item(total, c)->setFont(bold);
        }
    }
    return lines;
}

void PunchImportDialog::previewLeftOutRows()
{
    const punch::Plan &plan = *m_plan;
    QTableWidget *table = tbl取込プレビュー;
    // A row left out shows what the file holds in the columns it was read
    // from, and why it cannot be taken.
    const punch::ColumnMapping mapping = chosenMapping();
    for (const punch::PunchRow &row : plan.rows) {
        if (row.isTaken())
            continue;
        const auto field = [&row](int column) {
            return column >= 0 ? row.fields.value(column) : QString();
        };
        const int shown = addPreviewRow({QString::number(row.line), field(mapping.employee), field(mapping.date),
                                         field(mapping.start), field(mapping.end), field(mapping.breakColumn),
                                         QString(), QString(), QString(), QString(), QString(), row.reason});
        for (int c = 0; c < table->columnCount(); ++c)
            table->item(shown, c)->setForeground(Qt::darkRed);
    }
}

bool PunchImportDialog::writeLeftOutRows(QString *path)
{
    *path = punch::errorFilePath(m_path);
    const QStringList header = chosenMapping().firstRowIsHeader ? m_file.header() : QStringList();
    QString error;
    if (csv::writeFile(*path, punch::leftOutRecords(header, m_plan->rows), &error))
        return true;
    ShowMsg(msg::エラー取込,
            QStringLiteral("取り込めない行を %1 に書き出せませんでした。\n理由: %2")
                .arg(QDir::toNativeSeparators(*path), error));
    return false;
}

std::optional<punch::Prepared::Stop> PunchImportDialog::prepare(const QString &title)
{
    punch::Prepared prepared = punch::prepareImport(m_state.MainDb, m_file.read.records, chosenMapping(), title);
    if (prepared.stop == punch::Prepared::Stop::None) {
        m_plan = std::move(prepared.plan);
        return std::nullopt;
    }
    // A closed month takes nothing, before anything is shown as if it would.
    if (prepared.stop == punch::Prepared::Stop::TitleClosed)
        ShowMsg(msg::締め変更不可, prepared.reason);
    else
        ShowMsg(msg::エラー取込, failureDetail(m_state.MainDb));
    return prepared.stop;
}

void PunchImportDialog::confirm()
{
    // The data may have changed since the preview: it is worked out again.
    const QString title = m_plan->title;
    if (const auto stopped = prepare(title)) {
        if (*stopped == punch::Prepared::Stop::ReadFailed)
            reject();
        return;
    }
    showPreview();
    const int refused = m_plan->refusedRows();
    const QString errorPath = punch::errorFilePath(m_path);
    if (refused > 0
        && !ShowMsg(msg::取込エラー行確認,
                    QStringLiteral(
                        "取り込めない行が %1 行あります。\n\nこれらの行を除いて取り込み、除いた行を理由と一緒に\n%2\n"
                        "に書き出しますか")
                        .arg(refused)
                        .arg(QDir::toNativeSeparators(errorPath))))
        return;
    const QStringList skipped = namesToSkip(*m_plan, title);
    const Taken taken = takenOf(*m_plan, skipped);
    if (taken.statements == 0) {
        ShowMsg(msg::取込なし);
        return;
    }
    if (!confirmOverUnsavedPage(skipped))
        return;
    QString written;
    const punch::ColumnMapping mapping = chosenMapping();
    const QStringList header = mapping.firstRowIsHeader ? m_file.header() : QStringList();
    const punch::Committed committed = punch::commitImport(
        m_state.MainDb, m_state.DataPath, *m_plan, skipped, header, mapping,
        [&] { return refused == 0 || writeLeftOutRows(&written); });
    if (!committed.ok()) {
        tellNotImported(committed);
        return;
    }
    emit imported(title, storedNames(skipped));
    ShowMsg(msg::取込完了, importedReport(title, taken, skipped, refused, written));
    accept();
}

void PunchImportDialog::tellNotImported(const punch::Committed &committed)
{
    switch (committed.failedAt) {
    case punch::Committed::Step::Done:
    case punch::Committed::Step::BeforeSave: // already told
        return;
    case punch::Committed::Step::Backup:
        ShowMsg(msg::エラー取込, QStringLiteral("バックアップを作成できません。\n理由: ") + committed.backupError);
        return;
    case punch::Committed::Step::Save:
        break;
    }
    // The store found the data changed since the preview: nothing is
    // written, and 取込 works the preview out again for another try.
    const QString reason = punch::refusalReason(committed.saved);
    if (committed.saved.refusal == statements::Refusal::TitleClosed)
        ShowMsg(msg::締め変更不可, reason);
    else
        ShowMsg(msg::エラー取込, reason.isEmpty() ? failureDetail(m_state.MainDb) : reason);
}

} // namespace pelmar
