#include "MailMessage.h"

#include "AlertText.h"
#include "platform/TimeText.h"

#include <QByteArray>
#include <algorithm>

namespace {
const char* const CRLF = "\r\n";

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A header value beyond ASCII travels as an encoded word.
std::string EncodedHeader(const std::string& text) {
    if (IsAscii(text)) {
        return text;
    }
    return "=?UTF-8?B?" + QByteArray::fromStdString(text).toBase64().toStdString() + "?=";
}

std::string Joined(const std::vector<std::string>& items, const char* separator) {
    std::string joined;
    for (const std::string& item : items) {
        joined += (joined.empty() ? "" : separator) + item;
    }
    return joined;
}

std::string Subject(const Alert& alert) {
    return HeaderText("[Heliowatch " + alert.station + "] " + alert.title);
}

std::string Body(const Alert& alert) {
    std::string body = Utf8Text(alert.text) + CRLF + CRLF;
    body += "Rule: " + alert.rule + CRLF;
    body += std::string("State: ") + AlertStateName(alert.state) + CRLF;
    if (!alert.serial.empty()) {
        body += "Inverter: " + Utf8Text(alert.serial) + CRLF;
    }
    if (alert.port != 0) {
        body += "Port: COM" + std::to_string(alert.port) + CRLF;
    }
    if (alert.address != 0) {
        body += "Address: " + std::to_string(alert.address) + CRLF;
    }
    body += "Time: " + IsoTimeText(alert.time) + CRLF;
    body += "Count: " + std::to_string(alert.count) + CRLF;
    body += "Station: " + Utf8Text(alert.station) + CRLF;
    return body;
}
} // namespace

std::string MailMessage(const Alert& alert, const std::string& from,
                        const std::vector<std::string>& to) {
    std::string message;
    message += "Date: " + LocalTimeText(alert.time, "%a, %d %b %Y %H:%M:%S %z") + CRLF;
    message += "From: " + HeaderText(from) + CRLF;
    message += "To: " + HeaderText(Joined(to, ", ")) + CRLF;
    message += "Subject: " + EncodedHeader(Subject(alert)) + CRLF;
    message += "Message-ID: <heliowatch." + std::to_string(alert.time) + "." +
               std::to_string(alert.id) + "." + std::to_string(alert.count) + "@" +
               HeaderText(alert.station) + ">" + CRLF;
    message += std::string("MIME-Version: 1.0") + CRLF;
    message += std::string("Content-Type: text/plain; charset=utf-8") + CRLF;
    message += std::string("Content-Transfer-Encoding: 8bit") + CRLF;
    return message + CRLF + Body(alert);
}

std::string BareAddress(const std::string& mailbox) {
    const auto open = mailbox.rfind('<');
    const auto close = mailbox.rfind('>');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return mailbox;
    }
    return mailbox.substr(open + 1, close - open - 1);
}
