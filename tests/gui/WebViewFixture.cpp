#include "WebViewFixture.h"

#include <QWebEnginePage>
#include <QWebEngineScript>

#include "app/LangFile.h"
#include "app/TextFile.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtWebPage.h"

namespace corvano::test {

namespace {

QByteArray page(const char* title, const char* body, const char* head = "") {
    return QByteArray("<!DOCTYPE html><html><head><title>") + title + "</title>" + head + "</head><body>" + body +
           "</body></html>";
}

}  // namespace

LocalHttpServer& WebViewFixture::server() {
    static LocalHttpServer* s = [] {
        auto* srv = new LocalHttpServer;
        srv->start();
        srv->addPage("/first", page("First Page", "<p id=\"t\">Hello Corvano world</p><a href=\"/second\">next</a>",
                                    "<style>body{background:#ff0000}</style>"));
        srv->addPage("/second", page("Second Page", "<p>Second body</p>"));
        srv->addPage("/edit", page("Edit", "<p id=\"t\">Copy this text</p><input id=\"f\" value=\"\">"));
        srv->addPage("/find", page("Find", "<p>apple pear apple</p><p>plum apple</p>"));
        srv->addPage("/slow", page("Slow", "<p>late</p>"), 1500);
        srv->addPage("/opener", page("Opener", "<p>opener</p>",
                                     "<script>var w=null;function pop(){w=window.open('/child','_blank');"
                                     "return w!==null;}</script>"));
        srv->addPage("/child", page("Child", "<p>child page</p>"));
        srv->addPage("/selfclose", page("Self closing", "<p>bye</p>",
                                        "<script>setTimeout(function(){window.close();},300);</script>"));
        srv->addPage("/closer", page("Closer", "<p>closer</p>"));
        return srv;
    }();
    return *s;
}

// The control's own widgets speak the shipped English, as in the program.
static void useEnglishTexts() {
    static const auto english = [] {
        auto App = std::make_shared<AppState>();
        Read_CFG_Text(*App, textfile::readAll(std::string(CORVANO_SHARE_DIR) + "/Lang_english.txt").value_or(""));
        return App;
    }();
    qt::QtTexts::instance()->setLookup([](int n) { return english->strings.byNumber(n); });
}

WebViewFixture::WebViewFixture() : window(std::make_unique<QWidget>()) {
    useEnglishTexts();
    server();
    window->resize(800, 600);
    view = std::make_unique<qt::QtWebView>(window.get());
    view->widget()->setGeometry(0, 0, 800, 600);
    view->setEvents(&events);
    window->show();
    window->activateWindow();
}

WebViewFixture::~WebViewFixture() {
    qt::pagedialogs::setDialogHook({});
    view.reset();
    window.reset();
    qt::QtTexts::instance()->setLookup(nullptr);
}

bool WebViewFixture::load(const QString& path, int timeoutMs) {
    const int before = events.documentComplete;
    view->Navigate(server().address(path).toStdString());
    return waitUntil([&] { return events.documentComplete > before && !view->Busy(); }, timeoutMs);
}

QVariant WebViewFixture::js(const QString& script) {
    QWebEnginePage* p = host()->page();
    auto v = awaitAnswer<QVariant>([p, script](std::function<void(QVariant)> done) {
        p->runJavaScript(script, QWebEngineScript::MainWorld, [done](const QVariant& r) { done(r); });
    }, 5000);
    return v.value_or(QVariant());
}

}  // namespace corvano::test
