#include "Symbols.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <cmath>
#include <memory>

namespace Symbols {

namespace {

// Symbol names are lower-case words joined by dots ("star.fill"); anything
// else (a path, an empty text) names no symbol.
bool isSymbolName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[a-z0-9]+(\\.[a-z0-9]+)*$"));
    return pattern.match(name).hasMatch();
}

QString resourcePath(const QString &name)
{
    return QStringLiteral(":/symbols/%1.svg").arg(name);
}

// Renderers are parsed once per name and kept for the process.
QSvgRenderer *renderer(const QString &name)
{
    static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        std::shared_ptr<QSvgRenderer> created;
        // Unknown names are remembered too, without asking the SVG parser
        // (which would warn about the missing file each time).
        if (isSymbolName(name) && QFile::exists(resourcePath(name))) {
            created = std::make_shared<QSvgRenderer>(resourcePath(name));
            if (!created->isValid())
                created.reset();
        }
        it = cache.insert(name, created);
    }
    return it->get();
}

// An icon engine that renders the tinted symbol at whatever size and scale is
// asked, so icons stay sharp on high-DPI screens.
class SymbolIconEngine : public QIconEngine
{
public:
    SymbolIconEngine(QString name, QColor color)
        : m_name(std::move(name))
        , m_color(color)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        QColor c = m_color;
        if (mode == QIcon::Disabled)
            c.setAlphaF(c.alphaF() * 0.4f);
        Symbols::paint(painter, m_name, rect, c);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QIconEngine *clone() const override { return new SymbolIconEngine(m_name, m_color); }

private:
    QString m_name;
    QColor m_color;
};

} // namespace

QStringList names()
{
    return {
        QStringLiteral("star"),
        QStringLiteral("star.fill"),
        QStringLiteral("exclamationmark.triangle.fill"),
        QStringLiteral("checkmark.circle.fill"),
        QStringLiteral("arrow.clockwise"),
        QStringLiteral("info.circle"),
        QStringLiteral("gear"),
        QStringLiteral("server.rack"),
        QStringLiteral("person.circle.fill"),
        QStringLiteral("brain.head.profile"),
        QStringLiteral("pencil.tip.crop.circle"),
    };
}

bool hasArtwork(const QString &name)
{
    return renderer(name) != nullptr;
}

void paint(QPainter *painter, const QString &name, const QRectF &rect, const QColor &color)
{
    QSvgRenderer *svg = renderer(name);
    if (!svg || rect.isEmpty())
        return;
    QSizeF size = svg->defaultSize();
    if (size.isEmpty())
        size = rect.size();
    size.scale(rect.size(), Qt::KeepAspectRatio);
    const QRectF target(rect.center() - QPointF(size.width() / 2, size.height() / 2), size);

    // Render into a transparent layer, then colour every painted pixel.
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QTransform &t = painter->worldTransform();
    const qreal scale = dpr * std::max(std::hypot(t.m11(), t.m12()), 0.01);
    QImage layer((target.size() * scale).toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        svg->render(&lp, QRectF(QPointF(0, 0), QSizeF(layer.size())));
        lp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        lp.fillRect(layer.rect(), color);
    }
    layer.setDevicePixelRatio(scale);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, layer);
    painter->restore();
}

QPixmap pixmap(const QString &name, const QSize &size, const QColor &color, qreal devicePixelRatio)
{
    QPixmap pm(size * devicePixelRatio);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(&p, name, QRectF(QPointF(0, 0), QSizeF(size)), color);
    return pm;
}

QIcon icon(const QString &name, const QColor &color)
{
    return QIcon(new SymbolIconEngine(name, color));
}

} // namespace Symbols
