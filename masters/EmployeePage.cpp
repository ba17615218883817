#include "masters/EmployeePage.h"

#include "calc/Formats.h"
#include "calc/TypedText.h"
#include "calc/WorkTime.h"
#include "masters/EmployeeStore.h"
#include "masters/InsuranceDialog.h"
#include "masters/MasterBackup.h"
#include "masters/PatternStore.h"
#include "masters/DeclarationsDialog.h"
#include "masters/PayrollDialog.h"
#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "store/Tables.h"
#include "widgets/ColumnLayout.h"
#include "widgets/DataGrid.h"
#include "widgets/ImeSetOpen.h"
#include "widgets/PageBuilder.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace pelmar {

namespace {
// The grid shows w従業員, its drop-down w勤務形態参照.
namespace col = tables::employeeColumn;
namespace ref = tables::referenceColumn;
} // namespace

EmployeePage::EmployeePage(ProgramState &state, QWidget *parent) : TabPage(parent), m_state(state)
{
    PageSkeleton skeleton(this, QStringLiteral("page従業員"), QStringLiteral("imContainer3D3"));
    imContainer3D3 = skeleton.frame();

    grid従業員 = namedControl<DataGrid>(QStringLiteral("Grid従業員"), imContainer3D3);
    skeleton.body()->addWidget(grid従業員, 1);

    DD勤務形態 = namedControl<DataGrid>(QStringLiteral("DD勤務形態"), this);
    DD勤務形態->setDropDownMode(true);

    imContainer3D10 =
        skeleton.addButtonBar(QStringLiteral("imContainer3D10"),
                              {
                                  {&cmdクリア従業員, QStringLiteral("cmdクリア従業員"), QStringLiteral("クリア")},
                                  {&cmd従業員登録, QStringLiteral("cmd従業員登録"), QStringLiteral("登録")},
                                  {&cmd従業員行削除, QStringLiteral("cmd従業員行削除"), QStringLiteral("行削除")},
                                  {&cmd従業員読込, QStringLiteral("cmd従業員読込"), QStringLiteral("読込")},
                                  {&cmd給与設定, QStringLiteral("cmd給与設定"), QStringLiteral("給与設定")},
                                  {&cmd社会保険, QStringLiteral("cmd社会保険"), QStringLiteral("社会保険")},
                                  {&cmd年調申告, QStringLiteral("cmd年調申告"), QStringLiteral("年調申告")},
                              },
                              {&cmdHint3, QStringLiteral("cmdHint3")});

    connect(cmdクリア従業員, &QPushButton::clicked, this, &EmployeePage::Clear従業員);
    connect(cmd従業員読込, &QPushButton::clicked, this, &EmployeePage::Read従業員);
    connect(cmd従業員登録, &QPushButton::clicked, this, &EmployeePage::Entry従業員マスタ);
    connect(cmd従業員行削除, &QPushButton::clicked, this, &EmployeePage::LineDelete従業員);
    connect(cmd給与設定, &QPushButton::clicked, this, &EmployeePage::openPayroll);
    connect(cmd社会保険, &QPushButton::clicked, this, &EmployeePage::openInsurance);
    connect(cmd年調申告, &QPushButton::clicked, this, &EmployeePage::openDeclarations);
    connect(cmdHint3, &QAbstractButton::clicked, this, [this] { emit hintRequested(cmdHint3); });
    connectGrid();
}

// What the grid tells the page: picks, refused entries, edits, failed writes
// and the cell moving.
void EmployeePage::connectGrid()
{
    connect(grid従業員, &DataGrid::dropDownPicked, this, &EmployeePage::onPatternPicked);
    connect(
        grid従業員, &DataGrid::entryRefused, this,
        [this](int column, const QString &typed) {
            const QString caption = grid従業員->column(column).caption.value_or(QString());
            ShowMsg(msg::入力範囲外, typed::refusedEntry(caption, typed));
        },
        Qt::QueuedConnection);
    grid従業員->setCellNote([this](int row, int column) {
        const QVariant wage = grid従業員->valueAt(row, col::kWage);
        if (column != col::kWage || m_minimumWage <= 0 || wage.isNull() || wage.toDouble() >= m_minimumWage)
            return QString();
        return QStringLiteral("時給が最低賃金（%1円）を下回っています。").arg(fmt::format(m_minimumWage, fmt::kYen));
    });
    connect(grid従業員, &DataGrid::afterColUpdate, this, [this](int column) {
        m_edited = true;
        if (column == col::kName)
            settleTypedName();
        else if (column == col::kPatternType)
            settleTypedPattern();
        else
            checkTypedCell(column);
    });
    // Told once the edit is over, not from inside the grid's commit.
    connect(
        grid従業員, &DataGrid::writeFailed, this,
        [this](const QSqlError &error) {
            ShowMsg(msg::エラーセル書込み, failureDetail(error, fileOf(m_state.WorkDb)));
        },
        Qt::QueuedConnection);
    // Names take Japanese input; every other column is direct input.
    connect(grid従業員, &DataGrid::rowColChange, this, [this] {
        ImeSetOpen(grid従業員, grid従業員->currentColumn() == col::kName);
        // What a refused shift type goes back to.
        if (grid従業員->currentColumn() == col::kPatternType)
            m_patternBefore = grid従業員->cellValue(col::kPatternType);
    });
}

void EmployeePage::openPayroll()
{
    grid従業員->commitRow();
    const QString name = grid従業員->onRow() ? grid従業員->cellValue(col::kName).toString() : QString();
    if (name.isEmpty()) {
        ShowMsg(msg::給与従業員未登録, QStringLiteral("選んだ行（氏名なし）"));
        return;
    }
    // The details belong to a registered employee: one only typed on the
    // page has no row in the master for them to follow.
    if (!employees::find(m_state.MainDb, name)) {
        ShowMsg(msg::給与従業員未登録, name);
        return;
    }
    auto *dialog = new PayrollDialog(m_state, name, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->load()) {
        dialog->deleteLater();
        return;
    }
    dialog->open();
}

void EmployeePage::openInsurance()
{
    grid従業員->commitRow();
    const QString name = grid従業員->onRow() ? grid従業員->cellValue(col::kName).toString() : QString();
    // Kept for a registered employee only, as the payroll details are.
    if (name.isEmpty() || !employees::find(m_state.MainDb, name)) {
        ShowMsg(msg::社会保険従業員未登録, name.isEmpty() ? QStringLiteral("選んだ行（氏名なし）") : name);
        return;
    }
    auto *dialog = new InsuranceDialog(m_state, name, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->load()) {
        dialog->deleteLater();
        return;
    }
    dialog->open();
}

// The year-end 申告書 belong to a registered employee, as the payroll details do.
void EmployeePage::openDeclarations()
{
    grid従業員->commitRow();
    const QString name = grid従業員->onRow() ? grid従業員->cellValue(col::kName).toString() : QString();
    if (name.isEmpty() || !employees::find(m_state.MainDb, name)) {
        ShowMsg(msg::年調従業員未登録, name.isEmpty() ? QStringLiteral("選んだ行（氏名なし）") : name);
        return;
    }
    auto *dialog = new DeclarationsDialog(m_state, name, DeclarationsDialog::defaultYear(QDate::currentDate()), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->load()) {
        dialog->deleteLater();
        return;
    }
    dialog->open();
}

void EmployeePage::Clear従業員()
{
    patterns::copyToReference(m_state.MainDb, m_state.WorkDb);
    DD勤務形態->refresh();
    if (!employees::resetPage(m_state.WorkDb))
        ShowMsg(msg::エラー従業員クリア, failureDetail(m_state.WorkDb));
    grid従業員->refresh();
    m_edited = false;
}

void EmployeePage::Read従業員()
{
    if (m_edited && !ShowMsg(msg::その他未保存確認, QStringLiteral("従業員")))
        return;
    showMaster();
}

void EmployeePage::showMaster()
{
    refreshDropDown();
    // The page goes straight from what it held to the master, one write at
    // most; one that cannot be read shows an empty page, never stale rows.
    const ReadyAtStart *ready = readyAtStart();
    m_readFailed = !(ready && ready->employees) && !employees::readMaster(m_state.MainDb, m_state.WorkDb);
    if (m_readFailed && !employees::resetPage(m_state.WorkDb))
        ShowMsg(msg::エラー従業員クリア);
    grid従業員->refresh();
    m_edited = false;
    if (m_readFailed)
        ShowMsg(msg::エラー従業員読込, failureDetail(m_state.MainDb, m_state.WorkDb));
}

void EmployeePage::Entry従業員マスタ()
{
    if (m_readFailed) {
        ShowMsg(msg::登録従業員未読込);
        return;
    }
    grid従業員->commitRow();
    if (const QString same = sameNames(); !same.isEmpty()) {
        ShowMsg(msg::入力重複, same);
        return;
    }
    // A page that lost names, by クリア or deleted rows, must not silently
    // take them out of the master.
    const std::optional<int> leaving = employees::namesLeavingMaster(m_state.MainDb, m_state.WorkDb);
    if (!leaving) {
        ShowMsg(msg::エラー従業員確認, failureDetail(m_state.MainDb, m_state.WorkDb));
        return;
    }
    if (*leaving > 0) {
        if (!ShowMsg(msg::登録マスタ削除確認, QString::number(*leaving)))
            return;
    } else if (!ShowMsg(msg::登録確認, QStringLiteral("従業員"))) {
        return;
    }
    if (!keepCopyBeforeRegistering(m_state, backup::Reason::Employees))
        return;
    if (!employees::registerPage(m_state.MainDb, m_state.WorkDb)) {
        ShowMsg(msg::エラー従業員登録, failureDetail(m_state.MainDb, m_state.WorkDb));
        return;
    }
    m_edited = false;
    emit masterChanged();
}

void EmployeePage::LineDelete従業員()
{
    grid従業員->commitRow();
    const std::optional<employees::TickedDeletion> deletion = employees::tickedDeletion(m_state.MainDb, m_state.WorkDb);
    if (!deletion) {
        ShowMsg(msg::エラー従業員確認, failureDetail(m_state.MainDb, m_state.WorkDb));
        return;
    }
    // Rows only typed on the page take nothing from the master: the
    // question stays the plain one, and no copy is needed.
    if (deletion->names.isEmpty()) {
        if (!ShowMsg(msg::削除確認, QStringLiteral("指定された従業員")))
            return;
    } else if (!ShowMsg(msg::削除従業員確認, deletionSubject(*deletion))
               || !keepCopyBeforeRegistering(m_state, backup::Reason::Employees)) {
        return;
    }
    if (!employees::deleteTicked(m_state.MainDb, m_state.WorkDb))
        ShowMsg(msg::エラー従業員削除, failureDetail(m_state.MainDb, m_state.WorkDb));
    grid従業員->refresh();
    emit masterChanged();
}

// What 行削除 takes out of the master with the employees, and what stays.
QString EmployeePage::deletionSubject(const employees::TickedDeletion &deletion)
{
    QString subject = QStringLiteral("従業員 %1 をマスタから削除します。").arg(deletion.names.join(u'、'));
    if (!deletion.withDetails.isEmpty())
        subject += QStringLiteral("\n%1 の給与の設定（税区分・保険料・住民税・通勤手当など）も一緒に削除されます。")
                       .arg(deletion.withDetails.join(u'、'));
    if (deletion.statements > 0)
        subject += QStringLiteral("\n保存した明細 %1 件は削除されずに残ります。").arg(deletion.statements);
    return subject;
}

// Two rows whose names look the same would be two employees nobody can
// tell apart: the names and their rows, as the grid numbers them, for the
// refusal; empty when every name is one of its own.
QString EmployeePage::sameNames() const
{
    QStringList names;
    for (int row = 0; row < grid従業員->rowCount(); ++row) {
        const QVariant name = grid従業員->valueAt(row, col::kName);
        names << (name.isNull() ? QString() : name.toString());
    }
    QStringList groups;
    for (const QList<int> &group : typed::sameOnceCleaned(names)) {
        QStringList rows;
        for (int row : group)
            rows << QString::number(row + 1);
        groups << QStringLiteral("「%1」（%2 行目）").arg(typed::cleaned(names.at(group.first())), rows.join(u'、'));
    }
    return groups.isEmpty() ? QString() : QStringLiteral("氏名") + groups.join(u'、');
}

// Times are taken as the statement page takes them (9:30, 930, 0930), and a
// wage, break or working time must lie in range; a refused entry is told
// and the cell keeps what it held, so the master never gets a negative
// wage that statements would then take.
void EmployeePage::checkTypedCell(int column)
{
    const QVariant typed = grid従業員->cellValue(column);
    if (worktime::isEmptyValue(typed) || column < col::kWage || column == col::kPatternType || column > col::kWorked)
        return;
    QVariant taken = typed;
    bool refused = false;
    if (column == col::kStart || column == col::kEnd) {
        const std::optional<QString> time = worktime::typedTime(typed.toString());
        refused = !time;
        taken = time.value_or(QString());
    } else {
        const double most = column == col::kWage ? worktime::kMaxWage : worktime::kMaxLineHours;
        refused = typed.toDouble() < 0 || typed.toDouble() > most;
    }
    if (!refused) {
        if (!worktime::sameValue(taken, typed))
            grid従業員->setCellValue(column, taken);
        return;
    }
    grid従業員->setCellValue(column, grid従業員->valueBeforeEdit());
    const QString entry = typed::refusedEntry(grid従業員->column(column).caption.value_or(QString()), typed.toString());
    ShowMsg(column == col::kStart || column == col::kEnd ? msg::入力時刻形式 : msg::入力範囲外, entry);
}

// A typed name is what it looks like: blanks around it and invisible
// characters in it go. Names read from the master are never touched here.
void EmployeePage::settleTypedName()
{
    const QVariant typed = grid従業員->cellValue(col::kName);
    if (typed.isNull())
        return;
    const QString name = typed::cleaned(typed.toString());
    if (name != typed.toString())
        grid従業員->setCellValue(col::kName, name.isEmpty() ? QVariant() : QVariant(name));
}

// A shift type typed rather than picked fills the row as the pick of that
// type would: "b" or "ｂ" is the type B when the master holds no "b". A type
// the master does not hold is refused, never kept without its times.
void EmployeePage::settleTypedPattern()
{
    const QVariant typed = grid従業員->cellValue(col::kPatternType);
    if (typed.isNull() || typed.toString().isEmpty())
        return;
    const auto folded = [](const QString &type) {
        return type.trimmed().normalized(QString::NormalizationForm_KC).toCaseFolded();
    };
    int found = -1;
    for (int row = 0; row < DD勤務形態->rowCount() && found < 0; ++row)
        if (DD勤務形態->valueAt(row, ref::kType).toString() == typed.toString())
            found = row;
    for (int row = 0; row < DD勤務形態->rowCount() && found < 0; ++row)
        if (folded(DD勤務形態->valueAt(row, ref::kType).toString()) == folded(typed.toString()))
            found = row;
    if (found < 0) {
        grid従業員->setCellValue(col::kPatternType, m_patternBefore);
        ShowMsg(msg::入力勤務形態なし, typed.toString());
        return;
    }
    for (int i = 0; i < ref::kCount; ++i)
        grid従業員->setCellValue(col::kPatternType + i, DD勤務形態->valueAt(found, ref::kType + i));
}

void EmployeePage::refreshDropDown()
{
    if (const ReadyAtStart *ready = readyAtStart(); !ready || !ready->reference)
        patterns::copyToReference(m_state.MainDb, m_state.WorkDb);
    DD勤務形態->refresh();
}

void EmployeePage::onPatternPicked(int column)
{
    if (column != col::kPatternType)
        return;
    // The picked entry's type, times, break and hours, as stored.
    for (int i = 0; i < ref::kCount; ++i)
        grid従業員->setCellValue(col::kPatternType + i, DD勤務形態->cellValue(ref::kType + i));
    m_edited = true;
}

void EmployeePage::bindData()
{
    grid従業員->bind(m_state.WorkDb, QStringLiteral("w従業員"));
    DD勤務形態->bind(m_state.WorkDb, QStringLiteral("w勤務形態参照"));
}

void EmployeePage::releaseData()
{
    grid従業員->unbind();
    DD勤務形態->unbind();
}

void EmployeePage::setUp()
{
    setUpGrid();
    setUpDropDown();
}

void EmployeePage::setUpGrid()
{
    const auto right = Qt::AlignRight;
    using namespace Qt::Literals::StringLiterals;
    const auto centre = Qt::AlignHCenter;
    grid従業員->setColumnCheckBox(col::kCheck, true);
    grid従業員->setColumnDropDown(col::kPatternType, DD勤務形態);
    applyColumnLayout(
        grid従業員,
        {
            {.column = col::kNo, .hidden = true},
            {.column = col::kCheck, .caption = QString(), .widthTwips = 434.8347, .alignment = centre},
            {.column = col::kName, .caption = u"氏　　名"_s, .widthTwips = 2910.047, .alignment = Qt::AlignLeft},
            {.column = col::kWage,
             .caption = u"時給"_s,
             .widthTwips = 824.882,
             .alignment = right,
             .format = fmt::kYen},
            {.column = col::kPatternType, .caption = u"タイプ"_s, .widthTwips = 705.2599, .alignment = centre},
            {.column = col::kStart,
             .caption = u"開始時間"_s,
             .widthTwips = 1124.787,
             .alignment = centre,
             .format = fmt::kTime},
            {.column = col::kEnd,
             .caption = u"終了時間"_s,
             .widthTwips = 1124.787,
             .alignment = centre,
             .format = fmt::kTime},
            {.column = col::kBreak,
             .caption = u"休憩"_s,
             .widthTwips = 674,
             .alignment = centre,
             .format = fmt::kHours},
            {.column = col::kWorked,
             .caption = u"実労"_s,
             .widthTwips = 674,
             .alignment = centre,
             .format = fmt::kHours},
        });
}

void EmployeePage::setUpDropDown()
{
    const auto centre = Qt::AlignHCenter;
    applyColumnLayout(DD勤務形態,
                      {
                          {.column = ref::kType, .widthTwips = 800, .alignment = centre},
                          {.column = ref::kStart, .widthTwips = 1200.189, .alignment = centre, .format = fmt::kTime},
                          {.column = ref::kEnd, .widthTwips = 1154.835, .alignment = centre, .format = fmt::kTime},
                          {.column = ref::kBreak, .widthTwips = 720, .alignment = centre, .format = fmt::kHours},
                          {.column = ref::kWorked, .widthTwips = 720, .alignment = centre, .format = fmt::kHours},
                      });
    // Every caption is read whole (休憩時間, not a clipped 木憩時間): no
    // column narrower than its caption.
    if (!DD勤務形態->model())
        return;
    const QHeaderView *header = DD勤務形態->horizontalHeader();
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 6;
    for (int column = 0; column < header->count(); ++column) {
        const QString caption = DD勤務形態->model()->headerData(column, Qt::Horizontal).toString();
        const int needed = header->fontMetrics().horizontalAdvance(caption) + margins;
        if (DD勤務形態->columnWidth(column) < needed)
            DD勤務形態->setColumnWidthTwips(column, needed * 15.0);
    }
}

void EmployeePage::setMinimumWage(double yen)
{
    m_minimumWage = yen;
    grid従業員->viewport()->update();
}

} // namespace pelmar
