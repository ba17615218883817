// Closing a month on the history page once its slips are paid, and
// reopening it for a correction.
#include "statements/HistoryPage.h"

#include "messages/ShowMsg.h"
#include "payroll/MonthClose.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/PageBuilder.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace pelmar {

void HistoryPage::buildCloseControls(QFrame *frame)
{
    auto *grid = qobject_cast<QGridLayout *>(frame->layout());
    QHBoxLayout *buttons = buttonRow(frame,
                                     {
                                         {&cmd締め, QStringLiteral("cmd締め"), QStringLiteral("締め")},
                                         {&cmd締め解除, QStringLiteral("cmd締め解除"), QStringLiteral("締め解除")},
                                     });
    lbl締め状態 = captionLabel(QString(), frame, QStringLiteral("lbl締め状態"));
    lbl締め状態->setWordWrap(true);
    buttons->insertWidget(0, lbl締め状態, 1);
    // Under the title picker: the state belongs to the chosen title.
    grid->addWidget(captionLabel(QStringLiteral("締め"), frame), 2, 0);
    grid->addLayout(buttons, 2, 1, 1, 2);
}

void HistoryPage::Read締め状態()
{
    const QString title = cmbタイトル選択->currentText();
    const std::optional<closing::State> state =
        title.isEmpty() ? std::optional(closing::State{}) : closing::stateOf(m_state.MainDb, title);
    if (!state) {
        lbl締め状態->setText(QStringLiteral("締めの状態を読めません"));
        cmd締め->setEnabled(false);
        cmd締め解除->setEnabled(false);
        return;
    }
    QString text = title.isEmpty() ? QString()
        : state->closed()          ? closing::closedMark(state->closedAt())
                                   : QStringLiteral("締めていません");
    if (!state->history.isEmpty())
        text += u'\n' + closing::historyLines(*state).join(QStringLiteral(" → "));
    lbl締め状態->setText(text);
    cmd締め->setEnabled(!title.isEmpty() && !state->closed());
    cmd締め解除->setEnabled(state->closed());
}

void HistoryPage::cmd締め_Click()
{
    setClosed(true);
}

void HistoryPage::cmd締め解除_Click()
{
    setClosed(false);
}

void HistoryPage::setClosed(bool closed)
{
    const QString title = cmbタイトル選択->currentText();
    if (title.isEmpty()) {
        ShowMsg(msg::その他未選択, QStringLiteral("タイトル"));
        return;
    }
    // The question says what closing or reopening does; No is its default.
    if (!ShowMsg(closed ? msg::締め確認 : msg::締め解除確認, title))
        return;
    if (!closing::setClosed(m_state.MainDb, title, closed, QDateTime::currentDateTime())) {
        const QSqlError failure = takeFailure(m_state.MainDb);
        const std::optional<closing::State> now = closing::stateOf(m_state.MainDb, title);
        if (failure.isValid() || !now)
            ShowMsg(msg::エラー締め,
                    failure.isValid() ? failureDetail(failure, fileOf(m_state.MainDb)) : failureDetail(m_state.MainDb));
        else if (now->closed() != closed)
            ShowMsg(msg::その他明細なし, title); // deleted since the picker was filled
        else
            ShowMsg(msg::エラー締め,
                    closed ? QStringLiteral("この月はすでに締めてあります。")
                           : QStringLiteral("この月はすでに締めを解除してあります。"));
        ReadCombタイトル();
        return;
    }
    Read締め状態();
    emit closeStateChanged(title);
}

} // namespace pelmar
