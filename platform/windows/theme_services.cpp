// Whether visual styles are used, the element table, and following changes of the style.

#include "platform/windows/theme_services.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QStyle>
#include <vector>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {
namespace {

bool g_visualStyles = true;

// Sees the events that tell of a new style, palette or desktop theme (to any object) and lets
// the services take the change once, after the event that brought it.
class StyleWatch : public QObject {
public:
    // Owned by the application object, whose events it watches.
    explicit StyleWatch(TThemeServices& services) : QObject(qApp), services_(services) {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::StyleChange:
            case QEvent::ThemeChange:
            case QEvent::ApplicationPaletteChange:
                if (!pending_) {
                    pending_ = true;
                    QMetaObject::invokeMethod(
                        this,
                        [this] {
                            pending_ = false;
                            services_.ThemeChanged();
                        },
                        Qt::QueuedConnection);
                }
                break;
            default:
                break;
        }
        return false;
    }

private:
    TThemeServices& services_;
    bool pending_ = false;
};

}  // namespace

TThemeServices::TThemeServices() {
    UpdateThemes();
}

void TThemeServices::UpdateThemes() {
    available_ = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
                 QApplication::style() != nullptr;
    useThemes_ = available_ && g_visualStyles;
    controlsEnabled_ = useThemes_;
}

void TThemeServices::ThemeChanged() {
    UpdateThemes();
    if (OnThemeChange) OnThemeChange();
    // Every window with a face is told, as the desktop tells every window of a theme switch.
    std::vector<QPointer<HostWidget>> hosts;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* host = dynamic_cast<HostWidget*>(w)) hosts.emplace_back(host);
    for (const QPointer<HostWidget>& host : hosts)
        if (host && host->Alive()) DeliverMessage(host->Handle(), WM_THEMECHANGED, 0, 0);
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedEdit detail) {
    const int d = int(detail);
    if (d >= 2 && d <= 8) return {teEdit, EP_EDITTEXT, d - 1};
    if (d == 9) return {teEdit, EP_CARET, 1};
    return {teEdit, 0, d + 1};
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedHeader detail) {
    const int d = int(detail);
    if (d >= 2 && d <= 4) return {teHeader, HP_HEADERITEM, d - 1};
    if (d >= 5 && d <= 7) return {teHeader, HP_HEADERITEMLEFT, d - 4};
    if (d >= 8 && d <= 10) return {teHeader, HP_HEADERITEMRIGHT, d - 7};
    if (d == 11 || d == 12) return {teHeader, HP_HEADERSORTARROW, d - 10};
    return {teHeader, 0, d + 1};
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTreeview detail) {
    const int d = int(detail);
    if (d >= 2 && d <= 6) return {teTreeview, TVP_TREEITEM, d - 1};
    if (d == 7 || d == 8) return {teTreeview, TVP_GLYPH, d - 6};
    if (d == 9) return {teTreeview, TVP_BRANCH, 1};
    return {teTreeview, 0, d + 1};
}

TThemeServices& ThemeServices() {
    static TThemeServices* services = [] {
        EnsureGuiApplication();
        // The services live as long as the process, as the toolkit's style does.
        auto* s = new TThemeServices;
        new StyleWatch(*s);
        return s;
    }();
    return *services;
}

void SetVisualStylesEnabled(bool on) {
    if (on == g_visualStyles) return;
    g_visualStyles = on;
    ThemeServices().ThemeChanged();
}

bool VisualStylesEnabled() {
    return g_visualStyles;
}

}  // namespace rv
