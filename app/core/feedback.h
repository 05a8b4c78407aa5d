#pragma once

// Feedback to Quillon's maker: one HTTPS POST of a small JSON object to the
// feedback service, from the feedback window and from the uninstall survey.
// Nothing is written to disk and nothing is retried. Main thread only.

#include <functional>
#include <string>
#include <vector>

#include "app/core/env.h"

class QObject;

namespace quillon::app::Feedback {

// Where users may write when something does not work; shown in the setup
// window's warning and the feedback window's failure text.
inline constexpr const char* supportEmail = "help@quillon.app";

// The request's time-out: a request not answered in full within this time,
// counted from its start, is ended and counts as a failure.
inline constexpr int kTimeoutMs = 8000;

// The service's address, fixed when the app is built (the CMake cache
// variable QUILLON_FEEDBACK_URL), unless a test pointed it elsewhere.
std::string url();
// For tests only: sends the requests to a server on this machine. Only an
// http or https address of 127.0.0.1, ::1 or localhost is taken; anything
// else is refused (false) and the address stays as it was. An empty text
// goes back to the built-in address.
bool setUrlForTests(const std::string& address);
// For tests only: the time-out in milliseconds instead of kTimeoutMs; 0 (or
// less) goes back to kTimeoutMs.
void setTimeLimitForTests(int ms);

struct Message {
  std::string kind;  // "feedback" or "uninstall"
  std::string message;
  std::string email;
  std::vector<std::string> reasons;
};

// The request body: one JSON object of seven members (kind, message, email,
// reasons, version, macos, model), compact.
std::string body(Env& env, const Message& m);

// Posts the message. `done` runs later on the main thread, once, with true
// only when the service answered in full, without a network error, with
// HTTP status 200 (a redirect is not followed); not at all when `context`
// is destroyed first.
void send(Env& env, const Message& m, QObject* context, std::function<void(bool)> done);

// A readable name of the Mac from its model identifier:
// "MacBookPro18,3" -> "MacBook Pro (MacBookPro18,3)"; an identifier whose
// leading letters are not a known family gets "Mac".
std::string macName(const std::string& modelIdentifier);

}  // namespace quillon::app::Feedback
