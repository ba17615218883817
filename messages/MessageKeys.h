#pragma once

#include <QStringView>

namespace pelmar {

// The name of one catalogue message: its category and sub-key, the words the
// message table is addressed by.
struct MessageKey {
    QStringView category;
    QStringView subKey;
};

// Every catalogue message, as X(category, sub-key). The list is the one place
// where a key is spelt: each line becomes a constant in pelmar::msg named
// category then sub-key (X(登録, 確認) is msg::登録確認 = {u"登録", u"確認"}),
// and msg::allKeys holds them all, so a key the catalogue does not answer
// cannot hide from the tests. A caller that misspells a key does not compile.
#define PELMAR_MESSAGE_KEYS(X)                                                                                         \
    X(登録, 確認)                                                                                                      \
    X(登録, データ確認)                                                                                                \
    X(登録, コード指定)                                                                                                \
    X(登録, 完了)                                                                                                      \
    X(登録, 完了2)                                                                                                     \
    X(登録, チェック)                                                                                                  \
    X(登録, 商品未登録)                                                                                                \
    X(登録, データなし)                                                                                                \
    X(登録, 上書き確認)                                                                                                \
    X(登録, 除外確認)                                                                                                  \
    X(登録, マスタ削除確認)                                                                                            \
    X(登録, 従業員未読込)                                                                                              \
    X(登録, 勤務形態未読込)                                                                                            \
    X(登録, 明細未読込)                                                                                                \
    X(登録, 休憩不足)                                                                                                  \
    X(転記, 確認)                                                                                                      \
    X(削除, 確認2)                                                                                                     \
    X(削除, 伝票確認)                                                                                                  \
    X(削除, 確認)                                                                                                      \
    X(削除, データ確認)                                                                                                \
    X(削除, 指定確認)                                                                                                  \
    X(削除, 伝票完了)                                                                                                  \
    X(削除, 削除不可能)                                                                                                \
    X(削除, 伝票完了2)                                                                                                 \
    X(削除, 完了)                                                                                                      \
    X(削除, 削除不可)                                                                                                  \
    X(削除, その他確認)                                                                                                \
    X(入力, 上行空白)                                                                                                  \
    X(入力, 区分なし)                                                                                                  \
    X(入力, 必須入力なし)                                                                                              \
    X(入力, 重複)                                                                                                      \
    X(入力, 範囲外)                                                                                                    \
    X(入力, 数字のみ)                                                                                                  \
    X(行指定, 無効行)                                                                                                  \
    X(行指定, 指定なし)                                                                                                \
    X(行指定, 重複)                                                                                                    \
    X(行指定, 余白なし)                                                                                                \
    X(クリア, 確認)                                                                                                    \
    X(印刷, 確認)                                                                                                      \
    X(復元, 確認)                                                                                                      \
    X(復元, 完了)                                                                                                      \
    X(復元, 未選択)                                                                                                    \
    X(復元, 起動時破損確認)                                                                                            \
    X(復元, 破損確認)                                                                                                  \
    X(復元, 破損復元完了)                                                                                              \
    X(開始, 新規データ確認)                                                                                            \
    X(その他, コピー完了)                                                                                              \
    X(その他, 読込み完了)                                                                                              \
    X(その他, メッセージ)                                                                                              \
    X(その他, ファイルなし)                                                                                            \
    X(その他, 確認)                                                                                                    \
    X(その他, 明細なし)                                                                                                \
    X(その他, 未保存確認)                                                                                              \
    X(その他, データ更新)                                                                                              \
    X(その他, 作業ファイル作成確認)                                                                                    \
    X(その他, 作業ファイル破損確認)                                                                                    \
    X(その他, 作業ファイル作成完了)                                                                                    \
    X(その他, 未選択)                                                                                                  \
    X(エラー, ヒント登録)                                                                                              \
    X(エラー, ヒント削除)                                                                                              \
    X(エラー, 一括削除)                                                                                                \
    X(エラー, 従業員クリア)                                                                                            \
    X(エラー, 従業員読込)                                                                                              \
    X(エラー, 従業員確認)                                                                                              \
    X(エラー, 従業員登録)                                                                                              \
    X(エラー, 従業員削除)                                                                                              \
    X(エラー, 勤務形態クリア)                                                                                          \
    X(エラー, 勤務形態読込)                                                                                            \
    X(エラー, 勤務形態登録)                                                                                            \
    X(エラー, 自社情報登録)                                                                                            \
    X(エラー, 自社情報削除)                                                                                            \
    X(エラー, 割増設定登録)                                                                                            \
    X(エラー, 割増設定読込)                                                                                            \
    X(エラー, 明細行クリア)                                                                                            \
    X(エラー, 明細行確認)                                                                                              \
    X(エラー, 明細行読込)                                                                                              \
    X(エラー, 明細登録)                                                                                                \
    X(エラー, 明細削除)                                                                                                \
    X(エラー, 合計計算)                                                                                                \
    X(エラー, 割増計算)                                                                                                \
    X(エラー, PDF書込み)                                                                                               \
    X(エラー, 書出し)                                                                                                  \
    X(エラー, 帳票読込)                                                                                                \
    X(エラー, 新規データ作成)                                                                                          \
    X(エラー, ヘルプ表示)                                                                                              \
    X(エラー, 起動時バックアップ)                                                                                      \
    X(エラー, 削除前バックアップ)                                                                                      \
    X(エラー, 登録前バックアップ)                                                                                      \
    X(エラー, 復元前バックアップ)                                                                                      \
    X(エラー, 復元)                                                                                                    \
    X(エラー, 復元後読込)                                                                                              \
    X(エラー, データ破損)                                                                                              \
    X(エラー, 作業データ破損)                                                                                          \
    X(エラー, 破損バックアップなし)                                                                                    \
    X(エラー, 作業ファイル作成)                                                                                        \
    X(エラー, セル書込み)                                                                                              \
    X(エラー, 履歴読込)                                                                                                \
    /* exports: a place no export may go */                                                                            \
    X(エラー, 書出し先)                                                                                                \
    /* entries refused out loud, naming the forms a time or a date is typed in */                                      \
    X(入力, 時刻形式)                                                                                                  \
    X(入力, 日付形式)                                                                                                  \
    /* Questions before the master changes behind the user's back, and the backup at close */                          \
    X(登録, 新規従業員確認)                                                                                            \
    X(登録, 新規従業員類似確認)                                                                                        \
    X(登録, 時給変更確認)                                                                                              \
    X(登録, 期間重複確認)                                                                                              \
    X(入力, 時給適用確認)                                                                                              \
    X(入力, 勤務形態なし)                                                                                              \
    X(その他, 保存完了)                                                                                                \
    X(エラー, 終了時バックアップ)                                                                                      \
    /* A lock held by a copy that does not answer; the company details' read */                                        \
    X(開始, ロック引継ぎ確認)                                                                                          \
    X(開始, ロック使用中)                                                                                              \
    X(開始, ロック削除不可)                                                                                            \
    X(エラー, 自社情報読込)                                                                                            \
    /* hours and premiums as the labour law counts them */                                                             \
    X(登録, 労働時間確認)                                                                                              \
    X(入力, 開始2400)                                                                                                  \
    /* a month closed once it is paid */                                                                               \
    X(締め, 確認)                                                                                                      \
    X(締め, 解除確認)                                                                                                  \
    X(締め, 変更不可)                                                                                                  \
    X(締め, 一括削除不可)                                                                                              \
    X(エラー, 締め)                                                                                                    \
    /* punches from a time recorder's file made into statements */                                                     \
    X(取込, ファイル)                                                                                                  \
    X(取込, 列未指定)                                                                                                  \
    X(取込, エラー行確認)                                                                                              \
    X(取込, 置換確認)                                                                                                  \
    X(取込, なし)                                                                                                      \
    X(取込, 完了)                                                                                                      \
    X(エラー, 取込)                                                                                                    \
    /* command line */                                                                                                 \
    X(コマンド, 指定不明)                                                                                              \
    X(コマンド, オプション不明)                                                                                        \
    X(コマンド, データ重複)                                                                                            \
    X(コマンド, データ値なし)                                                                                          \
    X(コマンド, 書出し重複)                                                                                            \
    X(コマンド, 値なしタイトル)                                                                                        \
    X(コマンド, 値なし氏名年)                                                                                          \
    X(コマンド, 値なしファイル)                                                                                        \
    X(コマンド, 年形式)                                                                                                \
    X(コマンド, ファイル値なし)                                                                                        \
    X(コマンド, 明細付き単独)                                                                                          \
    X(コマンド, データ単独)                                                                                            \
    X(コマンド, 読めない文字)                                                                                          \
    X(コマンド, 標準出力)                                                                                              \
    X(コマンド, 理由)                                                                                                  \
    X(コマンド, 明細書出し完了)                                                                                        \
    X(コマンド, 日ごとの明細付き)                                                                                      \
    X(コマンド, 一覧表書出し完了)                                                                                      \
    X(コマンド, 明細のない従業員)                                                                                      \
    X(コマンド, 台帳書出し完了)                                                                                        \
    X(コマンド, 氏名と年)                                                                                              \
    /* each employee's payroll details, the pay date and the pay of a statement */                                     \
    X(給与, 従業員未登録)                                                                                              \
    X(給与, 詳細不正)                                                                                                  \
    X(エラー, 給与詳細)                                                                                                \
    X(給与, 支給日不正)                                                                                                \
    X(給与, 控除未計算確認)                                                                                            \
    /* the command line's pay reports */                                                                               \
    X(コマンド, 値なし年)                                                                                              \
    X(コマンド, 氏名と支給年)                                                                                          \
    X(コマンド, 支給年)                                                                                                \
    X(コマンド, 徴収簿書出し完了)                                                                                      \
    X(コマンド, 納付集計書出し完了)                                                                                    \
    X(コマンド, 金種表書出し完了)                                                                                      \
    X(コマンド, 金種表数えない)                                                                                        \
    /* each employee's social insurance and the office's social insurance settings */                                  \
    X(社会保険, 従業員未登録)                                                                                          \
    X(社会保険, 詳細不正)                                                                                              \
    X(エラー, 社会保険)                                                                                                \
    X(社会保険, 等級表なし)                                                                                            \
    X(エラー, 社会保険設定)                                                                                            \
    X(給与, 控除超過確認)                                                                                              \
    X(削除, 従業員確認)                                                                                                \
    X(取込, 未保存確認)                                                                                                \
    X(登録, 取込後確認)                                                                                                \
    X(税額表, 予告)                                                                                                    \
    X(税額表, 不採用)                                                                                                  \
    X(住民税, 保存完了)                                                                                                \
    X(住民税, 一括徴収確認)                                                                                            \
    X(住民税, 一括徴収申出確認)                                                                                        \
    /* the year-end adjustment: the 申告書, the year's computation and its settlement */                               \
    X(年調, 従業員未登録)                                                                                              \
    X(年調, 申告不正)                                                                                                  \
    X(エラー, 年調申告)                                                                                                \
    X(年調, 年変更確認)                                                                                                \
    X(コマンド, 年調書出し完了)                                                                                        \
    X(コマンド, 年調する)                                                                                              \
    X(コマンド, 年調しない)                                                                                            \
    /* pay with no income tax withheld, and restoring over closed months */                                            \
    X(給与, 所得税なし確認)                                                                                            \
    X(コマンド, 所得税なし)                                                                                            \
    X(復元, 締め変更確認)                                                                                              \
    /* a save refused because what the user was asked about changed meanwhile */                                       \
    X(登録, 確認後変更)                                                                                                \
    /* the punch import's sentences, for its dialog and the command line */                                            \
    X(取込, 件数完了)                                                                                                  \
    X(取込, 締め済み)                                                                                                  \
    X(取込, 確認後変更)                                                                                                \
    X(取込, 確認後日重複)                                                                                              \
    X(取込, 締め済み日)                                                                                                \
    X(取込, 労働時間確認)                                                                                              \
    X(取込, 読めない)                                                                                                  \
    X(取込, 読めないバイト)                                                                                            \
    X(取込, タイトルなし)                                                                                              \
    X(取込, 列不明)                                                                                                    \
    X(取込, 行理由)                                                                                                    \
    X(取込, 明細あり)                                                                                                  \
    X(取込, 行なし)                                                                                                    \
    X(取込, 何もなし)

namespace msg {

#define PELMAR_DEFINE_MESSAGE_KEY(category, subKey)                                                                    \
    inline constexpr MessageKey category##subKey{u"" #category, u"" #subKey};
PELMAR_MESSAGE_KEYS(PELMAR_DEFINE_MESSAGE_KEY)
#undef PELMAR_DEFINE_MESSAGE_KEY

#define PELMAR_LIST_MESSAGE_KEY(category, subKey) category##subKey,
inline constexpr MessageKey allKeys[] = {PELMAR_MESSAGE_KEYS(PELMAR_LIST_MESSAGE_KEY)};
#undef PELMAR_LIST_MESSAGE_KEY

} // namespace msg

} // namespace pelmar
