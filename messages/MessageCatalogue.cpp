#include "messages/MessageCatalogue.h"

#include <QStringView>

#include <iterator>

namespace pelmar {

namespace {

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
constexpr Entry catalogue[] = {
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

    // エラー: Pelmar's own. Something the user asked for could not be done;
    // most say what was left as it was.
    {msg::エラーヒント登録, Unused, u"ヒントを登録できませんでした。", u"", Warning, u"登録の失敗"},
    {msg::エラーヒント削除, Unused, u"ヒントを削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー一括削除, Unused, u"データを削除できませんでした。データは変わっていません。", u"", Warning,
     u"削除の失敗"},
    {msg::エラー従業員クリア, Unused, u"従業員の画面を空にできませんでした。", u"", Warning, u"画面クリアの失敗"},
    {msg::エラー従業員読込, Unused, u"従業員を読み込めませんでした。読み込めるまで登録はできません。", u"", Warning,
     u"読込の失敗"},
    {msg::エラー従業員確認, Unused, u"従業員マスタを確認できませんでした。登録済みの従業員は変わっていません。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー従業員登録, Unused, u"従業員を登録できませんでした。登録済みの従業員は変わっていません。", u"", Warning,
     u"登録の失敗"},
    {msg::エラー従業員削除, Unused, u"従業員を削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー勤務形態クリア, Unused, u"勤務形態の画面を空にできませんでした。", u"", Warning, u"画面クリアの失敗"},
    {msg::エラー勤務形態読込, Unused, u"勤務形態を読み込めませんでした。読み込めるまで登録はできません。", u"", Warning,
     u"読込の失敗"},
    {msg::エラー勤務形態登録, Unused, u"勤務形態を登録できませんでした。登録済みの勤務形態は変わっていません。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー自社情報登録, Unused, u"自社情報を登録できませんでした。入力した内容はそのまま残しています。", u"",
     Warning, u"登録の失敗"},
    {msg::エラー自社情報削除, Unused, u"自社情報を削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー明細行クリア, Unused, u"明細の行を空にできませんでした。", u"", Warning, u"画面クリアの失敗"},
    {msg::エラー明細行確認, Unused, u"明細の行を確認できませんでした。保存済みの内容は変わっていません。", u"", Warning,
     u"登録の失敗"},
    {msg::エラー明細行読込, Unused, u"明細の行を読み込めませんでした。", u"", Warning, u"読込の失敗"},
    {msg::エラー明細登録, Unused, u"明細を保存できませんでした。保存済みの内容は変わっていません。", u"", Warning,
     u"登録の失敗"},
    {msg::エラー明細削除, Unused, u"明細を削除できませんでした。", u"", Warning, u"削除の失敗"},
    {msg::エラー合計計算, Unused, u"合計を計算できませんでした。合計は空にしました。", u"", Warning, u"計算の失敗"},
    // The subject is the file, as the user's system writes its path.
    {msg::エラーPDF書込み, InPrompt, u"", u" に書き込めませんでした。", Warning, u"書込みの失敗"},
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
     u"読み書きできないことがあります。Pelmar を終了し、このファイルを新しいものに取り替えてください。",
     Warning, u"データの破損"},
};

constexpr bool sameText(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Lookup takes the first entry of a key, so a second one would never be
// shown; the build refuses it.
constexpr bool noKeyTwice()
{
    for (std::size_t i = 0; i < std::size(catalogue); ++i) {
        for (std::size_t j = i + 1; j < std::size(catalogue); ++j) {
            if (sameText(catalogue[i].key.category, catalogue[j].key.category)
                && sameText(catalogue[i].key.subKey, catalogue[j].key.subKey))
                return false;
        }
    }
    return true;
}
static_assert(noKeyTwice(), "a catalogue key appears twice");

} // namespace

std::optional<CatalogueMessage> lookupMessage(const QString &category, const QString &subKey, const QString &subject)
{
    // QStringView comparison is exact UTF-16 equality: no case folding, no
    // width folding, no trimming.
    for (const Entry &entry : catalogue) {
        if (entry.key.category != category || entry.key.subKey != subKey)
            continue;

        CatalogueMessage message;
        message.style = entry.style;
        switch (entry.subject) {
        case Subject::Unused:
            message.prompt = entry.before.toString();
            message.title = entry.title.toString();
            break;
        case Subject::InPrompt:
            message.prompt.reserve(entry.before.size() + subject.size() + entry.after.size());
            message.prompt.append(entry.before).append(subject).append(entry.after);
            message.title = entry.title.toString();
            break;
        case Subject::PromptAndTitle:
            message.prompt = subject;
            message.title = subject;
            break;
        }
        return message;
    }
    return std::nullopt;
}

std::optional<CatalogueMessage> lookupMessage(const MessageKey &key, const QString &subject)
{
    return lookupMessage(key.category.toString(), key.subKey.toString(), subject);
}

int messageBoxFlags(MessageStyle style)
{
    constexpr int yesNo = 4;
    constexpr int question = 32;
    constexpr int exclamation = 48;
    constexpr int information = 64;
    constexpr int secondButtonDefault = 256;

    switch (style) {
    case MessageStyle::Confirm:
        return yesNo + question;
    case MessageStyle::ConfirmDefaultNo:
        return yesNo + question + secondButtonDefault;
    case MessageStyle::Notice:
        return information;
    case MessageStyle::Warning:
        return exclamation;
    }
    return information;
}

} // namespace pelmar
