#include "browser/PagePrompts.h"

#include "app/Application.h"

namespace corvano {

namespace {

TextId questionText(WebPermission what) {
    switch (what) {
        case WebPermission::Camera: return TextId::AsksCamera;
        case WebPermission::Microphone: return TextId::AsksMicrophone;
        case WebPermission::CameraAndMicrophone: return TextId::AsksCameraAndMicrophone;
        case WebPermission::Screen: return TextId::AsksScreen;
        case WebPermission::Notifications: return TextId::AsksNotifications;
        case WebPermission::Location: return TextId::AsksLocation;
    }
    return TextId::AsksCamera;
}

TextId problemText(CertificateProblem problem) {
    switch (problem) {
        case CertificateProblem::WrongName: return TextId::CertificateWrongName;
        case CertificateProblem::Date: return TextId::CertificateDate;
        case CertificateProblem::Authority: return TextId::CertificateAuthority;
        case CertificateProblem::Revoked: return TextId::CertificateRevoked;
        case CertificateProblem::Other: return TextId::CertificateFaulty;
    }
    return TextId::CertificateFaulty;
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
    app.platform.dialogs().ask(fillIn(App.strings[questionText(what)], site), App.strings[TextId::PermissionTitle],
                               App.strings[TextId::Allow], App.strings[TextId::Deny],
                               [&App, site, what, answer](bool allowed) {
                                   App.siteAnswers.remember(site, what, allowed);
                                   answer(allowed);
                               });
}

void answerCertificate(Application& app, bool windowSeen, const std::string& site, CertificateProblem problem,
                       std::function<void(bool)> answer) {
    if (!mayAsk(app, windowSeen)) return answer(false);
    const StringTable& t = app.App.strings;
    app.platform.dialogs().ask(fillIn(t[TextId::CertificateQuestion], site, t[problemText(problem)]), t[TextId::CertificateTitle],
                               fillIn(t[TextId::GoOnToSite], site), t[TextId::Back], std::move(answer));
}

}  // namespace corvano
