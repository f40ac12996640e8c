#include "CounterGuard.h"

#include "platform/Log.h"

#include <cstdio>

namespace {
std::string Figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}
} // namespace

std::optional<double> CounterGuard::Pass(const StateField& field, double value, int day) {
    if (field.counter == StateField::Counter::None) {
        return value;
    }
    Track& track = m_tracks[&field];
    if (!track.known) {
        return First(field, track, value, day);
    }
    if (value >= track.last) {
        track.lastRiseDay = value > track.last ? day : track.lastRiseDay;
        track.last = value;
        track.lowSamples = 0;
        return value;
    }
    return Lower(field, track, value, day);
}

bool CounterGuard::PassAll(std::vector<FieldValue>& values, int day) {
    bool publishable = true;
    for (FieldValue& value : values) {
        const std::optional<double> passed = Pass(*value.field, value.value, day);
        publishable = publishable && passed.has_value();
        value.value = passed.value_or(value.value);
    }
    return publishable;
}

std::optional<double> CounterGuard::First(const StateField& field, Track& track, double value,
                                          int day) {
    if (value == 0.0 && field.counter == StateField::Counter::Lifetime &&
        ++track.lowSamples < CONFIRMATIONS) {
        return std::nullopt;
    }
    track = {true, value, day, 0};
    return value;
}

double CounterGuard::Lower(const StateField& field, Track& track, double value, int day) {
    const bool newDay = field.counter == StateField::Counter::Daily && day != track.lastRiseDay;
    if (!newDay) {
        const bool reset = value == 0.0 || value < track.last / 2;
        track.lowSamples = reset ? track.lowSamples + 1 : 0;
        if (track.lowSamples < CONFIRMATIONS) {
            return track.last;
        }
    }
    Log(newDay ? LogLevel::Debug : LogLevel::Info,
        m_who + ": " + field.key + " went from " + Figure(track.last) + " to " + Figure(value) +
            (newDay ? " on a new day" : ", a reset of the counter"));
    track = {true, value, day, 0};
    return value;
}

int LocalDay(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}
