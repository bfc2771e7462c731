#include "browser/PagePrompts.h"

#include "app/Application.h"

namespace corvano {

namespace {

constexpr int kBackText = 123;
constexpr int kPermissionTitle = 382;
constexpr int kAllowText = 389;
constexpr int kDenyText = 390;
constexpr int kCertificateTitle = 391;
constexpr int kCertificateQuestion = 392;
constexpr int kGoOnText = 398;

int questionText(WebPermission what) {
    switch (what) {
        case WebPermission::Camera: return 383;
        case WebPermission::Microphone: return 384;
        case WebPermission::CameraAndMicrophone: return 385;
        case WebPermission::Screen: return 386;
        case WebPermission::Notifications: return 387;
        case WebPermission::Location: return 388;
    }
    return 383;
}

int problemText(CertificateProblem problem) {
    switch (problem) {
        case CertificateProblem::WrongName: return 393;
        case CertificateProblem::Date: return 394;
        case CertificateProblem::Authority: return 395;
        case CertificateProblem::Revoked: return 396;
        case CertificateProblem::Other: return 397;
    }
    return 397;
}

bool mayAsk(const Application& app, bool windowSeen) { return windowSeen && !app.App.showModeOn; }

}  // namespace

std::string fillIn(const std::string& text, const std::string& first, const std::string& second) {
    std::string out;
    out.reserve(text.size() + first.size() + second.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void answerPermission(Application& app, bool windowSeen, const std::string& site, WebPermission what,
                      std::function<void(bool)> answer) {
    if (!mayAsk(app, windowSeen)) return answer(false);
    AppState& App = app.App;
    if (auto known = App.siteAnswers.find(site, what)) return answer(*known);
    app.platform.dialogs().ask(fillIn(App.strings[questionText(what)], site), App.strings[kPermissionTitle],
                               App.strings[kAllowText], App.strings[kDenyText],
                               [&App, site, what, answer](bool allowed) {
                                   App.siteAnswers.remember(site, what, allowed);
                                   answer(allowed);
                               });
}

void answerCertificate(Application& app, bool windowSeen, const std::string& site, CertificateProblem problem,
                       std::function<void(bool)> answer) {
    if (!mayAsk(app, windowSeen)) return answer(false);
    const StringTable& t = app.App.strings;
    app.platform.dialogs().ask(fillIn(t[kCertificateQuestion], site, t[problemText(problem)]), t[kCertificateTitle],
                               fillIn(t[kGoOnText], site), t[kBackText], std::move(answer));
}

}  // namespace corvano
