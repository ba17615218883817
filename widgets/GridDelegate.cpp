#include "widgets/GridDelegate.h"

#include "calc/Formats.h"
#include "widgets/DataGrid.h"
#include "widgets/TypedTextValidator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QSqlField>
#include <QSqlRecord>

namespace pelmar {

namespace {

// The text the editor showed when it was opened or last written.
const char *const kTableText = "pelmarTableText";

const QString kDateMask = QStringLiteral("Date Mask");
const QString kTimeMask = QStringLiteral("##:##");

// Whether a table field of this type holds numbers (money, hours, keys).
bool isNumberField(QMetaType type)
{
    return fmt::isNumberType(type.id());
}

} // namespace

GridDelegate::GridDelegate(DataGrid *grid) : QStyledItemDelegate(grid), m_grid(grid)
{
}

QString GridDelegate::editText(const QVariant &raw)
{
    if (!raw.isValid() || raw.isNull())
        return {};
    return fmt::holdsNumber(raw) ? fmt::plainNumber(raw.toDouble()) : raw.toString();
}

QVariant GridDelegate::valueFromText(const QString &text, QMetaType type)
{
    if (text.isEmpty())
        return QVariant(type);
    // A number column takes only what reads as a typed number; anything else
    // ("abc", "1e308", "nan") empties the cell rather than reach the table,
    // where the column's affinity would turn "1e308" into a number.
    if (isNumberField(type)) {
        const std::optional<double> number = fmt::parseTypedNumber(text);
        return number ? QVariant(*number) : QVariant(type);
    }
    // Text goes in as typed.
    return QVariant(text);
}

bool GridDelegate::refusesText(const QString &text, QMetaType type)
{
    return isNumberField(type) && !text.trimmed().isEmpty() && !fmt::parseTypedNumber(text);
}

QRect GridDelegate::dropDownArrowRect(const QRect &cell)
{
    const int width = qMin(cell.height(), 16);
    return QRect(cell.right() - width + 1, cell.top(), width, cell.height());
}

bool GridDelegate::isTicked(const QVariant &value)
{
    return value.isValid() && !value.isNull() && value.toInt() != 0;
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const GridColumn &column = m_grid->column(index.column());
    if (column.checkBox || m_grid->isDropDownMode())
        return nullptr;
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    // Whether a cell takes Japanese input is decided on the grid (ImeSetOpen);
    // the editor follows whatever the grid was told last.
    editor->setAttribute(Qt::WA_InputMethodEnabled, m_grid->testAttribute(Qt::WA_InputMethodEnabled));
    editor->setInputMethodHints(m_grid->inputMethodHints());

    // Masks admit the digits of yyyymmdd, or of a time typed as hhmm or
    // h:mm, and nothing else; full-width digits and colons are taken as the
    // ASCII ones. Unmasked date, time and number cells take any text, their
    // full-width digits made ASCII as they come.
    const QString &format = column.format;
    if (column.mask == kDateMask) {
        editor->setValidator(new TypedTextValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), editor));
    } else if (column.mask == kTimeMask) {
        const QRegularExpression pattern(QStringLiteral("[0-9]{0,4}|[0-9]{1,2}:[0-9]{0,2}"));
        editor->setValidator(new TypedTextValidator(pattern, editor));
    } else if (format == fmt::kTime || format == fmt::kDate
               || isNumberField(m_grid->tableModel()->record().field(index.column()).metaType())) {
        editor->setValidator(new TypedTextValidator(editor));
    }

    const Qt::Alignment alignment = column.alignment & Qt::AlignHorizontal_Mask;
    editor->setAlignment((alignment ? alignment : Qt::AlignLeft) | Qt::AlignVCenter);

    m_editor = editor;
    m_editorIndex = index;
    return editor;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *lineEdit = qobject_cast<QLineEdit *>(editor);
    if (!lineEdit) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    // A write elsewhere in the row re-reads the row; what the user is
    // typing must not be overwritten by it.
    if (lineEdit->isModified())
        return;
    const QString text = editText(index.data(Qt::EditRole));
    lineEdit->setText(text);
    lineEdit->setProperty(kTableText, text);
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    // Qt's own commits take the grid's one way in, so that what is written
    // and what is reported after it cannot differ from the grid's commits.
    auto *lineEdit = qobject_cast<QLineEdit *>(editor);
    if (lineEdit && model && model == m_grid->tableModel())
        m_grid->commitEditorText(lineEdit, index);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

bool GridDelegate::editorChanged(const QLineEdit *editor) const
{
    return editor && typedText(editor) != editor->property(kTableText).toString();
}

QString GridDelegate::typedText(const QLineEdit *editor)
{
    // A date or time cell's shape drops letters as they are typed; letters
    // alone are handed on as typed, so that the page refuses them out loud
    // as it refuses 2500, rather than take the empty cell for a time taken out.
    if (!editor || !editor->text().isEmpty())
        return editor ? editor->text() : QString();
    return TypedTextValidator::refusedTyping(editor);
}

void GridDelegate::markWritten(QLineEdit *editor) const
{
    if (editor) {
        editor->setProperty(kTableText, editor->text());
        TypedTextValidator::forgetRefusedTyping(editor);
    }
}

void GridDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    // Leave the drop-down arrow uncovered so it can still be clicked.
    if (m_grid->column(index.column()).dropDown)
        editor->setGeometry(option.rect.adjusted(0, 0, -dropDownArrowRect(option.rect).width(), 0));
}

void GridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_editor.data()) {
        m_editor = nullptr;
        m_editorIndex = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool GridDelegate::showsDropDownArrow(const QModelIndex &index) const
{
    return !m_grid->isDropDownMode() && m_grid->column(index.column()).dropDown && index == m_grid->currentIndex();
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    if (m_grid->column(index.column()).checkBox) {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, option.widget);

        QStyleOptionViewItem tick = option;
        const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
        const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
        tick.rect = QRect(option.rect.center() - QPoint(w / 2, h / 2), QSize(w, h));
        tick.state = (option.state & ~QStyle::State_HasFocus)
            | (isTicked(index.data(Qt::EditRole)) ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &tick, painter, option.widget);
        return;
    }

    QStyledItemDelegate::paint(painter, option, index);

    if (showsDropDownArrow(index)) {
        QStyleOptionButton button;
        button.initFrom(option.widget);
        button.rect = dropDownArrowRect(option.rect);
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        style->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, painter, option.widget);
        QStyleOption arrow = button;
        arrow.rect = button.rect.adjusted(3, 3, -3, -3);
        style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, option.widget);
    }
}

bool GridDelegate::eventFilter(QObject *object, QEvent *event)
{
    // Keys typed into the editor belong to the grid first: it reports them
    // (keyDown) before the editor may act on them.
    if (event->type() == QEvent::KeyPress && object == m_editor.data())
        return m_grid->eventFilter(object, event);
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace pelmar
