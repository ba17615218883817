#include "hints/HintWindow.h"

#include "hints/HintStore.h"
#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "widgets/PageBuilder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmar {

namespace {

const QString kSubject = QStringLiteral("ヒント");

// Colours are designed as 0xBBGGRR values.
QColor colourFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

QLabel *valueLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(160);
    return label;
}

} // namespace

QColor HintWindow::editOffColour()
{
    return colourFromBgr(0xCDD1D1);
}

QColor HintWindow::editOnColour()
{
    return colourFromBgr(0x8080FF);
}

HintWindow::HintWindow(const HintHandOver &handOver, const QString &workConnection, QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_workConnection(workConnection)
{
    setObjectName(QStringLiteral("Hint"));
    setWindowTitle(QStringLiteral("ヒント        "));
    setAttribute(Qt::WA_DeleteOnClose);
    // A window does not take its owner's font by itself; the hint speaks
    // with the same Japanese font as the main window.
    if (parent)
        setFont(parent->font());

    QWidget *namesFrame = buildNames(handOver);

    txtContents = namedControl<QPlainTextEdit>(QStringLiteral("txtContents"), this);
    txtContents->setTabChangesFocus(true);
    // Reading a hint must not change it by a stray key: writing starts with
    // the first press of 編集.
    txtContents->setReadOnly(true);
    txtContents->setMinimumHeight(180);

    QHBoxLayout *buttons = buildButtons();

    auto *editGuide = captionLabel(QStringLiteral("この説明は「編集」を押すと書き換えられ、「登録」で保存されます。"),
                                   this, QStringLiteral("lblHintGuide"));
    editGuide->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(namesFrame);
    layout->addWidget(txtContents, 1);
    layout->addWidget(editGuide);
    layout->addLayout(buttons);
    resize(640, 520);

    connect(cmd登録, &QPushButton::clicked, this, &HintWindow::cmd登録_Click);
    connect(cmd編集, &QPushButton::clicked, this, &HintWindow::cmd編集_Click);
    connect(cmd削除, &QPushButton::clicked, this, &HintWindow::cmd削除_Click);
    connect(cmdクリア, &QPushButton::clicked, this, &HintWindow::cmdクリア_Click);
    connect(cmd閉じる, &QPushButton::clicked, this, &QWidget::close);

    ReadHint();
    txtContents->setFocus();
}

// The names a text is kept under are the program's business: they are
// filled as ever, but a shop owner reading the help does not see them.
QWidget *HintWindow::buildNames(const HintHandOver &handOver)
{
    auto *namesFrame = new QWidget(this);
    namesFrame->setObjectName(QStringLiteral("frameHintNames"));
    namesFrame->hide();
    auto *names = new QGridLayout(namesFrame);
    names->setContentsMargins(0, 0, 0, 0);
    lblFormName = valueLabel(QStringLiteral("lblFormName"), handOver.HintFormName, namesFrame);
    lblFormTitle = valueLabel(QStringLiteral("lblFormTitle"), handOver.HintFormTitle, namesFrame);
    lblCtlName = valueLabel(QStringLiteral("lblCtlName"), handOver.HintCtlName, namesFrame);
    names->addWidget(captionLabel(QStringLiteral("画面名"), namesFrame), 0, 0);
    names->addWidget(lblFormName, 0, 1);
    names->addWidget(captionLabel(QStringLiteral("ボタン名"), namesFrame), 0, 2);
    names->addWidget(lblCtlName, 0, 3);
    names->addWidget(captionLabel(QStringLiteral("画面タイトル"), namesFrame), 1, 0);
    names->addWidget(lblFormTitle, 1, 1, 1, 3);
    names->setColumnStretch(1, 1);
    names->setColumnStretch(3, 1);
    return namesFrame;
}

QHBoxLayout *HintWindow::buildButtons()
{
    QHBoxLayout *buttons = buttonRow(this,
                                     {
                                         {&cmd登録, QStringLiteral("cmd登録"), QStringLiteral("登録")},
                                         {&cmd編集, QStringLiteral("cmd編集"), QStringLiteral("編集")},
                                         {&cmd削除, QStringLiteral("cmd削除"), QStringLiteral("削除")},
                                         {&cmdクリア, QStringLiteral("cmdクリア"), QStringLiteral("クリア")},
                                     });
    cmd閉じる = namedButton(QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), this);
    buttons->addWidget(cmd閉じる);
    // The palette's button colour is what the style paints, so the colour
    // that carries edit mode is the one the user sees.
    cmd編集->setAutoFillBackground(true);
    setEditButtonColour(editOffColour());
    return buttons;
}

QSqlDatabase HintWindow::workDb() const
{
    // Never opens a closed connection; a connection that is gone gives an
    // invalid handle, and every operation then simply fails.
    return QSqlDatabase::database(m_workConnection, false);
}

bool HintWindow::shows(const QString &formName, const QString &ctlName) const
{
    return lblFormName->text() == formName && lblCtlName->text() == ctlName;
}

void HintWindow::ReadHint()
{
    QString contents;
    if (hints::readHint(workDb(), lblFormName->text(), lblCtlName->text(), &contents))
        txtContents->setPlainText(contents);
    m_savedText = txtContents->toPlainText();
}

bool HintWindow::hasUnsavedText() const
{
    return txtContents->toPlainText() != m_savedText;
}

bool HintWindow::EntryHint()
{
    if (!hints::storeHint(workDb(), lblFormName->text(), lblCtlName->text(), lblFormTitle->text(),
                          txtContents->toPlainText()))
        return false;
    m_savedText = txtContents->toPlainText();
    return true;
}

bool HintWindow::Deleteヒント()
{
    if (!hints::deleteHint(workDb(), lblFormName->text(), lblCtlName->text()))
        return false;
    txtContents->clear();
    m_savedText.clear();
    return true;
}

void HintWindow::cmd登録_Click()
{
    if (!ShowMsg(msg::登録確認, kSubject))
        return;
    // "Stored" is said only of a text that really is stored.
    if (EntryHint())
        ShowMsg(msg::登録完了, kSubject);
    else
        ShowMsg(msg::エラーヒント登録, failureDetail(workDb()));
}

void HintWindow::cmd削除_Click()
{
    if (!ShowMsg(msg::削除確認, kSubject))
        return;
    if (Deleteヒント())
        ShowMsg(msg::削除完了, kSubject);
    else
        ShowMsg(msg::エラーヒント削除, failureDetail(workDb()));
}

void HintWindow::cmdクリア_Click()
{
    txtContents->clear();
}

void HintWindow::cmd編集_Click()
{
    // The button's own colour says which mode the window is in.
    if (editButtonColour() == editOffColour()) {
        txtContents->setReadOnly(false);
        setEditButtonColour(editOnColour());
    } else {
        txtContents->setReadOnly(true);
        setEditButtonColour(editOffColour());
    }
    txtContents->setFocus();
}

QColor HintWindow::editButtonColour() const
{
    return cmd編集->palette().color(QPalette::Button);
}

void HintWindow::setEditButtonColour(const QColor &colour)
{
    QPalette palette = cmd編集->palette();
    palette.setColor(QPalette::Button, colour);
    cmd編集->setPalette(palette);
}

} // namespace pelmar
