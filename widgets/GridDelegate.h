#pragma once

#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

namespace pelmar {

class DataGrid;

// Paints a DataGrid's cells (tick boxes, the drop-down arrow of the current
// cell) and makes its cell editor: a line edit that shows the stored value
// as the user types it (hhmm, yyyymmdd, a plain number), held to the
// column's input mask, with full-width digits taken as ASCII ones. A grid
// has at most one editor open at a time.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(DataGrid *grid);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QLineEdit *openEditor() const { return m_editor.data(); }
    QModelIndex editorIndex() const { return m_editorIndex; }
    // Whether the editor's text differs from what it last showed from the table.
    bool editorChanged(const QLineEdit *editor) const;
    // The editor's text, or what was typed into it and dropped by its shape.
    static QString typedText(const QLineEdit *editor);
    // The editor's text is now in the table; committing it again writes nothing.
    void markWritten(QLineEdit *editor) const;

    // The text a cell editor starts from: hhmm and yyyymmdd as stored,
    // numbers in their plain form.
    static QString editText(const QVariant &raw);
    // What an edit writes: empty text is a null of the column's type. A
    // number column gets the number fmt::parseTypedNumber reads (full-width
    // digits count), or a null when the text is none.
    static QVariant valueFromText(const QString &text, QMetaType type);
    // Whether an edit is refused before it reaches the table: text in a
    // number column that reads as no number ("1e5", "nan", "1,2,3", a
    // magnitude beyond fmt::kMaxTypedMagnitude). Blank text empties the cell.
    static bool refusesText(const QString &text, QMetaType type);
    static QRect dropDownArrowRect(const QRect &cell);
    static bool isTicked(const QVariant &value);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool showsDropDownArrow(const QModelIndex &index) const;

    DataGrid *m_grid;
    mutable QPointer<QLineEdit> m_editor;
    mutable QPersistentModelIndex m_editorIndex;
};

} // namespace pelmar
