// Renders an SVG into square PNGs, for the hicolor icon sizes that desktops
// look up before they fall back to the scalable icon.
//
//   quillmere-render-icon <input.svg> <output-directory> <size>...
//
// writes <output-directory>/<size>.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Rendering needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: quillmere-render-icon <input.svg> <output-directory> <size>...\n", stderr);
        return 2;
    }

    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "quillmere-render-icon: cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    const QDir output(arguments.at(2));
    if (!output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "quillmere-render-icon: cannot create %s\n", qPrintable(arguments.at(2)));
        return 1;
    }

    for (const QString &sizeText : arguments.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0 || size > 4096) {
            std::fprintf(stderr, "quillmere-render-icon: bad size %s\n", qPrintable(sizeText));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            // Keep the artwork's proportions, centred in the square.
            QSizeF fitted = renderer.defaultSize().isEmpty() ? QSizeF(size, size) : QSizeF(renderer.defaultSize());
            fitted.scale(size, size, Qt::KeepAspectRatio);
            renderer.render(&painter, QRectF(QPointF((size - fitted.width()) / 2, (size - fitted.height()) / 2), fitted));
        }
        const QString path = output.filePath(QStringLiteral("%1.png").arg(size));
        if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "quillmere-render-icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
