#pragma once

#include <QSqlDatabase>
#include <QVariant>

#include <optional>

namespace pelmar::company {

struct Settings {
    QVariant name; // 自社名, null when blanked
    QVariant info; // 自社情報
};

// The first row of 自社情報; nothing when the table is empty.
std::optional<Settings> read(const QSqlDatabase &main);

// Stores the two texts in the first row, adding it when there is none.
bool store(const QSqlDatabase &main, const QString &name, const QString &info);

// Sets both texts of the first row to null; the row itself stays.
bool blank(const QSqlDatabase &main);

} // namespace pelmar::company
