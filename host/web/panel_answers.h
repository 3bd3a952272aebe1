// What the panel answers to a request the gate has framed: the page's files
// from its folder (nothing outside it), and the answers of panel_requests.h,
// each made where the caller says (the server's panel thread). Apart from any
// socket, so that tests and the fuzzer drive it with framed requests.
#pragma once

#include <functional>
#include <string>

#include "web/http_framing.h"
#include "web/panel_requests.h"

namespace web {

using ApiAnswerer = std::function<Answer(const WebRequest&)>;

// The whole response; close is set when the connection is to end after it.
std::string AnswerRequest(const RequestFrame& request, const std::string& pageFolder, const ApiAnswerer& api,
                          bool& close);

}  // namespace web
