#pragma once

#include "Alert.h"

#include <string>
#include <vector>

// The alert as an Internet mail: headers, a blank line and the body, lines
// ended by CR LF. The subject names the station and the alert's title; the
// body holds its text, then the rule, state, inverter, time and count.
std::string MailMessage(const Alert& alert, const std::string& from,
                        const std::vector<std::string>& to);

// The address alone of "Name <address>", or the text itself.
std::string BareAddress(const std::string& mailbox);
