#pragma once

#include <string>

// A message box that a worker thread shows: modal, OK only, with the
// application title as caption. Show returns when the user has closed it.
class UserNotifier {
public:
    virtual ~UserNotifier() = default;
    virtual void Show(const std::string& text) = 0;
};

// Without a user interface the text is a warning in the log.
class LoggingNotifier : public UserNotifier {
public:
    void Show(const std::string& text) override;
};
