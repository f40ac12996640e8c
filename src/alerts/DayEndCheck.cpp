#include "DayEndCheck.h"

#include "AlertSettings.h"
#include "AlertSink.h"
#include "ConditionTable.h"
#include "DayAlerts.h"
#include "PlantActivity.h"
#include "WeakDays.h"
#include "platform/Log.h"
#include "store/CivilDays.h"
#include "store/LocalCalendar.h"

namespace {
const char* const CHECKED_MARK = "day-checked";
constexpr int LAST_HOUR = 23;
constexpr std::time_t RETRY_SECONDS = 10 * 60;

int LocalHour(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_hour;
}
} // namespace

DayEndCheck::DayEndCheck(const AlertSettings& settings, ConditionTable& marks, AlertSink& sink)
    : m_settings(settings), m_marks(marks), m_sink(sink) {}

void DayEndCheck::Run(std::time_t now, const PlantActivity& activity,
                      const std::map<std::string, EventSubject>& known) {
    const bool wanted = RuleEnabled(m_settings, AlertRule::WeakDay) ||
                        RuleEnabled(m_settings, AlertRule::DailySummary);
    if (!wanted || m_facts == nullptr || now < m_nextTry) {
        return;
    }
    const int day = LocalCalendar().DayKeyOf(now);
    if (m_marks.Mark(CHECKED_MARK).value_or(0) >= day ||
        (LocalHour(now) < LAST_HOUR && !activity.Asleep(now))) {
        return;
    }
    if (Check(day, known)) {
        m_marks.SetMark(CHECKED_MARK, day);
    } else {
        m_nextTry = now + RETRY_SECONDS;
    }
}

bool DayEndCheck::Check(int day, const std::map<std::string, EventSubject>& known) {
    const Outcome<DayYields> yields = m_facts->Yields(CivilDays::AddDays(day, -SHARE_DAYS), day);
    if (!yields) {
        if (m_failedDay != day) {
            m_failedDay = day;
            Log(LogLevel::Warning, "alerts: the day's yields cannot be judged: " + yields.Reason());
        }
        return false;
    }
    if (RuleEnabled(m_settings, AlertRule::WeakDay)) {
        for (const WeakInverter& weak : WeakInverters(*yields, day, m_settings.weakDayPercent)) {
            const auto where = known.find(weak.serial);
            const EventSubject none;
            const EventSubject& at = where == known.end() ? none : where->second;
            m_sink.Raise(DayAlerts::WeakDay(weak, day, at.comPort, at.address));
        }
    }
    if (RuleEnabled(m_settings, AlertRule::DailySummary)) {
        const Outcome<DayPeak> peak = m_facts->PlantPeak(day);
        const std::vector<InvFaultRecord> records =
            m_faultRecords ? m_faultRecords() : std::vector<InvFaultRecord>{};
        m_sink.Raise(DayAlerts::DailySummary(day, *yields,
                                             peak ? std::optional(*peak) : std::nullopt,
                                             DayAlerts::FaultsOfDay(records, day)));
    }
    return true;
}
