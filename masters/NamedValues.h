#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <cstddef>
#include <optional>
#include <utility>

// A setting stored in 設定 by the name the page shows for it.
namespace pelmar::settings {

template <class Value>
struct NamedValue {
    Value value;
    const char16_t *name;
};

// The name of `value` in `table`; empty for a value the table lacks.
template <class Value, std::size_t N>
QString nameOf(const NamedValue<Value> (&table)[N], Value value)
{
    for (const NamedValue<Value> &entry : table)
        if (entry.value == value)
            return QString::fromUtf16(entry.name);
    return {};
}

// The value named `name` in `table`; nothing for a name the table lacks.
template <class Value, std::size_t N>
std::optional<Value> valueNamed(const NamedValue<Value> (&table)[N], const QString &name)
{
    for (const NamedValue<Value> &entry : table)
        if (name == QString::fromUtf16(entry.name))
            return entry.value;
    return std::nullopt;
}

// Stores each item of 設定 with its value, replacing what the item held,
// all or none in one transaction.
bool writeSettings(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &items);

} // namespace pelmar::settings
