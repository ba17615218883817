#include "statements/PunchImportDialog.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "calc/TypedText.h"
#include "messages/ShowMsg.h"
#include "store/Backup.h"
#include "store/Csv.h"
#include "store/CsvRead.h"
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

// The file's first rows, enough to tell the columns apart.
constexpr int kFirstRows = 8;

QComboBox *columnPicker(const QString &name, QWidget *parent)
{
    auto *picker = namedControl<QComboBox>(name, parent);
    picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return picker;
}

} // namespace

PunchImportDialog::PunchImportDialog(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("dlg取込"));
    setWindowTitle(QStringLiteral("打刻の取込"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_steps = namedControl<QStackedWidget>(QStringLiteral("stk取込"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_steps);
    buildMappingStep();
    buildPreviewStep();
    resize(960, 640);
}

QTableWidgetItem *PunchImportDialog::cell(const QString &text, Qt::Alignment alignment)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(alignment);
    return item;
}

void PunchImportDialog::buildMappingStep()
{
    auto *step = new QWidget(m_steps);
    step->setObjectName(QStringLiteral("page取込列"));
    m_steps->addWidget(step);
    auto *layout = new QVBoxLayout(step);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(captionLabel(QStringLiteral("ファイル"), step));
    txt取込ファイル = namedControl<QLineEdit>(QStringLiteral("txt取込ファイル"), step);
    fileRow->addWidget(txt取込ファイル, 1);
    cmd取込参照 = namedButton(QStringLiteral("cmd取込参照"), QStringLiteral("参照…"), step);
    fileRow->addWidget(cmd取込参照);
    fileRow->addWidget(captionLabel(QStringLiteral("文字コード"), step));
    cmb文字コード = namedControl<QComboBox>(QStringLiteral("cmb文字コード"), step);
    cmb文字コード->addItem(csv::encodingName(csv::Encoding::ShiftJis), int(csv::Encoding::ShiftJis));
    cmb文字コード->addItem(csv::encodingName(csv::Encoding::Utf8), int(csv::Encoding::Utf8));
    fileRow->addWidget(cmb文字コード);
    layout->addLayout(fileRow);
    lbl文字コード = captionLabel(QString(), step, QStringLiteral("lbl文字コード"));
    lbl文字コード->setWordWrap(true);
    layout->addWidget(lbl文字コード);

    layout->addWidget(captionLabel(QStringLiteral("ファイルの先頭の行"), step));
    tbl取込先頭行 = namedControl<QTableWidget>(QStringLiteral("tbl取込先頭行"), step);
    tbl取込先頭行->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbl取込先頭行->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    layout->addWidget(tbl取込先頭行, 1);

    buildColumnPickers(step, layout);
    buildTitleRow(step, layout);
}

void PunchImportDialog::buildColumnPickers(QWidget *step, QVBoxLayout *layout)
{
    auto *grid = new QGridLayout;
    chk見出し行 = namedControl<QCheckBox>(QStringLiteral("chk見出し行"), step);
    chk見出し行->setText(QStringLiteral("1行目は見出し"));
    chk見出し行->setChecked(true);
    grid->addWidget(chk見出し行, 0, 0, 1, 2);
    cmb照合 = namedControl<QComboBox>(QStringLiteral("cmb照合"), step);
    cmb照合->addItems({QStringLiteral("氏名"), QStringLiteral("従業員番号")});
    cmb列氏名 = columnPicker(QStringLiteral("cmb列氏名"), step);
    cmb列日付 = columnPicker(QStringLiteral("cmb列日付"), step);
    cmb列出勤 = columnPicker(QStringLiteral("cmb列出勤"), step);
    cmb列退勤 = columnPicker(QStringLiteral("cmb列退勤"), step);
    cmb列休憩 = columnPicker(QStringLiteral("cmb列休憩"), step);
    cmb休憩単位 = namedControl<QComboBox>(QStringLiteral("cmb休憩単位"), step);
    cmb休憩単位->addItem(QStringLiteral("書き方から判断"), int(punch::BreakUnit::Auto));
    cmb休憩単位->addItem(QStringLiteral("分"), int(punch::BreakUnit::Minutes));
    cmb休憩単位->addItem(QStringLiteral("時間"), int(punch::BreakUnit::Hours));
    grid->addWidget(cmb照合, 1, 0);
    grid->addWidget(cmb列氏名, 1, 1);
    const QList<QPair<QString, QWidget *>> pickers{{QStringLiteral("日付"), cmb列日付},
                                                   {QStringLiteral("出勤"), cmb列出勤},
                                                   {QStringLiteral("退勤"), cmb列退勤},
                                                   {QStringLiteral("休憩（なくても可）"), cmb列休憩},
                                                   {QStringLiteral("休憩の数字の単位"), cmb休憩単位}};
    for (int i = 0; i < pickers.size(); ++i) {
        grid->addWidget(captionLabel(pickers.at(i).first, step), 2 + i, 0);
        grid->addWidget(pickers.at(i).second, 2 + i, 1);
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    lbl列状態 = captionLabel(QString(), step, QStringLiteral("lbl列状態"));
    lbl列状態->setWordWrap(true);
    layout->addWidget(lbl列状態);
}

void PunchImportDialog::buildTitleRow(QWidget *step, QVBoxLayout *layout)
{
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(captionLabel(QStringLiteral("タイトル"), step));
    txt取込タイトル = namedControl<QLineEdit>(QStringLiteral("txt取込タイトル"), step);
    txt取込タイトル->setPlaceholderText(QStringLiteral("2026年11月分"));
    bottom->addWidget(txt取込タイトル, 1);
    cmd取込次へ = namedButton(QStringLiteral("cmd取込次へ"), QStringLiteral("次へ（確認）"), step);
    auto *cancel = namedButton(QStringLiteral("cmd取込キャンセル"), QStringLiteral("キャンセル"), step);
    bottom->addWidget(cmd取込次へ);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    connect(cmd取込参照, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打刻の CSV ファイル"), m_path,
                                                          QStringLiteral("CSV (*.csv *.CSV);;すべて (*)"));
        if (!path.isEmpty())
            openFile(path);
    });
    connect(txt取込ファイル, &QLineEdit::returnPressed, this, [this] { openFile(txt取込ファイル->text()); });
    connect(cmb文字コード, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            readAgain(false);
    });
    connect(chk見出し行, &QCheckBox::toggled, this, [this] {
        if (!m_filling)
            showFirstRows();
    });
    connect(cmd取込次へ, &QPushButton::clicked, this, &PunchImportDialog::toPreview);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PunchImportDialog::openFile(const QString &path)
{
    QByteArray bytes;
    if (const QString unread = csv::readInputFile(path, &bytes); !unread.isEmpty()) {
        ShowMsg(msg::取込ファイル, unread);
        return;
    }
    m_path = path;
    m_bytes = bytes;
    m_file = punch::readPunchFile(m_bytes);
    m_filling = true;
    txt取込ファイル->setText(QDir::toNativeSeparators(path));
    cmb文字コード->setCurrentIndex(cmb文字コード->findData(int(m_file.encoding)));
    m_filling = false;
    readAgain(true);
}

void PunchImportDialog::readAgain(bool newFile)
{
    if (m_path.isEmpty())
        return;
    const auto encoding = csv::Encoding(cmb文字コード->currentData().toInt());
    m_file = punch::readPunchFile(m_bytes, encoding);
    QString note = m_file.encoding == csv::guessEncoding(m_bytes)
        ? QStringLiteral("文字コードはファイルの中身から %1 と判断しました。文字化けしているときは選び直してください。")
        : QStringLiteral("%1 として読んでいます。");
    note = note.arg(csv::encodingName(m_file.encoding));
    if (m_file.damagedText)
        note += QStringLiteral("\n%1 として読めない文字があります（�）。文字コードを確かめてください。")
                    .arg(csv::encodingName(m_file.encoding));
    lbl文字コード->setText(note);
    if (!m_file.problem.isEmpty())
        ShowMsg(msg::取込ファイル, m_file.problem);

    // A header seen before keeps the columns the user chose for it; one that
    // names its columns needs no choice at all.
    const QStringList header = m_file.header();
    const auto remembered = punch::rememberedMapping(m_state.MainDb, header);
    const auto recognised = punch::recogniseHeader(header);
    m_filling = true;
    chk見出し行->setChecked(!remembered || remembered->firstRowIsHeader);
    m_filling = false;
    showFirstRows();
    if (remembered) {
        showMapping(*remembered);
        lbl列状態->setText(QStringLiteral("前にこの見出しのファイルを取り込んだときの列の指定です。"));
    } else if (recognised) {
        showMapping(*recognised);
        lbl列状態->setText(QStringLiteral("見出しから列が分かりました。違っていれば選び直してください。"));
    } else {
        // Columns chosen by hand stay chosen while only the encoding changes.
        if (newFile)
            showMapping(punch::ColumnMapping{});
        lbl列状態->setText(QStringLiteral("見出しから列が分かりません。氏名（または従業員番号）・日付・出勤・退勤の"
                                          "列を選んでください。指定は、次に同じ見出しのファイルを取り込むときのために"
                                          "覚えておきます。"));
    }
}

void PunchImportDialog::showFirstRows()
{
    const QList<csv::ReadRecord> &records = m_file.read.records;
    qsizetype columns = 0;
    for (qsizetype i = 0; i < records.size() && i <= kFirstRows; ++i)
        columns = std::max(columns, records.at(i).fields.size());
    const bool header = chk見出し行->isChecked();
    QStringList names;
    for (qsizetype c = 0; c < columns; ++c) {
        const QString name = header ? typed::cleaned(m_file.header().value(c)) : QString();
        names << (name.isEmpty() ? QStringLiteral("%1列目").arg(c + 1)
                                 : QStringLiteral("%1列目 %2").arg(c + 1).arg(name));
    }
    const qsizetype first = header ? 1 : 0;
    const qsizetype shown = std::clamp<qsizetype>(records.size() - first, 0, kFirstRows);
    tbl取込先頭行->clear();
    tbl取込先頭行->setColumnCount(int(columns));
    tbl取込先頭行->setRowCount(int(shown));
    tbl取込先頭行->setHorizontalHeaderLabels(names);
    QStringList lineNumbers;
    for (qsizetype r = 0; r < shown; ++r) {
        const csv::ReadRecord &record = records.at(first + r);
        lineNumbers << QStringLiteral("%1行目").arg(record.line);
        for (qsizetype c = 0; c < record.fields.size(); ++c)
            tbl取込先頭行->setItem(int(r), int(c), cell(record.fields.at(c)));
    }
    tbl取込先頭行->setVerticalHeaderLabels(lineNumbers);
    tbl取込先頭行->resizeColumnsToContents();

    // The pickers offer the columns by the same names.
    const punch::ColumnMapping kept = chosenMapping();
    m_filling = true;
    for (QComboBox *picker : {cmb列氏名, cmb列日付, cmb列出勤, cmb列退勤, cmb列休憩}) {
        picker->clear();
        picker->addItem(picker == cmb列休憩 ? QStringLiteral("（なし）") : QStringLiteral("（選んでください）"), -1);
        for (int c = 0; c < names.size(); ++c)
            picker->addItem(names.at(c), c);
    }
    m_filling = false;
    showMapping(kept);
}

void PunchImportDialog::showMapping(const punch::ColumnMapping &mapping)
{
    const auto choose = [](QComboBox *picker, int column) {
        const int index = picker->findData(column);
        picker->setCurrentIndex(index < 0 ? 0 : index);
    };
    cmb照合->setCurrentIndex(mapping.employeeByNumber ? 1 : 0);
    choose(cmb列氏名, mapping.employee);
    choose(cmb列日付, mapping.date);
    choose(cmb列出勤, mapping.start);
    choose(cmb列退勤, mapping.end);
    choose(cmb列休憩, mapping.breakColumn);
    cmb休憩単位->setCurrentIndex(cmb休憩単位->findData(int(mapping.breakUnit)));
}

punch::ColumnMapping PunchImportDialog::chosenMapping() const
{
    punch::ColumnMapping mapping;
    mapping.employee = cmb列氏名->currentData().isValid() ? cmb列氏名->currentData().toInt() : -1;
    mapping.employeeByNumber = cmb照合->currentIndex() == 1;
    mapping.date = cmb列日付->currentData().isValid() ? cmb列日付->currentData().toInt() : -1;
    mapping.start = cmb列出勤->currentData().isValid() ? cmb列出勤->currentData().toInt() : -1;
    mapping.end = cmb列退勤->currentData().isValid() ? cmb列退勤->currentData().toInt() : -1;
    mapping.breakColumn = cmb列休憩->currentData().isValid() ? cmb列休憩->currentData().toInt() : -1;
    mapping.breakUnit = punch::BreakUnit(cmb休憩単位->currentData().toInt());
    mapping.firstRowIsHeader = chk見出し行->isChecked();
    return mapping;
}

QStringList PunchImportDialog::storedNames(const QStringList &skipped) const
{
    QStringList names;
    for (const punch::PlannedStatement &planned : m_plan->statements)
        if (!skipped.contains(planned.statement.header.name))
            names << planned.statement.header.name;
    return names;
}

bool PunchImportDialog::confirmOverUnsavedPage(const QStringList &skipped) const
{
    if (!m_unsaved || typed::titleForm(m_unsaved->second) != typed::titleForm(m_plan->title)
        || !storedNames(skipped).contains(m_unsaved->first))
        return true;
    return ShowMsg(msg::取込未保存確認, m_unsaved->first + QStringLiteral("（") + m_plan->title + QStringLiteral("）"));
}

} // namespace pelmar
