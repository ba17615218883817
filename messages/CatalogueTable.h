#pragma once

#include "messages/MessageCatalogue.h"

#include <QStringView>

// The catalogue's texts, one entry a key; MessageCatalogue.cpp looks them up
// and makes sure no key appears twice.
namespace pelmar::messagetable {

// How the subject takes part in a message.
enum class Subject {
    Unused, // the prompt is the fixed text alone
    InPrompt, // prompt = before + subject + after
    PromptAndTitle, // the subject is the whole prompt and the title
};

struct Entry {
    MessageKey key;
    Subject subject;
    QStringView before; // fixed text, or the text before the subject
    QStringView after; // the text after the subject
    MessageStyle style;
    QStringView title;
};

constexpr auto Confirm = MessageStyle::Confirm;
constexpr auto ConfirmNo = MessageStyle::ConfirmDefaultNo;
constexpr auto Notice = MessageStyle::Notice;
constexpr auto Warning = MessageStyle::Warning;

constexpr auto Unused = Subject::Unused;
constexpr auto InPrompt = Subject::InPrompt;

// The whole catalogue. The callers use only part of it, but the rest is kept
// so every screen in the family speaks with the same words. The spaces inside
// the texts are deliberate, including the double one in 登録/完了2.
// Each entry is addressed by its key from MessageKeys.h, where the category
// and sub-key are spelt.
inline constexpr Entry catalogue[] = {
    // 登録
    {msg::登録確認, InPrompt, u"", u" を登録します。よろしいですか", Confirm, u"登録の確認"},
    {msg::登録データ確認, InPrompt, u"データ ", u" を登録します。よろしいですか", Confirm, u"登録の確認"},
    {msg::登録コード指定, Unused, u"コードが指定されていません。コードを指定してください。", u"", Notice, u"登録注意"},
    {msg::登録完了, InPrompt, u"", u" を登録しました。", Notice, u"登録完了"},
    {msg::登録完了2, InPrompt, u"データ  ", u" を登録しました。", Notice, u"登録完了"},
    {msg::登録チェック, Unused, u"入力必須項目が空白です。", u"", Notice, u"入力項目のチェック"},
    {msg::登録商品未登録, Unused, u"登録商品データがありません。", u"", Notice, u"入力項目のチェック"},
    {msg::登録データなし, Unused, u"登録がデータがありません。", u"", Notice, u"入力項目のチェック"},
    // Pelmar's own: saving over a stored statement, lines a save leaves out,
    // and a master registration that takes names out of the master.
    {msg::登録上書き確認, InPrompt, u"", u" は保存済みです。置き換えて登録します。よろしいですか", ConfirmNo,
     u"登録の確認"},
    {msg::登録除外確認, InPrompt, u"", u" 行目は日付か金額がないため登録されません。登録してよろしいですか", ConfirmNo,
     u"登録の確認"},
    {msg::登録マスタ削除確認, InPrompt, u"", u" 名の従業員がマスタから削除されます。登録してよろしいですか", ConfirmNo,
     u"登録の確認"},
    // Pelmar's own: a master page whose read failed refuses to register, so
    // a half-read page never replaces the master.
    {msg::登録従業員未読込, Unused, u"従業員を読み込めていないため登録できません。読込を押してください。", u"", Notice,
     u"登録注意"},
    {msg::登録勤務形態未読込, Unused, u"勤務形態を読み込めていないため登録できません。読込を押してください。", u"",
     Notice, u"登録注意"},
    // Pelmar's own: a statement page whose read failed holds part of a
    // statement at most; saving it would replace the stored one.
    {msg::登録明細未読込, Unused,
     u"明細を読み込めなかったため、この画面の内容は登録できません。保存済みの明細は変わっていません。"
     u"「読込」を押してもう一度読み込むか、「クリア」を押して新しく入力してください。",
     u"", Notice, u"登録注意"},
    // Pelmar's own: the dates of lines whose break is shorter than the law
    // asks; the save still goes on to its question.
    {msg::登録休憩不足, InPrompt,
     u"次の日は休憩が足りません。6時間を超える勤務には45分以上、8時間を超える勤務には1時間以上の休憩が必要です。\n\n",
     u"\n\n休憩の時間を確かめてください。このまま登録することもできます。", Notice, u"休憩の確認"},

    // 転記
    {msg::転記確認, InPrompt, u"", u" に転記します。よろしいですか", ConfirmNo, u"登録の確認"},

    // 削除
    {msg::削除確認2, Unused, u"すべてのデータを削除します。よろしいですか", u"", ConfirmNo, u"削除の確認"},
    {msg::削除伝票確認, InPrompt, u"伝票 ", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {msg::削除確認, InPrompt, u"", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {msg::削除データ確認, InPrompt, u"データ ", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {msg::削除指定確認, InPrompt, u"指定された ", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {msg::削除伝票完了, InPrompt, u"伝票 ", u" を削除しました。", Notice, u"削除の完了"},
    {msg::削除削除不可能, InPrompt, u"", u"削除できません。", Notice, u"削除の拒否"},
    {msg::削除伝票完了2, InPrompt, u"", u" を削除しました。", Notice, u"削除の完了"},
    {msg::削除完了, InPrompt, u"データ ", u" を削除しました。", Notice, u"削除の完了"},
    {msg::削除削除不可, InPrompt, u"", u" にデータがあるため削除できません。メンテナンス機能で削除してください。",
     Notice, u"削除不可"},
    {msg::削除その他確認, InPrompt, u"", u" よろしいですか", ConfirmNo, u"削除の確認"},

    // 入力
    {msg::入力上行空白, Unused, u"上の行が空白です。データは連続して指定してください。", u"", Notice, u"入力注意"},
    {msg::入力区分なし, Unused, u"区分が指定されていません。区分を指定してください", u"", Warning, u"入力注意"},
    {msg::入力必須入力なし, InPrompt, u"", u"指定されていません。確認してください", Warning, u"入力注意"},
    {msg::入力重複, InPrompt, u"", u"が重複しています。確認してください", Warning, u"入力注意"},
    {msg::入力範囲外, InPrompt, u"", u"が指定範囲外です。確認してください", Warning, u"入力注意"},
    {msg::入力数字のみ, InPrompt, u"", u"には数字以外使用できません", Warning, u"入力注意"},

    // 行指定
    {msg::行指定無効行, Unused, u"無効な行が指定されています。行指定をやり直してください。", u"", Warning, u"入力注意"},
    {msg::行指定指定なし, Unused, u"行が指定されていません。行指定してください。", u"", Warning, u"入力注意"},
    {msg::行指定重複, Unused, u"指定行は１回に１行です。行指定をやり直してください。", u"", Warning, u"入力注意"},
    {msg::行指定余白なし, Unused, u"行挿入する余白はありません。", u"", Warning, u"行挿入注意"},

    // クリア
    {msg::クリア確認, Unused, u"画面をクリアします。よろしいですか", u"", ConfirmNo, u"画面クリアの確認"},

    // 印刷
    {msg::印刷確認, InPrompt, u"", u"を印刷します。よろしいですか", ConfirmNo, u"印刷の確認"},

    // 復元: Pelmar's own. The subject names the backup by when it was taken
    // and why.
    {msg::復元確認, InPrompt, u"", u" のバックアップから復元します。今のデータはすべて置き換わります。よろしいですか",
     ConfirmNo, u"復元の確認"},
    {msg::復元完了, InPrompt, u"", u" のバックアップから復元しました。", Notice, u"復元完了"},
    {msg::復元未選択, Unused, u"復元するバックアップを一覧から選んでください。", u"", Notice, u"復元注意"},
    // A damaged main file, found at start-up or by the check after it: the
    // subject names the file, what was found and the newest sound backup.
    // The damaged file is never deleted.
    {msg::復元起動時破損確認, InPrompt, u"データファイルが壊れているため、このままでは起動できません。\n",
     u"\n\nこのバックアップから復元して起動しますか。壊れたファイルは消さずに、別の名前で同じフォルダーに残します。"
     u"「いいえ」を選ぶと、ファイルには手を付けずに終了します。",
     ConfirmNo, u"データの破損"},
    {msg::復元破損確認, InPrompt, u"データファイルに壊れているところが見つかりました。\n",
     u"\n\nこのバックアップから復元しますか。壊れたファイルは消さずに、別の名前で同じフォルダーに残します。"
     u"「いいえ」を選んだときは、これ以上入力や登録をせず、「設定・情報」ページから復元してください。",
     ConfirmNo, u"データの破損"},
    {msg::復元破損復元完了, InPrompt, u"", u"", Notice, u"復元完了"},

    // 開始: Pelmar's own. A start that found no data file in any of the
    // places it looks; the subject lists them, one a line, the folder where
    // new files would go last. Yes goes ahead with what the user started.
    {msg::開始新規データ確認, InPrompt,
     u"Pelmar のデータファイル（Pelmar.mdb と PelmarWork.mdb）が見つかりません。\n\n探した場所:\n",
     u"\n\n初めて使うときは「はい」を押してください。"
     u"いちばん下のフォルダーに新しい空のデータを作って起動します。\n"
     u"別の場所にデータがあるときは「いいえ」を押して終了し、"
     u"2 つのデータファイルをいちばん下のフォルダーに移してから起動してください。",
     Confirm, u"データの準備"},

    // その他
    {msg::その他コピー完了, InPrompt, u"", u"コピーしました。", Notice, u"コピー完了"},
    {msg::その他読込み完了, InPrompt, u"", u"読込みしました。", Notice, u"読込完了"},
    {msg::その他メッセージ, Subject::PromptAndTitle, u"", u"", Notice, u""},
    {msg::その他ファイルなし, InPrompt, u"", u"がありません。確認してください。", Notice, u"キーチェック"},
    {msg::その他確認, InPrompt, u"", u"、よろしいですか", Confirm, u"確認"},
    // Pelmar's own: a statement key with nothing stored under it, and edits
    // that would be thrown away.
    {msg::その他明細なし, InPrompt, u"", u" の明細は保存されていません。確認してください。", Notice, u"キーチェック"},
    {msg::その他未保存確認, InPrompt, u"", u" に登録していない変更があります。破棄してよろしいですか", ConfirmNo,
     u"確認"},
    // Pelmar's own: the data files were brought to this version's layout
    // on opening; the subject names each file and its versions.
    {msg::その他データ更新, InPrompt, u"データファイル ",
     u" を新しい版の形式に更新しました。更新の前に控えを取ってあります。", Notice, u"データの更新"},
    // Pelmar's own: the work file is missing or damaged while the main file
    // is sound. The subject names the file and what is wrong with it.
    {msg::その他作業ファイル作成確認, InPrompt, u"作業用のデータファイルが使えないため、このままでは起動できません。\n",
     u"\n\n作業用のデータファイルを新しく作って起動しますか。保存した明細や従業員などのデータは Pelmar.mdb にあり、"
     u"そのまま使えます。ヒントの文章は読める限り引き継ぎ、今のファイルは消さずに別の名前で残します。"
     u"「いいえ」を選ぶと、ファイルには手を付けずに終了します。",
     ConfirmNo, u"作業用データ"},
    {msg::その他作業ファイル破損確認, InPrompt, u"作業用のデータファイルに壊れているところが見つかりました。\n",
     u"\n\n作業用のデータファイルを新しく作り直しますか。保存した明細や従業員などのデータは Pelmar.mdb にあり、"
     u"そのまま使えます。画面に入力中で登録していない内容は消えます。ヒントの文章は読める限り引き継ぎ、"
     u"今のファイルは消さずに別の名前で残します。",
     ConfirmNo, u"作業用データ"},
    {msg::その他作業ファイル作成完了, InPrompt, u"作業用のデータファイルを新しく作りました。", u"", Notice,
     u"作業用データ"},

    // Pelmar's own: a report asked for without saying of what; the subject
    // names what to choose.
    {msg::その他未選択, InPrompt, u"", u"を選んでください。", Notice, u"キーチェック"},

    // エラー: Pelmar's own. Something the user asked for could not be done;
    // most say what was left as it was. The subject, when there is one,
    // names the file and why it failed (a full disk, a read-only file …)
    // on lines of its own.
    {msg::エラーヒント登録, InPrompt, u"ヒントを登録できませんでした。", u"", Warning, u"登録の失敗"},
    {msg::エラーヒント削除, InPrompt, u"ヒントを削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー一括削除, InPrompt, u"データを削除できませんでした。データは変わっていません。", u"", Warning,
     u"削除の失敗"},
    {msg::エラー従業員クリア, InPrompt, u"従業員の画面を空にできませんでした。", u"", Warning, u"画面クリアの失敗"},
    {msg::エラー従業員読込, InPrompt, u"従業員を読み込めませんでした。読み込めるまで登録はできません。", u"", Warning,
     u"読込の失敗"},
    {msg::エラー従業員確認, InPrompt, u"従業員マスタを確認できませんでした。登録済みの従業員は変わっていません。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー従業員登録, InPrompt, u"従業員を登録できませんでした。登録済みの従業員は変わっていません。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー従業員削除, InPrompt, u"従業員を削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー勤務形態クリア, InPrompt, u"勤務形態の画面を空にできませんでした。", u"", Warning, u"画面クリアの失敗"},
    {msg::エラー勤務形態読込, InPrompt, u"勤務形態を読み込めませんでした。読み込めるまで登録はできません。", u"",
     Warning, u"読込の失敗"},
    {msg::エラー勤務形態登録, InPrompt, u"勤務形態を登録できませんでした。登録済みの勤務形態は変わっていません。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー自社情報登録, InPrompt, u"自社情報を登録できませんでした。入力した内容はそのまま残しています。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー自社情報削除, InPrompt, u"自社情報を削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー割増設定登録, Unused, u"割増・端数処理の設定を登録できませんでした。登録済みの設定は変わっていません。",
     u"", Warning, u"登録の失敗"},
    {msg::エラー割増設定読込, Unused,
     u"割増・端数処理の設定を読み込めませんでした。勤務表はそれまでの設定で計算します。"
     u"「設定・情報」ページの読込を押してください。",
     u"", Warning, u"読込の失敗"},
    {msg::エラー明細行クリア, InPrompt, u"明細の行を空にできませんでした。", u"", Warning, u"画面クリアの失敗"},
    {msg::エラー明細行確認, InPrompt, u"明細の行を確認できませんでした。保存済みの内容は変わっていません。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー明細行読込, InPrompt,
     u"明細を読み込めませんでした。読み込めるまで、この画面の内容は登録できません。保存済みの明細は変わっていません。",
     u"", Warning, u"読込の失敗"},
    {msg::エラー明細登録, InPrompt, u"明細を保存できませんでした。保存済みの内容は変わっていません。", u"", Warning,
     u"登録の失敗"},
    {msg::エラー明細削除, InPrompt, u"明細を削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー合計計算, Unused, u"合計を計算できませんでした。合計は空にしました。", u"", Warning, u"計算の失敗"},
    {msg::エラー割増計算, Unused, u"割増と端数処理を明細に書き込めませんでした。明細の金額は前のままです。", u"",
     Warning, u"計算の失敗"},
    // The subject is the file, as the user's system writes its path.
    {msg::エラーPDF書込み, InPrompt, u"", u" に書き込めませんでした。", Warning, u"書込みの失敗"},
    // A report's file: a file that was there stays as it was.
    {msg::エラー書出し, InPrompt, u"",
     u" に書き込めませんでした。保存先のフォルダーがあるか、書き込めるかを確かめてください。", Warning,
     u"書込みの失敗"},
    {msg::エラー帳票読込, Unused, u"保存済みの明細を読み込めませんでした。", u"", Warning, u"読込の失敗"},
    {msg::エラー新規データ作成, InPrompt, u"新しいデータを作れませんでした。Pelmar を終了します。\n理由: ", u"",
     Warning, u"データの準備"},
    // The subject is the help page's file: where it is, or its name when it was
    // found nowhere.
    {msg::エラーヘルプ表示, InPrompt, u"ヘルプページ ",
     u" を開けませんでした。\nファイルがないか、HTML ファイルを開くブラウザーが設定されていません。", Warning,
     u"ヘルプ"},
    // Backups: the subject says why the backup could not be made.
    {msg::エラー起動時バックアップ, InPrompt, u"今日のバックアップを作成できませんでした。このまま使えます。\n理由: ",
     u"", Warning, u"バックアップの失敗"},
    {msg::エラー削除前バックアップ, InPrompt,
     u"バックアップを作成できないため、削除しませんでした。データは変わっていません。\n理由: ", u"", Warning,
     u"削除の失敗"},
    {msg::エラー登録前バックアップ, InPrompt,
     u"バックアップを作成できないため、登録しませんでした。登録済みの内容は変わっていません。\n理由: ", u"", Warning,
     u"登録の失敗"},
    {msg::エラー復元前バックアップ, InPrompt,
     u"今のデータのバックアップを作成できないため、復元しませんでした。データは変わっていません。\n理由: ", u"",
     Warning, u"復元の失敗"},
    {msg::エラー復元, InPrompt, u"復元できませんでした。データは変わっていません。\n理由: ", u"", Warning,
     u"復元の失敗"},
    {msg::エラー復元後読込, InPrompt, u"復元したデータを開けませんでした。Pelmar を終了して起動し直してください。\n",
     u"", Warning, u"復元の失敗"},
    // Found after start-up, when the whole file was read; the subject is the
    // file and what was found.
    {msg::エラーデータ破損, InPrompt, u"データファイルに壊れているところが見つかりました。\n",
     u"\nこれ以上入力や登録をせず、「設定・情報」ページのバックアップから壊れる前のデータに復元してください。", Warning,
     u"データの破損"},
    {msg::エラー作業データ破損, InPrompt, u"作業用のデータファイルに壊れているところが見つかりました。\n",
     u"\n保存した明細や従業員などのデータはこのファイルにはありませんが、入力中の内容やヒントが正しく"
     u"読み書きできないことがあります。Pelmar を終了して起動し直すと、作業用のファイルを作り直すかどうかを"
     u"尋ねます。",
     Warning, u"データの破損"},
    // A damaged main file and no backup that reads back whole: the subject
    // names the file, what was found and the backup folder.
    {msg::エラー破損バックアップなし, InPrompt, u"データファイルが壊れています。\n",
     u"\n\n使えるバックアップが見つかりませんでした。壊れたファイルには手を付けていません。"
     u"これ以上入力や登録をせず、パソコンに詳しい方か管理者にご相談ください。",
     Warning, u"データの破損"},
    {msg::エラー作業ファイル作成, InPrompt,
     u"作業用のデータファイルを作れませんでした。今のファイルには手を付けていません。\n理由: ", u"", Warning,
     u"作業用データ"},
    // A typed cell that could not be written to the work file; the subject
    // names the file and why.
    {msg::エラー履歴読込, InPrompt, u"履歴を読み込めませんでした。一覧は最新ではありません。", u"", Warning,
     u"読込の失敗"},
    {msg::エラーセル書込み, InPrompt, u"入力した値を書き込めませんでした。セルには書き込まれている値を表示しています。",
     u"", Warning, u"書込みの失敗"},
    // Exports: a place no export may go. The subject is the file and why.
    {msg::エラー書出し先, InPrompt, u"この保存先には書き出しません。今あるファイルには手を付けていません。\n", u"",
     Warning, u"保存先の誤り"},
    // Entries refused out loud: the subject names the column and what was
    // typed, the text the forms that are taken.
    {msg::入力時刻形式, InPrompt, u"",
     u" は時刻として読めません。確認してください。\n"
     u"9:00、0900、900 のように入力してください（2:30 と 230 は午前2時30分）。"
     u"0:00 から 24:00 まで、分は 59 までです。",
     Warning, u"入力注意"},
    {msg::入力日付形式, InPrompt, u"",
     u" は日付として読めません。確認してください。\n20260401 "
     u"のように年・月・日を8桁で、実在する日付を入力してください。",
     Warning, u"入力注意"},

    // Questions before the master changes behind the user's back, and the
    // backup at close. A save names a new employee before adding one, with
    // the registered names it may be a slip for; a wage other than the
    // master's reaches the master only on Yes.
    {msg::登録新規従業員確認, InPrompt, u"", u" は従業員に登録されていません。新しい従業員として追加して登録しますか",
     Confirm, u"登録の確認"},
    {msg::登録新規従業員類似確認, InPrompt, u"",
     u"\n\n新しい従業員として追加して登録しますか。"
     u"「いいえ」を選ぶと何も登録しません。氏名を確かめてください。",
     ConfirmNo, u"登録の確認"},
    {msg::登録時給変更確認, InPrompt, u"",
     u"\n\n従業員マスタの時給もこの明細の時給に変えますか。"
     u"「いいえ」を選ぶと、マスタの時給はそのままで明細を登録します。",
     ConfirmNo, u"登録の確認"},
    {msg::登録期間重複確認, InPrompt, u"",
     u"\n\n同じ日を二重に支払うことにならないか確かめてください。このまま登録しますか", ConfirmNo, u"登録の確認"},
    // The name changed after lines were typed with the previous wage.
    {msg::入力時給適用確認, InPrompt, u"", u"\n\nこれらの行に新しい時給を使いますか", Confirm, u"時給の確認"},
    {msg::入力勤務形態なし, InPrompt, u"勤務形態 ",
     u" は登録されていません。一覧（F4）から選ぶか、勤務形態のページで登録してください。", Warning, u"入力注意"},
    // A PDF or CSV written: the subject is the file, as the user's system
    // writes its path.
    {msg::その他保存完了, InPrompt, u"", u" に保存しました。", Notice, u"保存完了"},
    {msg::エラー終了時バックアップ, InPrompt,
     u"終了時のバックアップを作成できませんでした。保存したデータはそのまま残っています。\n理由: ", u"", Warning,
     u"バックアップの失敗"},
    // The data folder's lock, held by a copy that did not answer; the subject
    // says who holds it, one item a line.
    {msg::開始ロック引継ぎ確認, InPrompt,
     u"このデータフォルダーは、別の Pelmar が使用中と記録されています。その Pelmar が今も動いているかどうかを、"
     u"このコンピューターからは確かめられません。\n\n",
     u"\n\nその Pelmar がもう動いていないとき（そのコンピューターの電源が切れた、USB メモリーを抜いた、途中で"
     u"止まった、など）だけ「はい」を押してください。使用中の記録を取り除いて、ここで起動します。\n"
     u"その Pelmar がまだ動いているのに「はい」を押すと、二つの Pelmar が同じデータに書き込み、保存した明細や登録が"
     u"失われることがあります。わからないときは「いいえ」を押し、その Pelmar を終了してから起動し直してください。",
     ConfirmNo, u"Pelmar の起動"},
    {msg::開始ロック使用中, InPrompt, u"Pelmar はこのデータフォルダーで、すでに動いています。\n\n",
     u"\n\n動いている Pelmar のウィンドウを前に出せませんでした。別のログインの画面で動いていることがあります。"
     u"そちらの Pelmar を使うか、終了してから起動し直してください。",
     Warning, u"Pelmar の起動"},
    {msg::開始ロック削除不可, InPrompt, u"このデータフォルダーの使用中の記録を取り除けないため、起動できません。\n\n",
     u"\n\nどの Pelmar もこのデータフォルダーを使っていないことを確かめてから、上のファイルを削除し、もう一度"
     u"起動してください。削除できないときは、ファイルの持ち主のユーザーか管理者の権限で削除してください。",
     Warning, u"Pelmar の起動"},
    // The subject names the file and why.
    {msg::エラー自社情報読込, InPrompt, u"自社名と自社情報を読み込めませんでした。表示は前のままです。", u"", Warning,
     u"読込の失敗"},
    // Hours and premiums as the labour law counts them: what a save found,
    // one finding a line; the save goes on.
    {msg::登録労働時間確認, InPrompt, u"この勤務表について、労働基準法に関わる次の点を確かめてください。\n\n",
     u"\n\nこのまま登録します。", Notice, u"労働時間の確認"},
    {msg::入力開始2400, Unused, u"開始時間に 2400 は使えません。翌日の日付で 0000 と入力してください。", u"", Notice,
     u"入力の確認"},
    // A month closed once it is paid: the subject of the questions is the
    // title; of the refusal, what was refused; of the bulk delete's, the
    // closed titles, one a line.
    {msg::締め確認, InPrompt, u"",
     u" を締めます。\n\n締めた月の明細は、開くと読み取り専用になり、登録・削除・行削除ができなくなります。"
     u"一括削除もできなくなります。給与を支払い、明細書を渡してから締めてください。\n"
     u"訂正が要るときは、このページの「締め解除」で戻せます。\n\n締めてよろしいですか",
     ConfirmNo, u"締めの確認"},
    {msg::締め解除確認, InPrompt, u"",
     u" の締めを解除します。\n\nこの月の明細がまた登録・削除・行削除できるようになり、"
     u"給与一覧表の「締め済」も消えます。解除した日時は記録され、このページに表示されます。"
     u"訂正が済んだら、もう一度締めてください。\n\n解除してよろしいですか",
     ConfirmNo, u"締め解除の確認"},
    {msg::締め変更不可, InPrompt, u"",
     u"\n\n締めた月の明細は変更できません。訂正するときは、"
     u"「履　歴」ページでこの月を選んで「締め解除」を押してください。",
     Notice, u"締め済みの月"},
    {msg::締め一括削除不可, InPrompt, u"締めた月があるため、一括削除はできません。\n\n締めた月:\n",
     u"\n\n一括削除は支払い済みの明細まで消してしまいます。本当に消すときは、「履　歴」ページでそれぞれの月の"
     u"締めを解除してから行ってください。",
     Warning, u"一括削除"},
    {msg::エラー締め, InPrompt, u"締めの記録を書き込めませんでした。締めの状態は変わっていません。\n", u"", Warning,
     u"エラー"},
    // punches from a time recorder's file made into statements
    {msg::取込ファイル, InPrompt, u"", u"", Warning, u"打刻の取込"},
    {msg::取込列未指定, Unused,
     u"氏名（または従業員番号）・日付・出勤・退勤の列を、それぞれ別の列に指定してください。休憩の列は、"
     u"なければ（なし）のままで構いません。",
     u"", Notice, u"打刻の取込"},
    {msg::取込エラー行確認, InPrompt, u"", u"", ConfirmNo, u"打刻の取込"},
    {msg::取込置換確認, InPrompt, u"",
     u" の明細はすでに保存されています。\n\n「はい」: ファイルの勤務で置き換えます（今の明細の行はなくなります）\n"
     u"「いいえ」: この従業員は取り込みません\n\n置き換えますか",
     ConfirmNo, u"打刻の取込"},
    {msg::取込なし, Unused, u"取り込む明細がありません。何も書き込んでいません。", u"", Notice, u"打刻の取込"},
    {msg::取込完了, InPrompt, u"", u"", Notice, u"打刻の取込"},
    {msg::エラー取込, InPrompt, u"取り込めませんでした。何も書き込んでいません。\n", u"", Warning, u"取込の失敗"},

    // command line: told on the terminal, never in a box, so the title is
    // only the program's name. The texts are patterns whose %1, %2, ... the
    // command line fills in.
    {msg::コマンド指定不明, Unused, u"%1 が何の指定か分かりません。", u"", Warning, u"Pelmar"},
    {msg::コマンドオプション不明, Unused, u"%1 というオプションはありません。", u"", Warning, u"Pelmar"},
    {msg::コマンドデータ重複, Unused, u"--data は一度だけ指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンドデータ値なし, Unused, u"--data にはデータフォルダーを指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンド書出し重複, Unused, u"書き出しは一度に一つだけ指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンド値なしタイトル, Unused, u"%1 にはタイトルとファイルを指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンド値なし氏名年, Unused, u"%1 には氏名と年とファイルを指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンド値なしファイル, Unused, u"%1 にはファイルとタイトルを指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンド年形式, Unused, u"%1 の年は 2024 のように 4 桁の数字で指定してください（%2）。", u"", Warning,
     u"Pelmar"},
    {msg::コマンドファイル値なし, Unused, u"%1 には書き出すファイルを指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンド明細付き単独, Unused, u"--with-lines は --export-pdf と一緒に指定してください。", u"", Warning,
     u"Pelmar"},
    {msg::コマンドデータ単独, Unused, u"--data は書き出しのオプションと一緒に指定してください。", u"", Warning,
     u"Pelmar"},
    {msg::コマンド読めない文字, Unused,
     u"「%1」には文字として読めないバイトが含まれています。"
     u"タイトル、氏名、フォルダー、ファイルの名前は UTF-8 の文字で指定してください。",
     u"", Warning, u"Pelmar"},
    {msg::コマンド標準出力, Unused, u"標準出力", u"", Notice, u"Pelmar"},
    {msg::コマンド理由, Unused, u"\n理由: %1", u"", Warning, u"Pelmar"},
    {msg::コマンド明細書出し完了, Unused, u"%1 に %2 ページを書き出しました（タイトル「%3」の給与明細 %4 名%5）。", u"",
     Notice, u"Pelmar"},
    {msg::コマンド日ごとの明細付き, Unused, u"、日ごとの明細付き", u"", Notice, u"Pelmar"},
    {msg::コマンド一覧表書出し完了, Unused,
     u"%1 に給与一覧表を書き出しました（タイトル「%2」、%3 名と合計の %4 行、見出しの行を除く%5）。", u"", Notice,
     u"Pelmar"},
    {msg::コマンド明細のない従業員, Unused, u"、合計の下に明細のない従業員 %1 名", u"", Notice, u"Pelmar"},
    {msg::コマンド台帳書出し完了, Unused,
     u"%1 に賃金台帳を書き出しました（%2 の %3 年、明細 %4 件、見出しの行を除いて %4 行）。", u"", Notice, u"Pelmar"},
    {msg::コマンド氏名と年, Unused, u"%1（%2年）", u"", Notice, u"Pelmar"},
    // Each employee's payroll details, the pay date and the pay of a
    // statement: the subjects are the employee's name, what is wrong, the
    // failure's detail and the typed date.
    {msg::給与従業員未登録, InPrompt, u"",
     u" は従業員マスタに登録されていません。\n\n先に「登録」で従業員を登録してから、給与の設定をしてください。",
     Notice, u"給与の設定"},
    {msg::給与詳細不正, InPrompt, u"給与の設定を保存できません。\n\n", u"\n\n直してから、もう一度「保存」を押してください。",
     Notice, u"給与の設定"},
    {msg::エラー給与詳細, InPrompt, u"給与の設定を読み書きできませんでした。保存されている設定は前のままです。\n", u"",
     Warning, u"エラー"},
    {msg::給与支給日不正, InPrompt, u"支給日「",
     u"」は日付として読めません。\n\n2026/05/25 のように入力するか、空にして設定の支給日ルールで決めてください。"
     u"明細は登録していません。",
     Notice, u"支給日"},
    // The subject names each deduction without a figure and why.
    {msg::給与控除未計算確認, InPrompt, u"次の控除は計算できず、金額もありません。\n\n",
     u"\n\n控除合計と差引支給額も空のまま登録されます。金額が分かるときは「いいえ」を押して、"
     u"給与計算の欄に入力してください。\n\nこのまま登録しますか",
     ConfirmNo, u"控除の確認"},
    // the command line's pay reports
    {msg::コマンド値なし年, Unused, u"%1 には年とファイルを指定してください。", u"", Warning, u"Pelmar"},
    {msg::コマンド氏名と支給年, Unused, u"%1（%2年支給）", u"", Notice, u"Pelmar"},
    {msg::コマンド支給年, Unused, u"%1年支給", u"", Notice, u"Pelmar"},
    {msg::コマンド徴収簿書出し完了, Unused,
     u"%1 に源泉徴収簿を書き出しました（%2 の %3 年支給、支給 %4 件と年計）。", u"", Notice, u"Pelmar"},
    {msg::コマンド納付集計書出し完了, Unused,
     u"%1 に %2 年の源泉所得税の納付集計を書き出しました（12 か月、半年ごとの計と年計）。", u"", Notice, u"Pelmar"},
    {msg::コマンド金種表書出し完了, Unused, u"%1 に金種表を書き出しました（タイトル「%2」、%3 名と合計%4）。", u"",
     Notice, u"Pelmar"},
    {msg::コマンド金種表数えない, Unused, u"、うち %1 名は差引支給額がなく数えていません", u"", Notice, u"Pelmar"},
    // Each employee's social insurance and the office's settings: the
    // subjects are the employee's name, what is wrong, the month typed and
    // the failure's detail.
    {msg::社会保険従業員未登録, InPrompt, u"",
     u" は従業員マスタに登録されていません。\n\n先に「登録」で従業員を登録してから、社会保険の設定をしてください。",
     Notice, u"社会保険"},
    {msg::社会保険詳細不正, InPrompt, u"社会保険の設定を保存できません。\n\n",
     u"\n\n直してから、もう一度「保存」を押してください。", Notice, u"社会保険"},
    {msg::エラー社会保険, InPrompt, u"社会保険の設定を読み書きできませんでした。保存されている設定は前のままです。\n",
     u"", Warning, u"エラー"},
    {msg::社会保険等級表なし, InPrompt, u"",
     u" から適用する等級の表がありません。\n\n標準報酬月額を健康保険・厚生年金それぞれ直接入力してください。",
     Notice, u"社会保険"},
    {msg::エラー社会保険設定, InPrompt,
     u"事業所の社会保険の設定を読み書きできませんでした。保存されている設定は前のままです。\n", u"", Warning,
     u"エラー"},
    // A typed deduction larger than the pay: the subject names it and the pay.
    {msg::給与控除超過確認, InPrompt, u"",
     u" は総支給額より大きく、差引支給額がマイナスになります。\n\nこの金額で計算しますか（「いいえ」で入力する前の金額"
     u"に"
     u"戻します）",
     ConfirmNo, u"控除の確認"},
    // 行削除 on the employee page: the subject names the employees and what goes with them.
    {msg::削除従業員確認, InPrompt, u"",
     u"\n\n削除する前に、今のデータのバックアップを取ります。削除してよろしいですか", ConfirmNo, u"削除の確認"},
    // An import under the title of the statement page's unsaved lines.
    {msg::取込未保存確認, InPrompt, u"勤務表のページに、",
     u" の登録していない明細があります。\n\n取込はページを変えません。取り込んだ後でページの明細を「登録」すると、"
     u"取り込んだ勤務はページの明細で置き換えられます。\n\n取り込みますか",
     ConfirmNo, u"打刻の取込"},
    // 登録 of a statement whose stored copy an import changed meanwhile.
    {msg::登録取込後確認, InPrompt, u"",
     u" の保存済みの明細は、このページで編集している間に打刻の取込で変わりました。\n\n"
     u"このページの明細で置き換えると、取り込んだ勤務は失われます。置き換えて登録しますか",
     ConfirmNo, u"登録の確認"},
    // the withholding tables: a pay date ahead that none serves, and the data
    // folder's tables that are not used (the subject names each with why)
    {msg::税額表予告, InPrompt, u"", u"", Warning, u"源泉徴収税額表"},
    {msg::税額表不採用, InPrompt, u"データフォルダの tables フォルダにある次の税額表は使いません。\n\n",
     u"\n\n設定・情報ページの「源泉徴収税額表」にも理由が出ています。", Warning, u"源泉徴収税額表"},
    // 住民税 by 年度: stored, and the rest of a leaver's 年度 (the subject
    // names the employee, the 年度 and the 退職日)
    {msg::住民税保存完了, InPrompt, u"", u" の住民税を保存しました。", Notice, u"住民税"},
    {msg::住民税一括徴収確認, InPrompt, u"",
     u"\n\n1月〜5月に退職する人の残りの住民税（最後の給与の月の翌月分〜5月分）は、最後の給与からまとめて差し引きます"
     u"（一括徴収）。最後の給与が残りの額より少ないときなどは、普通徴収（本人が納める）にできます。\n\n"
     u"一括徴収にしますか。「いいえ」で普通徴収にします。",
     Confirm, u"退職後の住民税"},
    {msg::住民税一括徴収申出確認, InPrompt, u"",
     u"\n\n6月〜12月に退職する人の残りの住民税は、ふつうは本人が納めます（普通徴収）。"
     u"本人の申し出があれば、最後の給与からまとめて差し引けます（一括徴収）。\n\n"
     u"一括徴収にしますか。「いいえ」で普通徴収にします。",
     ConfirmNo, u"退職後の住民税"},
    // the year-end adjustment
    {msg::年調従業員未登録, InPrompt, u"",
     u" は従業員マスタに登録されていません。\n\n先に「登録」で従業員を登録してから、年末調整の申告書を入力してください。",
     Notice, u"年末調整の申告書"},
    {msg::年調申告不正, InPrompt, u"申告書を保存できません。\n\n", u"\n\n直してから、もう一度「保存」を押してください。",
     Notice, u"年末調整の申告書"},
    {msg::エラー年調申告, InPrompt, u"年末調整の申告書を読み書きできませんでした。保存されている申告書は前のままです。\n",
     u"", Warning, u"エラー"},
    {msg::年調年変更確認, InPrompt, u"",
     u"年分の申告書に入力した内容はまだ保存されていません。年を変えると入力は消えます。よろしいですか", ConfirmNo,
     u"年末調整の申告書"},
    {msg::コマンド年調書出し完了, Unused, u"%1 に年末調整の計算書を書き出しました（%2 の %3 年分、%4）。", u"", Notice,
     u"Pelmar"},
    {msg::コマンド年調する, Unused, u"年末調整をする", u"", Notice, u"Pelmar"},
    {msg::コマンド年調しない, Unused, u"年末調整をしない。理由は計算書の 2 行目", u"", Notice, u"Pelmar"},
    // The subject names the employee, the 税区分 and the pay.
    {msg::給与所得税なし確認, InPrompt, u"",
     u"\n\n扶養控除等申告書を出している人は「甲」、出していない人（二か所目の勤務先など）は「乙」で"
     u"所得税を差し引きます。「いいえ」を押して、従業員ページの「給与設定」で税区分を選んでください。"
     u"\n\n所得税なしのまま登録しますか",
     ConfirmNo, u"所得税の確認"},
    {msg::コマンド所得税なし, Unused, u"注意: 次の明細は税区分が未設定または「なし」のため、所得税を差し引いていません: %1",
     u"", Warning, u"Pelmar"},
    // The subject names each closed title the restore would remove or change.
    {msg::復元締め変更確認, InPrompt, u"このバックアップから復元すると、次の締めた月の明細がなくなるか、変わります。\n\n",
     u"\n\n締めた月の明細は支払った記録です。復元の前に今のデータのバックアップを取りますが、"
     u"復元したデータでは上の月は締める前の状態になります。\n\nそれでも復元しますか",
     ConfirmNo, u"復元の確認"},
    // a save refused because what the user was asked about changed meanwhile
    // (another import or window saved it); the subject names the statement
    // or the day
    {msg::登録確認後変更, InPrompt, u"",
     u" は、確認のあとでほかの操作によって保存されたか変わりました。何も登録していません。"
     u"内容を確かめて、もう一度登録してください。",
     Notice, u"登録の確認"},
    // the punch import's sentences, for its dialog and the command line:
    // patterns whose %1, %2 … the import fills in
    {msg::取込件数完了, Unused, u"タイトル「%1」に明細 %2 件（%3 行）を取り込みました。", u"", Notice, u"打刻の取込"},
    {msg::取込締め済み, Unused, u"タイトル「%1」は%2のため、取込できません。", u"", Notice, u"打刻の取込"},
    {msg::取込確認後変更, Unused, u"%1 のタイトル「%2」の明細が、確認のあとで保存されたか変わりました。", u"", Notice,
     u"打刻の取込"},
    {msg::取込確認後日重複, Unused, u"%1 の %2 の勤務が、確認のあとでタイトル「%3」に保存されました。", u"", Notice,
     u"打刻の取込"},
    {msg::取込締め済み日, Unused, u"%1 の %2 の勤務は、締めたタイトル「%3」（%4）で支払い済みです。", u"", Notice,
     u"打刻の取込"},
    {msg::取込労働時間確認, Unused, u"%1（%2）について、労働基準法に関わる次の点を確かめてください。\n%3", u"", Notice,
     u"打刻の取込"},
    {msg::取込読めない, Unused, u"%1 を読めません: %2", u"", Warning, u"打刻の取込"},
    {msg::取込読めないバイト, Unused,
     u"%1 として読めないバイトがあります。画面の「取込」で文字コードを確かめてください。", u"", Warning, u"打刻の取込"},
    {msg::取込タイトルなし, Unused, u"タイトルを指定してください。", u"", Warning, u"打刻の取込"},
    {msg::取込列不明, Unused,
     u"見出しの行から、氏名（または従業員番号）・日付・出勤・退勤の列が分かりません。"
     u"画面の「履　歴」ページの「取込」で一度列を指定すると、同じ見出しのファイルはここでも取り込めます。",
     u"", Warning, u"打刻の取込"},
    {msg::取込行理由, Unused, u"%1行目: %2", u"", Notice, u"打刻の取込"},
    {msg::取込明細あり, Unused, u"%1 にはタイトル「%2」の明細がすでにあります。", u"", Notice, u"打刻の取込"},
    {msg::取込行なし, Unused, u"取り込む勤務の行がありません。", u"", Notice, u"打刻の取込"},
    {msg::取込何もなし, Unused, u"何も取り込んでいません。", u"", Notice, u"打刻の取込"},
};

} // namespace pelmar::messagetable
