#include "WebReplies.h"

#include <QJsonDocument>
#include <QJsonObject>

HttpResponse JsonReply(std::string json) {
    HttpResponse reply;
    reply.contentType = "application/json";
    reply.body = std::move(json);
    reply.Header("Cache-Control", "no-store");
    return reply;
}

HttpResponse ErrorReply(int status, const std::string& reason) {
    HttpResponse reply =
        JsonReply(QJsonDocument(QJsonObject{{"error", QString::fromStdString(reason)}})
                      .toJson(QJsonDocument::Compact)
                      .toStdString());
    reply.status = status;
    return reply;
}
