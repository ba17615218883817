#include "messages/MessageCatalogue.h"

#include <QStringView>

namespace pelmar {

namespace {

// How the subject takes part in a message.
enum class Subject {
    Unused,          // the prompt is the fixed text alone
    InPrompt,        // prompt = before + subject + after
    PromptAndTitle,  // the subject is the whole prompt and the title
};

struct Entry {
    QStringView category;
    QStringView subKey;
    Subject subject;
    QStringView before; // fixed text, or the text before the subject
    QStringView after;  // the text after the subject
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
constexpr Entry catalogue[] = {
    // 登録
    {u"登録", u"確認", InPrompt, u"", u" を登録します。よろしいですか", Confirm, u"登録の確認"},
    {u"登録", u"データ確認", InPrompt, u"データ ", u" を登録します。よろしいですか", Confirm, u"登録の確認"},
    {u"登録", u"コード指定", Unused, u"コードが指定されていません。コードを指定してください。", u"", Notice, u"登録注意"},
    {u"登録", u"完了", InPrompt, u"", u" を登録しました。", Notice, u"登録完了"},
    {u"登録", u"完了2", InPrompt, u"データ  ", u" を登録しました。", Notice, u"登録完了"},
    {u"登録", u"チェック", Unused, u"入力必須項目が空白です。", u"", Notice, u"入力項目のチェック"},
    {u"登録", u"商品未登録", Unused, u"登録商品データがありません。", u"", Notice, u"入力項目のチェック"},
    {u"登録", u"データなし", Unused, u"登録がデータがありません。", u"", Notice, u"入力項目のチェック"},
    // Pelmar's own: saving over a stored statement, lines a save leaves out,
    // and a master registration that takes names out of the master.
    {u"登録", u"上書き確認", InPrompt, u"", u" は保存済みです。置き換えて登録します。よろしいですか", ConfirmNo,
     u"登録の確認"},
    {u"登録", u"除外確認", InPrompt, u"",
     u" 行目は日付か金額がないため登録されません。登録してよろしいですか", ConfirmNo, u"登録の確認"},
    {u"登録", u"マスタ削除確認", InPrompt, u"",
     u" 名の従業員がマスタから削除されます。登録してよろしいですか", ConfirmNo, u"登録の確認"},

    // 転記
    {u"転記", u"確認", InPrompt, u"", u" に転記します。よろしいですか", ConfirmNo, u"登録の確認"},

    // 削除
    {u"削除", u"確認2", Unused, u"すべてのデータを削除します。よろしいですか", u"", ConfirmNo, u"削除の確認"},
    {u"削除", u"伝票確認", InPrompt, u"伝票 ", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {u"削除", u"確認", InPrompt, u"", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {u"削除", u"データ確認", InPrompt, u"データ ", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {u"削除", u"指定確認", InPrompt, u"指定された ", u" を削除します。よろしいですか", ConfirmNo, u"削除の確認"},
    {u"削除", u"伝票完了", InPrompt, u"伝票 ", u" を削除しました。", Notice, u"削除の完了"},
    {u"削除", u"削除不可能", InPrompt, u"", u"削除できません。", Notice, u"削除の拒否"},
    {u"削除", u"伝票完了2", InPrompt, u"", u" を削除しました。", Notice, u"削除の完了"},
    {u"削除", u"完了", InPrompt, u"データ ", u" を削除しました。", Notice, u"削除の完了"},
    {u"削除", u"削除不可", InPrompt, u"",
     u" にデータがあるため削除できません。メンテナンス機能で削除してください。", Notice, u"削除不可"},
    {u"削除", u"その他確認", InPrompt, u"", u" よろしいですか", ConfirmNo, u"削除の確認"},

    // 入力
    {u"入力", u"上行空白", Unused, u"上の行が空白です。データは連続して指定してください。", u"", Notice, u"入力注意"},
    {u"入力", u"区分なし", Unused, u"区分が指定されていません。区分を指定してください", u"", Warning, u"入力注意"},
    {u"入力", u"必須入力なし", InPrompt, u"", u"指定されていません。確認してください", Warning, u"入力注意"},
    {u"入力", u"重複", InPrompt, u"", u"が重複しています。確認してください", Warning, u"入力注意"},
    {u"入力", u"範囲外", InPrompt, u"", u"が指定範囲外です。確認してください", Warning, u"入力注意"},
    {u"入力", u"数字のみ", InPrompt, u"", u"には数字以外使用できません", Warning, u"入力注意"},

    // 行指定
    {u"行指定", u"無効行", Unused, u"無効な行が指定されています。行指定をやり直してください。", u"", Warning, u"入力注意"},
    {u"行指定", u"指定なし", Unused, u"行が指定されていません。行指定してください。", u"", Warning, u"入力注意"},
    {u"行指定", u"重複", Unused, u"指定行は１回に１行です。行指定をやり直してください。", u"", Warning, u"入力注意"},
    {u"行指定", u"余白なし", Unused, u"行挿入する余白はありません。", u"", Warning, u"行挿入注意"},

    // クリア
    {u"クリア", u"確認", Unused, u"画面をクリアします。よろしいですか", u"", ConfirmNo, u"画面クリアの確認"},

    // 印刷
    {u"印刷", u"確認", InPrompt, u"", u"を印刷します。よろしいですか", ConfirmNo, u"印刷の確認"},

    // その他
    {u"その他", u"コピー完了", InPrompt, u"", u"コピーしました。", Notice, u"コピー完了"},
    {u"その他", u"読込み完了", InPrompt, u"", u"読込みしました。", Notice, u"読込完了"},
    {u"その他", u"メッセージ", Subject::PromptAndTitle, u"", u"", Notice, u""},
    {u"その他", u"ファイルなし", InPrompt, u"", u"がありません。確認してください。", Notice, u"キーチェック"},
    {u"その他", u"確認", InPrompt, u"", u"、よろしいですか", Confirm, u"確認"},
    // Pelmar's own: a statement key with nothing stored under it, and edits
    // that would be thrown away.
    {u"その他", u"明細なし", InPrompt, u"", u" の明細は保存されていません。確認してください。", Notice,
     u"キーチェック"},
    {u"その他", u"未保存確認", InPrompt, u"", u" に登録していない変更があります。破棄してよろしいですか",
     ConfirmNo, u"確認"},
};

} // namespace

std::optional<CatalogueMessage> lookupMessage(const QString &category, const QString &subKey,
                                              const QString &subject)
{
    // QStringView comparison is exact UTF-16 equality: no case folding, no
    // width folding, no trimming.
    for (const Entry &entry : catalogue) {
        if (entry.category != category || entry.subKey != subKey)
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
