// The program's icons on Qt.
#include <QIcon>

#include "ui/ResourceIds.h"
#include "ui/platform/qt/DialogBuilder.h"

struct IconResource {
    QIcon icon;
};

// The resource file lives in this static library; its data must be
// registered before the first lookup. (Outside any namespace: the macro
// declares the registration function where it is used.)
static void InitIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(korr2ld);
        return true;
    }();
    (void)registered;
}

HICON LoadIcon(UINT id) {
    if (id != IDR_MAINFRAME) {
        return nullptr;
    }
    // The installed icon theme's, at every size the desktop asks for; the
    // one embedded by resources/korr2ld.qrc (32 x 32 pixels, 16 colours)
    // when the program runs uninstalled. A shared resource, never released:
    // no icon outlives the application object that way.
    static const IconResource* const mainIcon = [] {
        InitIconResources();
        return new IconResource{QIcon::fromTheme(QStringLiteral(K2L_APP_ID),
                                                 QIcon(QStringLiteral(":/korr2ld/korr2ld.xpm")))};
    }();
    return mainIcon;
}

QIcon QtIcon(HICON icon) {
    return icon != nullptr ? icon->icon : QIcon();
}
