#pragma once

#include <optional>
#include <string>
#include <utility>

// A value, or the reason there is none, in words for a person.
template <class T>
class Outcome {
public:
    // Implicit, so a function returns its value as it is.
    Outcome(T value) : m_value(std::move(value)) {}
    static Outcome Failure(std::string reason) {
        Outcome failed;
        failed.m_reason = std::move(reason);
        return failed;
    }

    explicit operator bool() const { return m_value.has_value(); }
    const T& operator*() const& { return *m_value; }
    T& operator*() & { return *m_value; }
    T&& operator*() && { return std::move(*m_value); }
    const T* operator->() const { return &*m_value; }
    const std::string& Reason() const { return m_reason; }

private:
    Outcome() = default;

    std::optional<T> m_value;
    std::string m_reason;
};
