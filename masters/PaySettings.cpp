#include "masters/PaySettings.h"

#include "masters/NamedValues.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QHash>

#include <cmath>

namespace pelmar::settings {

namespace {

constexpr NamedValue<premium::Rounding> kRoundingNames[] = {
    {premium::Rounding::None, u"なし"},
    {premium::Rounding::Down, u"切り捨て"},
    {premium::Rounding::HalfUp, u"四捨五入"},
    {premium::Rounding::Up, u"切り上げ"},
};

bool rateFits(double rate)
{
    return std::isfinite(rate) && rate >= premium::kMinRate && rate <= premium::kMaxRate;
}

bool minimumWageFits(double yen)
{
    return std::isfinite(yen) && yen >= 0 && yen <= kMaxMinimumWage;
}

void readSwitch(const QHash<QString, QString> &stored, const QString &item, bool *value)
{
    const QString text = stored.value(item);
    if (text == u"1")
        *value = true;
    else if (text == u"0")
        *value = false;
}

void readRate(const QHash<QString, QString> &stored, const QString &item, double *value)
{
    bool ok = false;
    const double rate = stored.value(item).toDouble(&ok);
    if (ok && rateFits(rate))
        *value = rate;
}

} // namespace

QString roundingName(premium::Rounding rounding)
{
    return nameOf(kRoundingNames, rounding);
}

std::optional<premium::Rounding> roundingFromName(const QString &name)
{
    return valueNamed(kRoundingNames, name);
}

std::optional<PaySettings> load(const QSqlDatabase &main)
{
    Query query(main);
    if (!query.run(selectSql(tables::設定, tables::設定.columns)))
        return std::nullopt;
    QHash<QString, QString> stored;
    while (query.next())
        stored.insert(query.value(0).toString(), query.value(1).toString());
    if (query.failed())
        return std::nullopt;

    PaySettings settings;
    readSwitch(stored, k深夜割増, &settings.night);
    readRate(stored, k深夜割増率, &settings.nightRate);
    readSwitch(stored, k時間外割増, &settings.overtime);
    readRate(stored, k時間外割増率, &settings.overtimeRate);
    bool ok = false;
    const int day = stored.value(k週の開始曜日).toInt(&ok);
    if (ok && day >= Qt::Monday && day <= Qt::Sunday)
        settings.weekStart = Qt::DayOfWeek(day);
    if (const auto rounding = roundingFromName(stored.value(k端数処理)))
        settings.rounding = *rounding;
    readRate(stored, k月60時間超割増率, &settings.over60Rate);
    readRate(stored, k休日割増率, &settings.restDayRate);
    const int restDay = stored.value(k法定休日).toInt(&ok);
    if (ok && restDay >= 0 && restDay <= Qt::Sunday)
        settings.restDay = restDay;
    const double minimum = stored.value(k最低賃金).toDouble(&ok);
    if (ok && minimumWageFits(minimum))
        settings.minimumWage = minimum;
    const QDate from = QDate::fromString(stored.value(k最低賃金適用日), QStringLiteral("yyyyMMdd"));
    if (from.isValid())
        settings.minimumWageFrom = from;
    return settings;
}

bool save(const QSqlDatabase &main, const PaySettings &settings)
{
    if (!rateFits(settings.nightRate) || !rateFits(settings.overtimeRate) || !rateFits(settings.over60Rate)
        || !rateFits(settings.restDayRate) || settings.weekStart < Qt::Monday || settings.weekStart > Qt::Sunday
        || settings.restDay < 0 || settings.restDay > Qt::Sunday || !minimumWageFits(settings.minimumWage))
        return false;
    const auto onOff = [](bool on) {
        return on ? QStringLiteral("1") : QStringLiteral("0");
    };
    const QList<std::pair<QString, QString>> items{
        {k深夜割増, onOff(settings.night)},
        {k深夜割増率, QString::number(settings.nightRate)},
        {k時間外割増, onOff(settings.overtime)},
        {k時間外割増率, QString::number(settings.overtimeRate)},
        {k週の開始曜日, QString::number(int(settings.weekStart))},
        {k端数処理, roundingName(settings.rounding)},
        {k月60時間超割増率, QString::number(settings.over60Rate)},
        {k法定休日, QString::number(settings.restDay)},
        {k休日割増率, QString::number(settings.restDayRate)},
        {k最低賃金, QString::number(settings.minimumWage)},
        {k最低賃金適用日,
         settings.minimumWageFrom.isValid() ? settings.minimumWageFrom.toString(QStringLiteral("yyyyMMdd"))
                                            : QString()},
    };
    return writeSettings(main, items);
}

} // namespace pelmar::settings
