#include "masters/SettingsPage.h"

#include "masters/CompanyStore.h"
#include "masters/InsuranceSettingsDialog.h"
#include "masters/PayrollSettingsRow.h"
#include "masters/TaxTablesList.h"
#include "messages/ShowMsg.h"
#include "store/Backup.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/ClickLabel.h"
#include "widgets/PageBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>

#include "widgets/DateBox.h"
#include <QDir>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelmar {

namespace {

// The date box's least date stands for "from any date".
const QDate kAnyDate(2000, 1, 1);

} // namespace

SettingsPage::SettingsPage(ProgramState &state, QWidget *parent) : TabPage(parent), m_state(state)
{
    PageSkeleton skeleton(this, QStringLiteral("page設定情報"), QStringLiteral("imContainer3D6"));
    imContainer3D6 = skeleton.frame();
    QGridLayout *company = skeleton.addGridSection(&imContainer3D7, QStringLiteral("imContainer3D7"));
    buildCompanySettings(company);
    buildAllDelete(company);
    company->setColumnStretch(1, 1);
    buildPaySettings(skeleton.addGridSection(&frame割増, QStringLiteral("frame割増")));
    QGridLayout *backups = skeleton.addGridSection(&frameBackup, QStringLiteral("frameバックアップ"));
    buildBackupList(backups);
    // The tax tables beside the backups: the page is full.
    m_taxTables = new TaxTablesList(frameBackup);
    backups->addWidget(m_taxTables, 0, 3);
    backups->setColumnStretch(3, 2);
    buildInformation(skeleton.body());
    connectOperations();
}

// The company's name and details, with their buttons and the hint button.
void SettingsPage::buildCompanySettings(QGridLayout *company)
{
    txt自社名 = namedControl<QLineEdit>(QStringLiteral("txt自社名"), imContainer3D7);
    txt自社情報 = namedControl<QPlainTextEdit>(QStringLiteral("txt自社情報"), imContainer3D7);
    txt自社情報->setTabChangesFocus(true);
    txt自社情報->setMinimumHeight(90);
    company->addWidget(captionLabel(QStringLiteral("自社名"), imContainer3D7), 0, 0);
    company->addWidget(txt自社名, 0, 1);
    company->addWidget(captionLabel(QStringLiteral("自社情報"), imContainer3D7), 1, 0, Qt::AlignTop);
    company->addWidget(txt自社情報, 1, 1);

    // The hint button stands beside this bar, in the company frame itself.
    imContainer3D8 = buttonBar(QStringLiteral("imContainer3D8"), imContainer3D7,
                               {
                                   {&cmd設定削除, QStringLiteral("cmd設定削除"), QStringLiteral("削除")},
                                   {&cmd設定クリア, QStringLiteral("cmd設定クリア"), QStringLiteral("クリア")},
                                   {&cmd設定登録, QStringLiteral("cmd設定登録"), QStringLiteral("登録")},
                                   {&cmd設定読込, QStringLiteral("cmd設定読込"), QStringLiteral("読込")},
                               });
    company->addWidget(imContainer3D8, 2, 0, 1, 2);

    cmdHint4 = hintButton(QStringLiteral("cmdHint4"), imContainer3D7);
    company->addWidget(cmdHint4, 2, 2, Qt::AlignRight);
}

// The reset of all data, set apart in its own frame under the company's.
void SettingsPage::buildAllDelete(QGridLayout *company)
{
    frameAllDelete = namedFrame(QStringLiteral("frame一括削除"), imContainer3D7);
    auto *allDeleteOuter = new QHBoxLayout(frameAllDelete);
    frameAllDeleteInner = namedFrame(QStringLiteral("frame一括削除内"), frameAllDelete);
    frameAllDeleteInner->setFrameShadow(QFrame::Sunken);
    auto *allDelete = new QHBoxLayout(frameAllDeleteInner);
    cmd一括削除7 = namedButton(QStringLiteral("cmd一括削除7"), QStringLiteral("実行"), frameAllDeleteInner);
    lblAllDelete = captionLabel(QStringLiteral("すべてのデータを削除し初期状態に戻す"), frameAllDeleteInner,
                                QStringLiteral("lbl一括削除"));
    allDelete->addWidget(cmd一括削除7);
    allDelete->addWidget(lblAllDelete);
    allDelete->addStretch(1);
    allDeleteOuter->addWidget(frameAllDeleteInner);
    company->addWidget(frameAllDelete, 3, 0, 1, 3);
}

// The backups of the main file, and the restore of one of them.
void SettingsPage::buildBackupList(QGridLayout *backups)
{
    lstBackup = namedControl<QTableWidget>(QStringLiteral("lstBackup"), frameBackup);
    lstBackup->setColumnCount(4);
    lstBackup->setHorizontalHeaderLabels(
        {QStringLiteral("日時"), QStringLiteral("理由"), QStringLiteral("従業員"), QStringLiteral("明細")});
    lstBackup->verticalHeader()->hide();
    lstBackup->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstBackup->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBackup->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstBackup->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstBackup->horizontalHeader()->setStretchLastSection(true);
    lstBackup->setMinimumHeight(110);
    cmdバックアップ復元 = namedButton(QStringLiteral("cmdバックアップ復元"), QStringLiteral("復元"), frameBackup);
    backups->addWidget(captionLabel(QStringLiteral("バックアップ"), frameBackup), 0, 0, Qt::AlignTop);
    backups->addWidget(lstBackup, 0, 1);
    backups->addWidget(cmdバックアップ復元, 0, 2, Qt::AlignTop);
    backups->setColumnStretch(1, 1);
}

// The program's information and the support banner, at the foot of the page.
void SettingsPage::buildInformation(QVBoxLayout *body)
{
    lblInfo = captionLabel(QString(), imContainer3D6, QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    body->addWidget(lblInfo);
    lblSupport = captionLabel(QString(), imContainer3D6, QStringLiteral("lblSupport"));
    body->addWidget(lblSupport);
    Image2 = namedControl<ClickLabel>(QStringLiteral("Image2"), imContainer3D6);
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->setToolTip(QStringLiteral("ヘルプページを開きます"));
    body->addWidget(Image2, 0, Qt::AlignLeft);
    body->addStretch(1);
}

void SettingsPage::connectOperations()
{
    connect(cmd設定登録, &QPushButton::clicked, this, [this] {
        // No puts the stored values back; a failed store keeps what was typed.
        if (Entry設定() != EntryResult::Failed)
            Read設定();
    });
    connect(cmd設定削除, &QPushButton::clicked, this, &SettingsPage::Delete設定);
    connect(cmd設定クリア, &QPushButton::clicked, this, &SettingsPage::Clear設定);
    connect(cmd設定読込, &QPushButton::clicked, this, &SettingsPage::Read設定);
    connect(cmdHint4, &QAbstractButton::clicked, this, [this] { emit hintRequested(cmdHint4); });
    connect(Image2, &ClickLabel::clicked, this, &SettingsPage::supportPageRequested);
    // The main window asks, once it knows that nothing stops the delete.
    connect(cmd一括削除7, &QPushButton::clicked, this, &SettingsPage::allDeleteRequested);
    connect(cmdバックアップ復元, &QPushButton::clicked, this, [this] {
        const QString chosen = chosenBackup();
        if (chosen.isEmpty()) {
            ShowMsg(msg::復元未選択);
            return;
        }
        // The question names the backup, and No is the default.
        if (ShowMsg(msg::復元確認, describeChosen()))
            emit restoreRequested(chosen);
    });
}

void SettingsPage::buildPaySettings(QGridLayout *grid)
{
    makePayControls();
    QFrame *bar = buttonBar(QStringLiteral("frame割増ボタン"), frame割増,
                            {
                                {&cmd割増登録, QStringLiteral("cmd割増登録"), QStringLiteral("登録")},
                                {&cmd割増読込, QStringLiteral("cmd割増読込"), QStringLiteral("読込")},
                            });
    layOutPaySettings(grid, bar);
    connectPaySettings();
}

// The premium, week, rounding and minimum-wage controls and the rules
// they follow, made in the order the keyboard goes through them.
void SettingsPage::makePayControls()
{
    const auto rateBox = [this](const QString &name) {
        auto *box = namedControl<QDoubleSpinBox>(name, frame割増);
        box->setRange(premium::kMinRate, premium::kMaxRate);
        box->setDecimals(1);
        box->setSuffix(QStringLiteral(" %"));
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setValue(premium::kDefaultRate);
        return box;
    };
    chk深夜割増 = namedControl<QCheckBox>(QStringLiteral("chk深夜割増"), frame割増);
    chk深夜割増->setText(QStringLiteral("深夜割増（22時～翌5時の時間）"));
    num深夜割増率 = rateBox(QStringLiteral("num深夜割増率"));
    chk時間外割増 = namedControl<QCheckBox>(QStringLiteral("chk時間外割増"), frame割増);
    chk時間外割増->setText(QStringLiteral("時間外割増（1日8時間・1週40時間を超える時間）"));
    num時間外割増率 = rateBox(QStringLiteral("num時間外割増率"));
    cmb週開始 = namedControl<QComboBox>(QStringLiteral("cmb週開始"), frame割増);
    const QStringList days{QStringLiteral("月曜日"), QStringLiteral("火曜日"), QStringLiteral("水曜日"),
                           QStringLiteral("木曜日"), QStringLiteral("金曜日"), QStringLiteral("土曜日"),
                           QStringLiteral("日曜日")};
    // Sunday first, as a Japanese calendar shows the week.
    for (int day : {7, 1, 2, 3, 4, 5, 6})
        cmb週開始->addItem(days.at(day - 1), day);
    cmb端数処理 = namedControl<QComboBox>(QStringLiteral("cmb端数処理"), frame割増);
    for (premium::Rounding rounding :
         {premium::Rounding::None, premium::Rounding::Down, premium::Rounding::HalfUp, premium::Rounding::Up})
        cmb端数処理->addItem(settings::roundingName(rounding), int(rounding));
    num月60時間超割増率 = rateBox(QStringLiteral("num月60時間超割増率"));
    num月60時間超割増率->setValue(premium::kDefaultOver60Rate);
    cmb法定休日 = namedControl<QComboBox>(QStringLiteral("cmb法定休日"), frame割増);
    cmb法定休日->addItem(QStringLiteral("なし"), 0);
    for (int day : {7, 1, 2, 3, 4, 5, 6})
        cmb法定休日->addItem(days.at(day - 1), day);
    num休日割増率 = rateBox(QStringLiteral("num休日割増率"));
    num休日割増率->setValue(premium::kDefaultRestDayRate);
    num最低賃金 = namedControl<QDoubleSpinBox>(QStringLiteral("num最低賃金"), frame割増);
    num最低賃金->setRange(0, settings::kMaxMinimumWage);
    num最低賃金->setDecimals(0);
    num最低賃金->setSuffix(QStringLiteral(" 円"));
    num最低賃金->setSpecialValueText(QStringLiteral("なし"));
    num最低賃金->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dte最低賃金適用日 = namedControl<DateBox>(QStringLiteral("dte最低賃金適用日"), frame割増);
    dte最低賃金適用日->setMinimumDate(kAnyDate);
    dte最低賃金適用日->setSpecialValueText(QStringLiteral("指定なし"));
    // One plain line a rule.
    lbl割増説明 = captionLabel(
        QStringLiteral(
            "・深夜（22時～翌5時）と時間外（1日8時間・1週40時間を超える時間）の割増は法律で25%以上が必要です。\n"
            "・時間外が1か月60時間を超えた分は50%以上、深夜と重なれば合わせて75%以上になります。\n"
            "・法定休日に働いた時間は休日の時間として35%以上の割増が付き、8時間・40時間には数えません。\n"
            "・週40時間は前の勤務表に登録した同じ週の日も数え、超えた時間は週の最後の日に付けます。"
            "前の勤務表は後から変わりません。\n"
            "・日付をまたぐ勤務、0時で2行に分けた勤務は始まった日の勤務として数えます。\n"
            "・休憩は割増の付かない時間から先に差し引きます。時間は割増を付けない設定でも記録します。\n"
            "・金額は行ごとに1回だけ端数処理します。切り捨てでは法律どおりの額より少なくなることがあります。\n"
            "・最低賃金は都道府県労働局や厚生労働省のホームページで発表される地域別最低賃金を入力します。"),
        frame割増, QStringLiteral("lbl割増説明"));
    lbl割増説明->setWordWrap(true);
}

void SettingsPage::layOutPaySettings(QGridLayout *grid, QFrame *bar)
{
    grid->addWidget(chk深夜割増, 0, 0);
    grid->addWidget(captionLabel(QStringLiteral("割増率"), frame割増), 0, 1);
    grid->addWidget(num深夜割増率, 0, 2);
    grid->addWidget(captionLabel(QStringLiteral("週の始まり"), frame割増), 0, 3);
    grid->addWidget(cmb週開始, 0, 4);
    grid->addWidget(chk時間外割増, 1, 0);
    grid->addWidget(captionLabel(QStringLiteral("割増率"), frame割増), 1, 1);
    grid->addWidget(num時間外割増率, 1, 2);
    grid->addWidget(captionLabel(QStringLiteral("金額の端数"), frame割増), 1, 3);
    grid->addWidget(cmb端数処理, 1, 4);
    grid->addWidget(captionLabel(QStringLiteral("月60時間を超える時間外"), frame割増), 2, 0);
    grid->addWidget(captionLabel(QStringLiteral("割増率"), frame割増), 2, 1);
    grid->addWidget(num月60時間超割増率, 2, 2);
    grid->addWidget(captionLabel(QStringLiteral("法定休日"), frame割増), 2, 3);
    grid->addWidget(cmb法定休日, 2, 4);
    // The rest day's rate and the minimum wage share a row: the page is full.
    auto *restAndMinimum = new QHBoxLayout;
    restAndMinimum->addWidget(captionLabel(QStringLiteral("休日割増率"), frame割増));
    restAndMinimum->addWidget(num休日割増率);
    restAndMinimum->addSpacing(12);
    restAndMinimum->addWidget(captionLabel(QStringLiteral("最低賃金"), frame割増));
    restAndMinimum->addWidget(num最低賃金);
    restAndMinimum->addWidget(captionLabel(QStringLiteral("適用日"), frame割増));
    restAndMinimum->addWidget(dte最低賃金適用日);
    restAndMinimum->addStretch(1);
    grid->addLayout(restAndMinimum, 3, 0, 1, 6);
    // The rules read in a box of their own that scrolls, so the page keeps
    // its height at the window's first size.
    auto *rules = namedControl<QScrollArea>(QStringLiteral("scr割増説明"), frame割増);
    rules->setWidget(lbl割増説明);
    rules->setWidgetResizable(true);
    rules->setFrameShape(QFrame::NoFrame);
    rules->setMaximumHeight(2 * lbl割増説明->fontMetrics().lineSpacing() + 4);
    grid->addWidget(rules, 4, 0, 1, 6);
    m_payrollSettings = new PayrollSettingsRow(frame割増);
    connect(m_payrollSettings, &PayrollSettingsRow::insuranceRequested, this,
            [this] { openInsuranceSettings(m_state, this); });
    grid->addWidget(m_payrollSettings, 5, 0, 1, 6);
    grid->addWidget(bar, 0, 5, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    grid->setColumnStretch(5, 1);
    // The page is full: the section keeps to the height of its lines.
    grid->setContentsMargins(9, 4, 9, 4);
    grid->setVerticalSpacing(2);
}

void SettingsPage::connectPaySettings()
{
    // A rate is chosen only for a premium that is paid.
    connect(chk深夜割増, &QCheckBox::toggled, num深夜割増率, &QWidget::setEnabled);
    connect(chk時間外割増, &QCheckBox::toggled, num時間外割増率, &QWidget::setEnabled);
    connect(chk時間外割増, &QCheckBox::toggled, cmb週開始, &QWidget::setEnabled);
    connect(chk時間外割増, &QCheckBox::toggled, num月60時間超割増率, &QWidget::setEnabled);
    connect(cmb法定休日, &QComboBox::currentIndexChanged, this,
            [this] { num休日割増率->setEnabled(cmb法定休日->currentData().toInt() != 0); });
    showPaySettings(settings::PaySettings{});
    connect(cmd割増登録, &QPushButton::clicked, this, [this] {
        // No puts the stored settings back; a failed store keeps what was chosen.
        if (Entry割増設定() != EntryResult::Failed)
            Read割増設定();
    });
    connect(cmd割増読込, &QPushButton::clicked, this, &SettingsPage::Read割増設定);
}

void SettingsPage::showPaySettings(const settings::PaySettings &paySettings)
{
    chk深夜割増->setChecked(paySettings.night);
    num深夜割増率->setValue(paySettings.nightRate);
    num深夜割増率->setEnabled(paySettings.night);
    chk時間外割増->setChecked(paySettings.overtime);
    num時間外割増率->setValue(paySettings.overtimeRate);
    num時間外割増率->setEnabled(paySettings.overtime);
    cmb週開始->setCurrentIndex(cmb週開始->findData(int(paySettings.weekStart)));
    cmb週開始->setEnabled(paySettings.overtime);
    cmb端数処理->setCurrentIndex(cmb端数処理->findData(int(paySettings.rounding)));
    num月60時間超割増率->setValue(paySettings.over60Rate);
    num月60時間超割増率->setEnabled(paySettings.overtime);
    cmb法定休日->setCurrentIndex(cmb法定休日->findData(paySettings.restDay));
    num休日割増率->setValue(paySettings.restDayRate);
    num休日割増率->setEnabled(paySettings.restDay != 0);
    num最低賃金->setValue(paySettings.minimumWage);
    dte最低賃金適用日->setDate(paySettings.minimumWageFrom.isValid() ? paySettings.minimumWageFrom : kAnyDate);
}

settings::PaySettings SettingsPage::shownPaySettings() const
{
    settings::PaySettings shown;
    shown.night = chk深夜割増->isChecked();
    shown.nightRate = num深夜割増率->value();
    shown.overtime = chk時間外割増->isChecked();
    shown.overtimeRate = num時間外割増率->value();
    shown.weekStart = Qt::DayOfWeek(cmb週開始->currentData().toInt());
    shown.rounding = premium::Rounding(cmb端数処理->currentData().toInt());
    shown.over60Rate = num月60時間超割増率->value();
    shown.restDay = cmb法定休日->currentData().toInt();
    shown.restDayRate = num休日割増率->value();
    shown.minimumWage = num最低賃金->value();
    if (dte最低賃金適用日->date() != kAnyDate)
        shown.minimumWageFrom = dte最低賃金適用日->date();
    return shown;
}

bool SettingsPage::Read割増設定()
{
    const std::optional<settings::PaySettings> stored = settings::load(m_state.MainDb);
    if (!stored) {
        ShowMsg(msg::エラー割増設定読込);
        return false;
    }
    const std::optional<settings::PayrollSettings> payroll = settings::loadPayroll(m_state.MainDb);
    if (!payroll) {
        ShowMsg(msg::エラー割増設定読込);
        return false;
    }
    showPaySettings(*stored);
    m_payrollSettings->showSettings(*payroll);
    emit paySettingsChanged(*stored);
    return true;
}

SettingsPage::EntryResult SettingsPage::Entry割増設定()
{
    if (!ShowMsg(msg::登録確認, QStringLiteral("割増・端数処理の設定")))
        return EntryResult::Declined;
    if (!settings::save(m_state.MainDb, shownPaySettings())
        || !settings::savePayroll(m_state.MainDb, m_payrollSettings->shownSettings())) {
        ShowMsg(msg::エラー割増設定登録);
        return EntryResult::Failed;
    }
    return EntryResult::Stored;
}

void SettingsPage::showEvent(QShowEvent *event)
{
    TabPage::showEvent(event);
    // The information can be selected (to copy the data folder, say) once
    // the page is seen. Selectable text puts a text document behind the
    // label, whose layout costs more than all the other labels of the window
    // together; start-up does not pay for it on a page nobody sees yet.
    lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Readバックアップ();
    // A table put in the data folder meanwhile is read and checked now.
    m_taxTables->showFor(m_state.DataPath);
}

void SettingsPage::Readバックアップ()
{
    const auto count = [](int n) {
        return n < 0 ? QStringLiteral("?") : QString::number(n);
    };
    const QList<backup::Info> found =
        m_state.DataPath.isEmpty() ? QList<backup::Info>{} : backup::list(m_state.DataPath);
    lstBackup->clearContents();
    lstBackup->setRowCount(int(found.size()));
    for (int row = 0; row < found.size(); ++row) {
        const backup::Info &info = found.at(row);
        const QStringList cells{info.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
                                backup::reasonText(info.reason), count(info.employees), count(info.statements)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setData(Qt::UserRole, info.path);
            if (column >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lstBackup->setItem(row, column, item);
        }
    }
}

QString SettingsPage::chosenBackup() const
{
    const QList<QTableWidgetItem *> chosen = lstBackup->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->data(Qt::UserRole).toString();
}

QString SettingsPage::describeChosen() const
{
    const QList<QTableWidgetItem *> chosen = lstBackup->selectedItems();
    if (chosen.isEmpty())
        return {};
    const int row = chosen.first()->row();
    return QStringLiteral("%1（%2）").arg(lstBackup->item(row, 0)->text(), lstBackup->item(row, 1)->text());
}

void SettingsPage::Read設定()
{
    forgetFailure(m_state.MainDb);
    const std::optional<company::Settings> stored = company::read(m_state.MainDb);
    if (!stored) {
        // An empty table leaves the boxes as they are; a read that failed
        // says so.
        if (const QString failed = failureDetail(m_state.MainDb); !failed.isEmpty())
            ShowMsg(msg::エラー自社情報読込, failed);
        return;
    }
    m_state.CompanyName = stored->name.isNull() ? QString() : stored->name.toString();
    m_state.CompanyInfo = stored->info.isNull() ? QString() : stored->info.toString();
    txt自社名->setText(m_state.CompanyName);
    txt自社情報->setPlainText(m_state.CompanyInfo);
}

SettingsPage::EntryResult SettingsPage::Entry設定()
{
    if (!ShowMsg(msg::登録確認, QStringLiteral("設定")))
        return EntryResult::Declined;
    if (!company::store(m_state.MainDb, txt自社名->text(), txt自社情報->toPlainText())) {
        ShowMsg(msg::エラー自社情報登録, failureDetail(m_state.MainDb));
        return EntryResult::Failed;
    }
    return EntryResult::Stored;
}

void SettingsPage::Delete設定()
{
    if (!ShowMsg(msg::削除確認, QStringLiteral("設定")))
        return;
    if (!company::blank(m_state.MainDb)) {
        // Nothing was deleted, so the boxes still show what is stored.
        ShowMsg(msg::エラー自社情報削除, failureDetail(m_state.MainDb));
        return;
    }
    forgetCompany();
    Clear設定();
}

void SettingsPage::showInformation(const QString &version, const QString &dataPath, const QPixmap &banner)
{
    lblInfo->setText(QStringLiteral("Pelmar Ver %1\n"
                                    "時給で働くスタッフの勤務表を入力し、時間・金額・合計を自動で計算して、"
                                    "給与明細を印刷するソフトです。\n"
                                    "データの保存場所: %2")
                         .arg(version, QDir::toNativeSeparators(dataPath)));
    lblSupport->setText(QStringLiteral("使い方は下のバナーをクリックするとヘルプページで読めます。"
                                       "各ページの ? ボタンでは、そのページの説明が出ます。"));
    Image2->setPixmap(banner);
}

void SettingsPage::forgetCompany()
{
    m_state.CompanyName.clear();
    m_state.CompanyInfo.clear();
}

void SettingsPage::Clear設定()
{
    txt自社情報->clear();
    txt自社名->clear();
}

void SettingsPage::clear()
{
    Clear設定();
    forgetCompany();
}

void SettingsPage::loadPage()
{
    clear();
    Read設定();
    Read割増設定();
}

} // namespace pelmar
