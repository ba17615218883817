#include "store/FileCheck.h"

#include "store/Query.h"
#include "store/Reasons.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QUuid>

namespace pelmar {

QString soundnessProblem(const QString &filePath)
{
    QString problem;
    const QString name = QStringLiteral("pelmar-check-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            problem = reasons::cannotOpenFile(db.lastError().text());
        } else {
            Query check(db, OnFailure::Answer);
            // quick_check reads every page and row but skips comparing the
            // indexes with their tables: the part of integrity_check that
            // grows fastest with the data.
            if (!check.run(QStringLiteral("PRAGMA quick_check")) || !check.next()) {
                problem = reasons::unreadable(check.error().text());
            } else {
                QStringList findings;
                do
                    findings << check.value(0).toString();
                while (check.next() && findings.size() < 5);
                if (findings != QStringList{QStringLiteral("ok")})
                    problem = reasons::damaged(findings.join(u'\n'));
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

} // namespace pelmar
