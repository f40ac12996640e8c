#include "PageRoutes.h"

#include "Gzip.h"
#include "PageAssets.h"
#include "PlantJson.h"
#include "WebContext.h"
#include "WebReplies.h"

#include <QCryptographicHash>
#include <map>

namespace {
constexpr std::string_view DATA_MARK = "<!--first-->";

std::string_view TypeOf(std::string_view name) {
    static const std::map<std::string_view, std::string_view> types{
        {".html", "text/html; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".svg", "image/svg+xml"},
    };
    const auto found = types.find(name.substr(name.rfind('.')));
    return found != types.end() ? found->second : "application/octet-stream";
}

// An asset ready to send: its tag and compressed form made once.
struct ServedAsset {
    std::string tag;
    HttpResponse reply;
};

std::map<std::string_view, ServedAsset> MakeServedAssets() {
    std::map<std::string_view, ServedAsset> served;
    for (const EmbeddedFile& file : EmbeddedAssets()) {
        ServedAsset& asset = served[file.name];
        const QByteArray hash = QCryptographicHash::hash(
            QByteArray::fromRawData(file.bytes.data(), static_cast<qsizetype>(file.bytes.size())),
            QCryptographicHash::Sha256);
        asset.tag = '"' + hash.toHex().left(16).toStdString() + '"';
        asset.reply.contentType = TypeOf(file.name);
        asset.reply.body = file.bytes;
        asset.reply.gzipBody =
            std::make_shared<const std::string>(GzipCompressed(asset.reply.body));
        asset.reply.Header("ETag", asset.tag).Header("Cache-Control", "no-cache");
    }
    return served;
}

const std::map<std::string_view, ServedAsset>& ServedAssets() {
    static const std::map<std::string_view, ServedAsset> served = MakeServedAssets();
    return served;
}
} // namespace

std::string ScriptSafeJson(const std::string& json) {
    std::string safe;
    safe.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '<' || c == '>' || c == '&') {
            static const char* const HEX = "0123456789abcdef";
            safe += "\\u00";
            safe += HEX[(c >> 4) & 0xF];
            safe += HEX[c & 0xF];
        } else if (json.compare(i, 3, "\xE2\x80\xA8") == 0 ||
                   json.compare(i, 3, "\xE2\x80\xA9") == 0) {
            safe += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            safe += c;
        }
    }
    return safe;
}

HttpResponse PageRoute(WebContext& context, const HttpRequest&, const RequestTarget&) {
    const std::string& shell = ServedAssets().at("page.html").reply.body;
    const std::size_t mark = shell.find(DATA_MARK);
    HttpResponse reply;
    reply.contentType = "text/html; charset=utf-8";
    reply.body = shell.substr(0, mark) + ScriptSafeJson(JsonText(LiveJson(context.Snapshot()))) +
                 shell.substr(mark + DATA_MARK.size());
    reply.Header("Cache-Control", "no-store");
    return reply;
}

HttpResponse AssetRoute(WebContext&, const HttpRequest& request, const RequestTarget& target) {
    const auto& served = ServedAssets();
    const auto found =
        target.Segments().size() == 2 ? served.find(target.Segments()[1]) : served.end();
    if (found == served.end()) {
        return ErrorReply(404, "no such file");
    }
    if (request.Header("if-none-match") == found->second.tag) {
        HttpResponse unchanged;
        unchanged.status = 304;
        unchanged.Header("ETag", found->second.tag).Header("Cache-Control", "no-cache");
        return unchanged;
    }
    return found->second.reply;
}
