// Saving, reopening and deleting the statement on the page.
#include "statements/StatementPage.h"

#include "app/widgets/DataGrid.h"
#include "app/widgets/NumberBox.h"
#include "messages/ShowMsg.h"
#include "statements/StatementStore.h"
#include "store/ProgramState.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pelmar {

namespace {

void tell(const QString &text)
{
    ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"), text);
}

// A stored null shows as 0, as a reopened statement always did.
QVariant orZero(const QVariant &value)
{
    return value.isNull() ? QVariant(0.0) : value;
}

} // namespace

void StatementPage::connectSaving()
{
    connect(cmd登録, &QPushButton::clicked, this, &StatementPage::Entry時給);
    connect(cmd読込, &QPushButton::clicked, this, &StatementPage::Read時給);
    connect(cmd削除, &QPushButton::clicked, this, &StatementPage::Delete時給);
}

// The statement key must be there before anything is asked or touched.
bool StatementPage::checkNameAndTitle()
{
    if (cmb氏名->currentText().isEmpty()) {
        tell(QStringLiteral("氏名を記入してください。"));
        cmb氏名->setFocus();
        return false;
    }
    if (txtタイトル->text().isEmpty()) {
        tell(QStringLiteral("タイトルを記入してください。"));
        txtタイトル->setFocus();
        return false;
    }
    return true;
}

void StatementPage::Entry時給()
{
    if (!checkNameAndTitle())
        return;
    const QString name = cmb氏名->currentText();
    if (!ShowMsg(QStringLiteral("登録"), QStringLiteral("確認"), name))
        return;
    Grid明細->commitRow(); // the last edit belongs to the statement
    const statements::Header header{name,
                                    txtタイトル->text(),
                                    cmb勤務形態->currentText(),
                                    num時給->value(),
                                    num休憩->value(),
                                    num調整額->value(),
                                    num時間->value(),
                                    num合計->value()};
    if (!statements::save(m_state.MainDb, m_state.WorkDb, header, [this] { return Entry従業員(); })) {
        // Nothing was written; what the user typed stays on the page.
        tell(QStringLiteral("明細を保存できませんでした。保存済みの内容は変わっていません。"));
        return;
    }
    Clear時給();
}

void StatementPage::Read時給()
{
    if (!checkNameAndTitle())
        return;
    const QString name = cmb氏名->currentText();
    const QString title = txtタイトル->text();
    if (const auto header = statements::readHeader(m_state.MainDb, name, title)) {
        // The stored totals, as stored: nothing is recalculated.
        num時給->setValue(orZero(header->wage));
        num休憩->setValue(orZero(header->breakHours));
        cmb勤務形態->setEditText(header->patternType);
        num調整額->setValue(orZero(header->adjustment));
        num時間->setValue(orZero(header->hours));
        num合計->setValue(orZero(header->total));
    }
    Clear明細();
    // An empty shift type leaves the label as it is.
    if (!cmb勤務形態->currentText().isEmpty())
        showPattern(kSpacesAfterPick);
    if (!statements::loadLines(m_state.MainDb, m_state.WorkDb, name, title))
        tell(QStringLiteral("明細の行を読み込めませんでした。"));
    Grid明細->refresh();
}

void StatementPage::Delete時給()
{
    if (!checkNameAndTitle())
        return;
    const QString name = cmb氏名->currentText();
    if (!ShowMsg(QStringLiteral("削除"), QStringLiteral("確認"), name))
        return;
    if (!statements::remove(m_state.MainDb, name, txtタイトル->text())) {
        tell(QStringLiteral("明細を削除できませんでした。"));
        return;
    }
    Clear時給();
    cmb氏名->setFocus();
}

} // namespace pelmar
