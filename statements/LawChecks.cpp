// What the labour law asks of the statement on the page: the marks on the
// grid's cells, and the notice 登録 gives before its question.
#include "statements/StatementPage.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "calc/WorkTime.h"
#include "messages/ShowMsg.h"
#include "payroll/StatementStore.h"
#include "store/ProgramState.h"
#include "widgets/DataGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMap>

namespace pelmar {

namespace {

QString hoursText(double hours)
{
    return fmt::format(hours, fmt::kHours);
}

QString yenText(double yen)
{
    return fmt::format(yen, fmt::kYen);
}

} // namespace

QString StatementPage::cellNote(int row, int column) const
{
    const auto value = [this, row](int c) {
        return grid明細->valueAt(row, c);
    };
    if (column == daylines::kBreak && premium::breakTooShort(value(daylines::kHours), value(daylines::kBreak)))
        return QStringLiteral("休憩が足りません。6時間を超える勤務には45分以上、8時間を超える勤務には1時間以上の"
                              "休憩が必要です。");
    if (column == daylines::kHours && m_pay.night
        && premium::nightUnknown(value(daylines::kStart), value(daylines::kEnd), value(daylines::kHours)))
        return QStringLiteral("開始・終了時間がないので深夜の時間が分かりません。時間を入力してください。");
    if (column == daylines::kWage && premium::belowMinimumWage(value(daylines::kWage), value(daylines::kDate), m_pay))
        return QStringLiteral("時給が最低賃金（%1円）を下回っています。").arg(yenText(m_pay.minimumWage));
    return {};
}

QStringList StatementPage::lawFindings()
{
    QStringList noTimes, belowMinimum;
    double night = 0, overtime = 0, restDay = 0;
    QMap<int, double> overtimeByYear; // overtime and rest-day hours of each calendar year
    for (int row = 0; row < grid明細->rowCount(); ++row) {
        const auto value = [this, row](int c) {
            return grid明細->valueAt(row, c);
        };
        // Only the lines a save stores.
        if (worktime::isEmptyValue(value(daylines::kDate)) || worktime::isEmptyValue(value(daylines::kAmount)))
            continue;
        const QString date = fmt::format(value(daylines::kDate), fmt::kDate);
        if (m_pay.night && premium::nightUnknown(value(daylines::kStart), value(daylines::kEnd), value(daylines::kHours))
            && !noTimes.contains(date))
            noTimes << date;
        if (premium::belowMinimumWage(value(daylines::kWage), value(daylines::kDate), m_pay)
            && !belowMinimum.contains(date))
            belowMinimum << date;
        night += value(daylines::kNight).toDouble();
        overtime += value(daylines::kOvertime).toDouble();
        restDay += value(daylines::kRestDay).toDouble();
        if (const auto day = worktime::dateOfEntry(value(daylines::kDate).toString()))
            overtimeByYear[day->year()] += value(daylines::kOvertime).toDouble() + value(daylines::kRestDay).toDouble();
    }

    QStringList findings;
    // Hours are kept whatever the settings; a premium the law asks for may be off.
    QStringList unpaid;
    if (!m_pay.night && night > 0)
        unpaid << QStringLiteral("深夜 %1 時間").arg(hoursText(night));
    if (!m_pay.overtime && overtime > 0)
        unpaid << QStringLiteral("時間外 %1 時間").arg(hoursText(overtime));
    if (!unpaid.isEmpty())
        findings << QStringLiteral("・%1 がありますが、その割増が設定されていません（設定・情報のページ）。法律では"
                                   "深夜・時間外は25%以上の割増が必要です。")
                        .arg(unpaid.join(QStringLiteral("、")));
    if (!noTimes.isEmpty())
        findings << QStringLiteral("・開始・終了時間がなく深夜の時間が分からない日: %1")
                        .arg(noTimes.join(QStringLiteral("、")));
    if (!belowMinimum.isEmpty())
        findings << QStringLiteral("・時給が最低賃金（%1円）を下回る日: %2")
                        .arg(yenText(m_pay.minimumWage), belowMinimum.join(QStringLiteral("、")));
    // The general limits of a 36 agreement: 45 hours a month, 360 a year.
    const double month = overtime + restDay;
    if (month > premium::kMonthOvertimeLimit)
        findings << QStringLiteral("・時間外と休日の労働が %1 時間で、月45時間（36協定の一般的な上限）を超えています。")
                        .arg(hoursText(month));
    const QString name = cmb氏名->currentText();
    for (auto year = overtimeByYear.cbegin(); year != overtimeByYear.cend(); ++year) {
        const QString yyyy = QStringLiteral("%1").arg(year.key(), 4, 10, QLatin1Char('0'));
        const auto stored = statements::storedOvertime(m_state.MainDb, name, txtタイトル->text(),
                                                       yyyy + QStringLiteral("0101"), yyyy + QStringLiteral("1231"));
        const double total = stored.value_or(0) + year.value();
        if (total > premium::kYearOvertimeLimit)
            findings << QStringLiteral("・%1年の時間外と休日の労働が %2 時間で、年360時間（36協定の一般的な上限）を"
                                       "超えています。")
                            .arg(year.key())
                            .arg(hoursText(total));
    }
    return findings;
}

void StatementPage::tellLawFindings()
{
    const QStringList findings = lawFindings();
    if (!findings.isEmpty())
        ShowMsg(msg::登録労働時間確認, findings.join(u'\n'));
}

} // namespace pelmar
