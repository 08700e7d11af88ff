#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;
class QRectF;

// Our own symbol set: one SVG per symbol name the application uses, bundled
// as a resource (":/symbols/<name>.svg") and tinted when painted. The artwork
// is drawn in black on a transparent ground; painting replaces its colour.
namespace Symbols {

// Every symbol name the application uses.
QStringList names();

// Whether artwork exists for the name.
bool hasArtwork(const QString &name);

// Paints the symbol, tinted, scaled to fit `rect` with its aspect ratio kept.
void paint(QPainter *painter, const QString &name, const QRectF &rect, const QColor &color);

// A tinted pixmap of the given logical size for the device pixel ratio.
QPixmap pixmap(const QString &name, const QSize &size, const QColor &color, qreal devicePixelRatio = 1.0);

// A tinted icon, e.g. for a tab or a button.
QIcon icon(const QString &name, const QColor &color);

} // namespace Symbols
