#include "GridTyping.h"

#include "widgets/DataGrid.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace pelmar::test {

Rows rows(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    Rows result;
    QSqlQuery query(db);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        return {{QStringLiteral("<query failed>")}};
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
        result << row;
    }
    return result;
}

namespace {

QLineEdit *openEditor(DataGrid *grid, int row, int column)
{
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    QTest::keyClick(grid, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (editor) {
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
    }
    return editor;
}

} // namespace

void typeIntoCell(DataGrid *grid, int row, int column, const QString &text, int finishKey)
{
    QLineEdit *editor = openEditor(grid, row, column);
    QVERIFY2(editor, "no cell editor opened");
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key(finishKey));
}

void commitIntoCell(DataGrid *grid, int row, int column, const QString &text)
{
    QLineEdit *editor = openEditor(grid, row, column);
    QVERIFY2(editor, "no cell editor opened");
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(editor, &commit);
    QTest::keyClick(editor, Qt::Key_Return);
}

} // namespace pelmar::test
