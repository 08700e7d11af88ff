#include "Symbols.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

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

// The artwork of one symbol, read from its SVG file into painter paths. The
// symbol files use a small subset of SVG (path, circle and rect elements with
// plain fill and stroke attributes), which this reads directly: drawing a
// symbol needs neither an SVG library nor its start-up cost.
struct Shape
{
    QPainterPath path;
    bool filled = true;
    qreal strokeWidth = 0; // 0: no stroke
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
};

struct Artwork
{
    QRectF viewBox;
    std::vector<Shape> shapes;
};

// Reads the numbers and flags of a path's data, in the SVG grammar (commas
// or white space between numbers, or none where a sign or a second decimal
// point starts the next one).
class PathScanner
{
public:
    explicit PathScanner(QStringView data)
        : m_data(data)
    {
    }

    void skipSeparators()
    {
        while (m_pos < m_data.size() && (m_data[m_pos].isSpace() || m_data[m_pos] == u','))
            ++m_pos;
    }
    bool atEnd()
    {
        skipSeparators();
        return m_pos >= m_data.size();
    }
    bool atNumber()
    {
        skipSeparators();
        if (m_pos >= m_data.size())
            return false;
        const QChar c = m_data[m_pos];
        return c.isDigit() || c == u'-' || c == u'+' || c == u'.';
    }
    QChar command() { return atEnd() ? QChar() : m_data[m_pos++]; }

    bool number(qreal &value)
    {
        if (!atNumber())
            return false;
        const qsizetype start = m_pos;
        if (m_data[m_pos] == u'-' || m_data[m_pos] == u'+')
            ++m_pos;
        bool seenPoint = false;
        while (m_pos < m_data.size()
               && (m_data[m_pos].isDigit() || (m_data[m_pos] == u'.' && !seenPoint))) {
            seenPoint = seenPoint || m_data[m_pos] == u'.';
            ++m_pos;
        }
        if (m_pos < m_data.size() && (m_data[m_pos] == u'e' || m_data[m_pos] == u'E')) {
            ++m_pos;
            if (m_pos < m_data.size() && (m_data[m_pos] == u'-' || m_data[m_pos] == u'+'))
                ++m_pos;
            while (m_pos < m_data.size() && m_data[m_pos].isDigit())
                ++m_pos;
        }
        bool ok = false;
        value = m_data.mid(start, m_pos - start).toDouble(&ok);
        return ok;
    }
    // An arc's flags are single digits and may be written without separators.
    bool flag(bool &value)
    {
        skipSeparators();
        if (m_pos >= m_data.size() || (m_data[m_pos] != u'0' && m_data[m_pos] != u'1'))
            return false;
        value = m_data[m_pos++] == u'1';
        return true;
    }

private:
    QStringView m_data;
    qsizetype m_pos = 0;
};

// Appends an elliptical arc from the path's current point, converting the
// SVG endpoint form to its centre form and that to cubic curves of at most a
// quarter turn each.
void arcTo(QPainterPath &path, qreal rx, qreal ry, qreal rotationDegrees, bool largeArc, bool sweep, QPointF end)
{
    const QPointF start = path.currentPosition();
    if (start == end)
        return;
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (rx == 0 || ry == 0) {
        path.lineTo(end);
        return;
    }
    const qreal phi = qDegreesToRadians(rotationDegrees);
    const qreal cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const qreal dx = (start.x() - end.x()) / 2, dy = (start.y() - end.y()) / 2;
    const qreal x1 = cosPhi * dx + sinPhi * dy;
    const qreal y1 = -sinPhi * dx + cosPhi * dy;
    const qreal lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const qreal numerator = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const qreal denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    qreal coefficient = denominator > 0 ? std::sqrt(std::max<qreal>(0, numerator / denominator)) : 0;
    if (largeArc == sweep)
        coefficient = -coefficient;
    const qreal cx1 = coefficient * rx * y1 / ry;
    const qreal cy1 = -coefficient * ry * x1 / rx;
    const qreal cx = cosPhi * cx1 - sinPhi * cy1 + (start.x() + end.x()) / 2;
    const qreal cy = sinPhi * cx1 + cosPhi * cy1 + (start.y() + end.y()) / 2;

    const auto angle = [](qreal ux, qreal uy, qreal vx, qreal vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const qreal theta = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    qreal delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0)
        delta -= 2 * M_PI;
    else if (sweep && delta < 0)
        delta += 2 * M_PI;

    const auto pointAt = [&](qreal t) {
        return QPointF(cx + rx * std::cos(t) * cosPhi - ry * std::sin(t) * sinPhi,
                       cy + rx * std::cos(t) * sinPhi + ry * std::sin(t) * cosPhi);
    };
    const auto tangentAt = [&](qreal t) {
        return QPointF(-rx * std::sin(t) * cosPhi - ry * std::cos(t) * sinPhi,
                       -rx * std::sin(t) * sinPhi + ry * std::cos(t) * cosPhi);
    };
    const int segments = std::max(1, int(std::ceil(std::abs(delta) / (M_PI / 2) - 1e-9)));
    const qreal step = delta / segments;
    const qreal handle = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < segments; ++i) {
        const qreal t1 = theta + i * step, t2 = t1 + step;
        const QPointF to = i + 1 == segments ? end : pointAt(t2);
        path.cubicTo(pointAt(t1) + handle * tangentAt(t1), to - handle * tangentAt(t2), to);
    }
}

// Builds a path from SVG path data; false on data it cannot read.
bool parsePathData(QStringView data, QPainterPath &path)
{
    PathScanner scan(data);
    QChar command;
    QPointF current, subpathStart, lastControl;
    QChar previous;
    while (!scan.atEnd()) {
        // A command letter may be left out when it repeats (after a move, a line).
        if (!scan.atNumber()) {
            command = scan.command();
        } else if (command.isNull()) {
            return false;
        } else if (command == u'M') {
            command = u'L';
        } else if (command == u'm') {
            command = u'l';
        }
        const bool relative = command.isLower();
        const QPointF origin = relative ? current : QPointF();
        const auto point = [&](QPointF &p) {
            qreal x = 0, y = 0;
            if (!scan.number(x) || !scan.number(y))
                return false;
            p = origin + QPointF(x, y);
            return true;
        };
        QPointF p, c1, c2;
        qreal value = 0;
        switch (command.toUpper().unicode()) {
        case u'M':
            if (!point(p))
                return false;
            path.moveTo(p);
            current = subpathStart = p;
            break;
        case u'L':
            if (!point(p))
                return false;
            path.lineTo(p);
            current = p;
            break;
        case u'H':
            if (!scan.number(value))
                return false;
            current.setX(relative ? current.x() + value : value);
            path.lineTo(current);
            break;
        case u'V':
            if (!scan.number(value))
                return false;
            current.setY(relative ? current.y() + value : value);
            path.lineTo(current);
            break;
        case u'C':
            if (!point(c1) || !point(c2) || !point(p))
                return false;
            path.cubicTo(c1, c2, p);
            lastControl = c2;
            current = p;
            break;
        case u'S':
            c1 = (previous.toUpper() == u'C' || previous.toUpper() == u'S') ? 2 * current - lastControl : current;
            if (!point(c2) || !point(p))
                return false;
            path.cubicTo(c1, c2, p);
            lastControl = c2;
            current = p;
            break;
        case u'Q':
            if (!point(c1) || !point(p))
                return false;
            path.quadTo(c1, p);
            current = p;
            break;
        case u'A': {
            qreal rx = 0, ry = 0, rotation = 0;
            bool largeArc = false, sweep = false;
            if (!scan.number(rx) || !scan.number(ry) || !scan.number(rotation) || !scan.flag(largeArc)
                || !scan.flag(sweep) || !point(p))
                return false;
            arcTo(path, rx, ry, rotation, largeArc, sweep, p);
            current = p;
            break;
        }
        case u'Z':
            path.closeSubpath();
            current = subpathStart;
            break;
        default:
            return false;
        }
        previous = command;
    }
    return !path.isEmpty();
}

qreal numberAttribute(const QXmlStreamAttributes &attributes, QLatin1String name, qreal fallback = 0)
{
    bool ok = false;
    const qreal value = attributes.value(name).toDouble(&ok);
    return ok ? value : fallback;
}

// Reads one symbol file; no artwork when the file is missing, is not SVG,
// or uses anything beyond the subset described above.
std::optional<Artwork> readArtwork(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader xml(&file);
    Artwork artwork;
    bool inSvg = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!inSvg) {
            if (xml.name() != u"svg")
                return std::nullopt;
            inSvg = true;
            const QList<QStringView> box = attributes.value(QLatin1String("viewBox")).split(u' ', Qt::SkipEmptyParts);
            if (box.size() == 4)
                artwork.viewBox = QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
            else
                artwork.viewBox = QRectF(0, 0, numberAttribute(attributes, QLatin1String("width")), numberAttribute(attributes, QLatin1String("height")));
            continue;
        }
        Shape shape;
        if (xml.name() == u"path") {
            if (!parsePathData(attributes.value(QLatin1String("d")), shape.path))
                return std::nullopt;
        } else if (xml.name() == u"circle") {
            const qreal r = numberAttribute(attributes, QLatin1String("r"));
            shape.path.addEllipse(QPointF(numberAttribute(attributes, QLatin1String("cx")), numberAttribute(attributes, QLatin1String("cy"))), r, r);
        } else if (xml.name() == u"rect") {
            const QRectF box(numberAttribute(attributes, QLatin1String("x")), numberAttribute(attributes, QLatin1String("y")),
                             numberAttribute(attributes, QLatin1String("width")), numberAttribute(attributes, QLatin1String("height")));
            const qreal rx = numberAttribute(attributes, QLatin1String("rx"), numberAttribute(attributes, QLatin1String("ry")));
            shape.path.addRoundedRect(box, rx, numberAttribute(attributes, QLatin1String("ry"), rx));
        } else {
            return std::nullopt;
        }
        // The artwork is black on transparent: only whether a shape is
        // filled or stroked matters, never its colour.
        shape.filled = attributes.value(QLatin1String("fill")) != u"none";
        if (attributes.value(QLatin1String("fill-rule")) == u"evenodd")
            shape.path.setFillRule(Qt::OddEvenFill);
        else
            shape.path.setFillRule(Qt::WindingFill);
        if (attributes.hasAttribute(QLatin1String("stroke")) && attributes.value(QLatin1String("stroke")) != u"none")
            shape.strokeWidth = numberAttribute(attributes, QLatin1String("stroke-width"), 1);
        const QStringView cap = attributes.value(QLatin1String("stroke-linecap"));
        shape.cap = cap == u"round" ? Qt::RoundCap : cap == u"square" ? Qt::SquareCap : Qt::FlatCap;
        const QStringView join = attributes.value(QLatin1String("stroke-linejoin"));
        shape.join = join == u"round" ? Qt::RoundJoin : join == u"bevel" ? Qt::BevelJoin : Qt::SvgMiterJoin;
        artwork.shapes.push_back(std::move(shape));
    }
    if (xml.hasError() || artwork.shapes.empty() || artwork.viewBox.isEmpty())
        return std::nullopt;
    return artwork;
}

// Artwork is read once per name and kept for the process.
const Artwork *artwork(const QString &name)
{
    static QHash<QString, std::shared_ptr<const Artwork>> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        std::shared_ptr<const Artwork> read;
        // Unknown names are remembered too, without opening a file each time.
        if (isSymbolName(name)) {
            if (std::optional<Artwork> parsed = readArtwork(resourcePath(name)))
                read = std::make_shared<const Artwork>(std::move(*parsed));
        }
        it = cache.insert(name, read);
    }
    return it->get();
}

// Draws the artwork in opaque black, its view box mapped onto `target`.
void drawArtwork(QPainter &painter, const Artwork &art, const QRectF &target)
{
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / art.viewBox.width(), target.height() / art.viewBox.height());
    painter.translate(-art.viewBox.topLeft());
    for (const Shape &shape : art.shapes) {
        if (shape.filled)
            painter.fillPath(shape.path, Qt::black);
        if (shape.strokeWidth > 0) {
            QPen pen(Qt::black, shape.strokeWidth, Qt::SolidLine, shape.cap, shape.join);
            pen.setMiterLimit(4); // as in SVG
            painter.strokePath(shape.path, pen);
        }
    }
    painter.restore();
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
    return artwork(name) != nullptr;
}

void paint(QPainter *painter, const QString &name, const QRectF &rect, const QColor &color)
{
    const Artwork *art = artwork(name);
    if (!art || rect.isEmpty())
        return;
    QSizeF size = art->viewBox.size();
    size.scale(rect.size(), Qt::KeepAspectRatio);
    const QRectF target(rect.center() - QPointF(size.width() / 2, size.height() / 2), size);

    // Render into a transparent layer, then colour every painted pixel. The
    // layer depends only on the symbol, its size in device pixels and the
    // colour, so the last few are kept: stars and spinning symbols are
    // redrawn often in the same few forms.
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QTransform &t = painter->worldTransform();
    const qreal scale = dpr * std::max(std::hypot(t.m11(), t.m12()), 0.01);
    const QSize layerSize = (target.size() * scale).toSize().expandedTo(QSize(1, 1));
    struct Layer
    {
        const Artwork *art;
        QSize size;
        QRgba64 color;
        QImage image;
    };
    static std::vector<Layer> layers;
    auto cached = std::find_if(layers.begin(), layers.end(), [&](const Layer &l) {
        return l.art == art && l.size == layerSize && l.color == color.rgba64();
    });
    if (cached == layers.end()) {
        QImage image(layerSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter lp(&image);
        lp.setRenderHint(QPainter::Antialiasing);
        drawArtwork(lp, *art, QRectF(QPointF(0, 0), QSizeF(layerSize)));
        lp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        lp.fillRect(image.rect(), color);
        lp.end();
        image.setDevicePixelRatio(scale);
        constexpr size_t keptLayers = 24;
        if (layers.size() >= keptLayers)
            layers.erase(layers.begin());
        layers.push_back(Layer{art, layerSize, color.rgba64(), image});
        cached = layers.end() - 1;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, cached->image);
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
