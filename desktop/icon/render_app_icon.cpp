// render_app_icon: writes the application icon for the desktop's icon
// theme, at build time.
//
//   render_app_icon OUTDIR NAME SIZE...
//
// writes OUTDIR/scalable/apps/NAME.svg and, for every SIZE,
// OUTDIR/SIZExSIZE/apps/NAME.png. Exit status 0, or 1 when a file could
// not be written.
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>
#include <string>

#include "AppIconArt.h"

namespace {

bool WriteFile(const QString& path, const std::string& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content.data(), static_cast<qint64>(content.size())) ==
               static_cast<qint64>(content.size()) &&
           file.flush();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: render_app_icon OUTDIR NAME SIZE...\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);

    const QString scalable = QStringLiteral("scalable/apps");
    if (!out.mkpath(scalable) ||
        !WriteFile(out.filePath(scalable + u'/' + name + QStringLiteral(".svg")), AppIconSvg())) {
        std::fprintf(stderr, "render_app_icon: cannot write the scalable icon\n");
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "render_app_icon: bad size %s\n", argv[i]);
            return 1;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!out.mkpath(folder) ||
            !RenderAppIcon(size).save(out.filePath(folder + u'/' + name + QStringLiteral(".png")),
                                      "PNG")) {
            std::fprintf(stderr, "render_app_icon: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}
