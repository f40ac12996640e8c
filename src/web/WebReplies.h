#pragma once

#include "HttpMessage.h"

#include <string>

// JSON that is never cached: it changes with every poll.
HttpResponse JsonReply(std::string json);
// The JSON error answer every refusal and failure takes: {"error": reason}.
HttpResponse ErrorReply(int status, const std::string& reason);
