#include "store/ShippedHints.h"

#include "store/Database.h"

namespace pelmar {

namespace {

const QString kStatementHelp = QStringLiteral(
    "【勤務表】ひと月分の勤務を入力して、給与明細を作るページです。\n"
    "\n"
    "■ 作業の順番\n"
    "1. 「氏　名」で従業員を選びます。時給といつもの勤務形態が入ります。\n"
    "2. ほかの勤務形態で入力するときは「勤務形態」を選び直します。\n"
    "3. 「タイトル」に何月分かを入れます（例: 2026年3月分）。\n"
    "4. 表の「日　付」に 8 桁で日付を入れます（例: 20260301）。開始・終了・休憩・時間・金額が勤務形態から入ります。\n"
    "5. 違う日は時刻を直します。時刻は 4 桁です（9時は 0900、17時30分は 1730）。休憩は時間で入れます（45分は 0.75）。\n"
    "6. 「印刷」で給与明細を印刷し、「登録」で保存します。登録すると画面は空になり、次の人を入力できます。\n"
    "\n"
    "■ キー\n"
    "Enter … 次の欄へ進みます。「金　額」の欄では次の行の「日　付」へ進み、翌日の日付が入ります。\n"
    "↓ … 「日　付」の欄で押すと、次の行に翌日の日付と勤務形態の時刻が入ります。続けて押すと毎日が埋まります。\n"
    "F4 … 「氏　名」「勤務形態」の一覧を開きます。\n"
    "\n"
    "■ ボタン\n"
    "読込 … 「氏　名」と「タイトル」で、保存した明細を呼び出します。\n"
    "行削除 … 選んでいる行を消します。　クリア … 画面を空にします。\n"
    "削除 … 「氏　名」と「タイトル」の明細を削除します。　閉じる … Pelmar を終了します。");

const QString kHistoryHelp = QStringLiteral(
    "【履　歴】保存した明細の一覧です。\n"
    "\n"
    "■ 作業の順番\n"
    "1. 「読込」を押すと、保存したすべての明細が氏名・金額・タイトルで並びます。\n"
    "2. 開きたい明細の行を選んで「選択」を押します。「勤務表」ページに呼び出され、印刷や修正ができます。\n"
    "\n"
    "一覧は「読込」を押したときのものです。明細を保存や削除したあとは、もう一度「読込」を押してください。\n"
    "「クリア」は一覧を空にするだけで、保存した明細は消えません。\n"
    "\n"
    "■ キー\n"
    "↑ ↓ … 行を選びます。");

const QString kEmployeeHelp = QStringLiteral(
    "【従業員】従業員の名簿です。氏名・時給・いつもの勤務形態を登録しておくと、"
    "「勤務表」で氏名を選ぶだけで入ります。\n"
    "\n"
    "■ 作業の順番\n"
    "1. 先に「勤務形態」ページで勤務形態を登録しておきます。\n"
    "2. 空いている行の「氏　　名」に名前を入れ、時給を入れます。\n"
    "3. 「タイプ」（勤務形態）の欄で F4 を押すと一覧が開きます。↑ ↓ で選んで Enter "
    "で決めると、時刻と実労時間が入ります。\n"
    "4. 「登録」で名簿を保存します。保存の前に、それまでのデータのバックアップが取られます。\n"
    "\n"
    "■ キー\n"
    "Enter … 次の欄へ進みます。\n"
    "F4 … 勤務形態の一覧を開きます。もう一度押すと閉じます。\n"
    "スペース … 左端のチェックを付けたり外したりします。\n"
    "\n"
    "■ ボタン\n"
    "行削除 … チェックを付けた従業員を名簿から削除します。\n"
    "読込 … 保存した名簿を読み込み直します。　クリア … 画面を空にします（「登録」しなければ名簿は変わりません）。");

const QString kSettingsHelp = QStringLiteral(
    "【設定・情報】給与明細に印刷する自社の名前と情報、データのバックアップのページです。\n"
    "\n"
    "■ 作業の順番\n"
    "1. 「自社名」と「自社情報」（住所・電話番号など）を入れて「登録」を押します。給与明細の右上に印刷されます。\n"
    "2. バックアップは Pelmar が自動で取ります（毎日の最初の起動時と、削除や登録の前）。"
    "前の状態に戻したいときは、一覧から選んで「復元」を押します。\n"
    "3. 「すべてのデータを削除し初期状態に戻す」の「実行」は、保存したすべての明細・従業員・勤務形態・自社情報を"
    "削除します。削除の前にバックアップが取られます。\n"
    "\n"
    "■ キー\n"
    "Tab … 次の欄へ進みます。\n"
    "\n"
    "月ごとの作業の流れは、下のバナーをクリックすると開くヘルプページで説明しています。");

const QString kPatternHelp =
    QStringLiteral("【勤務形態】よく使う勤務時間を A～J の 10 種類まで登録するページです。\n"
                   "\n"
                   "■ 作業の順番\n"
                   "1. 行（A～J）の「開始時間」「終了時間」を 4 桁で入れます（9時は 0900、17時30分は 1730）。\n"
                   "2. 「休憩時間」を時間で入れます（1時間は 1、45分は 0.75）。実労時間は自動で計算されます。\n"
                   "3. 「登録」で保存します。保存の前に、それまでのデータのバックアップが取られます。\n"
                   "\n"
                   "■ キー\n"
                   "Enter … 次の欄へ進みます。\n"
                   "\n"
                   "■ ボタン\n"
                   "行削除 … 選んでいる行の時刻を消します（「登録」で保存されます）。\n"
                   "読込 … 保存した勤務形態を読み込み直します。　クリア … 画面を空にします。");

} // namespace

QList<ShippedHint> shippedHints()
{
    const QString form = QStringLiteral("FrmPelmar");
    // The caption of the main window, as the hint window stores it.
    const QString title = QStringLiteral("Pelmar Ver " PELMAR_VERSION_TEXT);
    return {
        {form, QStringLiteral("cmdHint"), title, kStatementHelp},
        {form, QStringLiteral("cmdHint2"), title, kHistoryHelp},
        {form, QStringLiteral("cmdHint3"), title, kEmployeeHelp},
        {form, QStringLiteral("cmdHint4"), title, kSettingsHelp},
        {form, QStringLiteral("cmdHint5"), title, kPatternHelp},
    };
}

bool addShippedHints(const QSqlDatabase &work, QString *error)
{
    for (const ShippedHint &hint : shippedHints()) {
        if (!execBound(
                work, QStringLiteral("insert into ClHint (FormName, CtlName, FormTitle, Contents) values (?, ?, ?, ?)"),
                {hint.formName, hint.ctlName, hint.formTitle, hint.contents}, error))
            return false;
    }
    return true;
}

} // namespace pelmar
