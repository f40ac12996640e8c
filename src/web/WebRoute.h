#pragma once

#include "HttpMessage.h"
#include "RequestTarget.h"

class WebContext;

// One route of the server: the answer to a request, made from what the
// server knows. Declared as `WebRoute PlantRoute;`.
using WebRoute = HttpResponse(WebContext& context, const HttpRequest& request,
                              const RequestTarget& target);
