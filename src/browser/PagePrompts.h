#pragma once

#include <functional>
#include <string>

#include "platform/WebPrompts.h"

namespace corvano {

class Application;

// The text with %1 and %2 replaced, in one pass (a replacement that itself
// holds "%2" stays as it is).
std::string fillIn(const std::string& text, const std::string& first, const std::string& second = {});

// The answer to a site's request from a window: no while the window cannot be
// seen or a show mode runs; otherwise the answer given earlier in this run, or
// the user's answer once given, kept for the rest of the run.
void answerPermission(Application& app, bool windowSeen, const std::string& site, WebPermission what,
                      std::function<void(bool)> answer);

// Whether to go on to a site whose certificate was refused: no while the
// window cannot be seen or a show mode runs, otherwise the user decides.
void answerCertificate(Application& app, bool windowSeen, const std::string& site, CertificateProblem problem,
                       std::function<void(bool)> answer);

}  // namespace corvano
