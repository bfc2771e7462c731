#pragma once

#include <string>

#include "platform/WebPrompts.h"

namespace corvano {

class Application;

// The text with %1 and %2 replaced, in one pass (a replacement that itself
// holds "%2" stays as it is).
std::string fillIn(const std::string& text, const std::string& first, const std::string& second = {});

// The answer to a site's request from a window: no while the window cannot be
// seen or a show mode runs; otherwise the answer given earlier in this run, or
// the user's answer now, kept for the rest of the run.
bool answerPermission(Application& app, bool windowSeen, const std::string& site, WebPermission what);

// Whether to go on to a site whose certificate was refused: no while the
// window cannot be seen or a show mode runs, otherwise the user decides.
bool answerCertificate(Application& app, bool windowSeen, const std::string& site, CertificateProblem problem);

}  // namespace corvano
