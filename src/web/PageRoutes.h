#pragma once

#include "WebRoute.h"

#include <string>

// Every page is the same document; its script draws the one its path names.
// The first data rides along as JSON, so the page shows values before any
// request.
WebRoute PageRoute;
// The scripts, style and icon under /assets/, revalidated by their tag.
WebRoute AssetRoute;

// JSON that may stand inside an HTML script element: "<", ">", "&" and the
// line and paragraph separators become escapes, so no text of the station's
// records can end the element or start a comment.
std::string ScriptSafeJson(const std::string& json);
