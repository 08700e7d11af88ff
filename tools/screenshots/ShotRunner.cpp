#include "ShotRunner.h"

#include "StdoutCapture.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace ShotRunner {

namespace {

const QString fontFamily = QStringLiteral("DejaVu Sans");
constexpr int fontPointSize = 10;

} // namespace

void prepareProcess(const QString &configDir)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // QSettings and anything else that reads the user's configuration look
    // here instead.
    qputenv("XDG_CONFIG_HOME", configDir.toLocal8Bit());
    // Headless sessions often have no runtime directory; the temporary one
    // (private to this user) serves, instead of a warning.
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", configDir.toLocal8Bit());
    // One device pixel per pixel and no font scaling from the environment.
    for (const char *name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_STYLE_OVERRIDE"})
        qunsetenv(name);
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("TZ", "UTC");
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    // The offscreen platform says so each time a window asks for something
    // that only a real desktop does (raising a window, size hints).
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
            return;
        if (previous)
            previous(type, context, message);
    });
}

void prepareApplication()
{
    // The application's own names, so that anything that reads the default
    // preferences looks where the application would (in the temporary
    // configuration directory).
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmere"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(fontFamily, fontPointSize);
    QApplication::setFont(font);
    if (QFontInfo(font).family() != fontFamily) {
        std::fprintf(stderr, "quillmere-screenshots: the font %s is missing (scripts/bootstrap installs "
                             "fonts-dejavu-core); the pictures will not match the committed ones.\n",
                     qPrintable(fontFamily));
    }
    // A cursor that blinks would be on in some pictures and off in others.
    QApplication::setCursorFlashTime(0);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Menus and drop-down lists open at once instead of sliding or fading.
    for (Qt::UIEffect effect : {Qt::UI_AnimateMenu, Qt::UI_FadeMenu, Qt::UI_AnimateCombo, Qt::UI_AnimateTooltip,
                                Qt::UI_FadeTooltip})
        QApplication::setEffectEnabled(effect, false);
}

QPalette lightPalette()
{
    return QApplication::style()->standardPalette();
}

QPalette darkPalette()
{
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(235, 235, 240);
    const QColor dimmed(128, 128, 132);
    const QColor button(58, 58, 62);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::PlaceholderText, dimmed);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(64, 156, 255));
    p.setColor(QPalette::LinkVisited, QColor(180, 130, 255));
    p.setColor(QPalette::Highlight, QColor(10, 100, 220));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, QColor(80, 80, 84));
    p.setColor(QPalette::Midlight, QColor(66, 66, 70));
    p.setColor(QPalette::Mid, QColor(40, 40, 42));
    p.setColor(QPalette::Dark, QColor(20, 20, 22));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::WindowText, dimmed);
    p.setColor(QPalette::Disabled, QPalette::Text, dimmed);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, dimmed);
    p.setColor(QPalette::Disabled, QPalette::Button, window);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(70, 70, 74));
    return p;
}

QList<ShotPalette> palettes()
{
    return {{QStringLiteral("light"), lightPalette()}, {QStringLiteral("dark"), darkPalette()}};
}

QString shotName(const QString &scene, const QString &palette)
{
    return scene + QLatin1Char('-') + palette;
}

bool isSelected(const QString &shot, const QStringList &patterns)
{
    if (patterns.isEmpty())
        return true;
    for (const QString &pattern : patterns) {
        if (shot.contains(pattern))
            return true;
    }
    return false;
}

bool isValidSceneName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
    return pattern.match(name).hasMatch();
}

namespace {

void processPending()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Finished arcs and fades, and spinners at a fixed angle: the picture must
// not depend on when it was taken.
void stillAnimations(QWidget *window)
{
    const QList<QAbstractAnimation *> animations = window->findChildren<QAbstractAnimation *>();
    for (QAbstractAnimation *animation : animations) {
        if (animation->group() || animation->state() == QAbstractAnimation::Stopped)
            continue;
        if (animation->totalDuration() < 0) {
            animation->pause();
            animation->setCurrentTime(0);
        } else {
            animation->setCurrentTime(animation->totalDuration());
        }
    }
}

// Whether a popup was opened from the window (directly, or from another
// popup of it, like a submenu).
bool opensFrom(const QWidget *popup, const QWidget *window)
{
    for (const QWidget *ancestor = popup->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (ancestor == window)
            return true;
    }
    return false;
}

int popupDepth(const QWidget *popup)
{
    int depth = 0;
    for (const QWidget *ancestor = popup->parentWidget(); ancestor; ancestor = ancestor->parentWidget())
        depth += ancestor->windowType() == Qt::Popup ? 1 : 0;
    return depth;
}

// The window's picture with its open menus and drop-down lists painted over
// it where they stand, as a picture of the screen would show them.
QImage withPopups(const QWidget *window, QImage picture)
{
    QList<QWidget *> popups;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowType() == Qt::Popup && opensFrom(widget, window))
            popups.append(widget);
    }
    std::stable_sort(popups.begin(), popups.end(),
                     [](const QWidget *a, const QWidget *b) { return popupDepth(a) < popupDepth(b); });
    QPainter painter(&picture);
    for (QWidget *popup : std::as_const(popups))
        painter.drawImage(popup->mapToGlobal(QPoint()) - window->mapToGlobal(QPoint()), popup->grab().toImage());
    return picture;
}

} // namespace

QImage photograph(QWidget *widget)
{
    // A change travels up nested layouts one posted event per level, so the
    // picture is taken again until two takes agree.
    QImage picture;
    for (int take = 0; take < 20; ++take) {
        processPending();
        stillAnimations(widget->window());
        processPending();
        QImage again = widget->grab().toImage();
        if (widget->isWindow())
            again = withPopups(widget, std::move(again));
        if (take > 0 && again == picture)
            break;
        picture = std::move(again);
    }
    return picture;
}

bool savePicture(const QImage &image, const QString &path)
{
    // Windows are opaque; without an alpha channel the file is smaller. The
    // lowest quality setting is PNG's strongest (lossless) compression.
    return image.convertToFormat(QImage::Format_RGB32).save(path, "PNG", 0);
}

QList<ShotOutcome> run(const QList<Scene> &scenes, const QList<ShotPalette> &palettes, const QStringList &patterns,
                       const QDir &out, const std::function<void(const ShotOutcome &)> &report,
                       std::chrono::milliseconds waitTimeout)
{
    QList<ShotOutcome> outcomes;
    for (const ShotPalette &palette : palettes) {
        for (const Scene &scene : scenes) {
            ShotOutcome outcome;
            outcome.shot = shotName(scene.name, palette.name);
            if (!isSelected(outcome.shot, patterns))
                continue;
            try {
                QImage picture;
                {
                    // The catalogue's diagnostic lines stay out of the
                    // tool's own output.
                    StdoutCapture diagnostics;
                    // Torn down before saving, so that a failure to save
                    // leaves no window behind either.
                    Studio studio(palette.palette, waitTimeout);
                    QWidget *subject = scene.stage(studio);
                    if (!subject)
                        throw SceneFailure(QStringLiteral("the scene gave nothing to photograph"));
                    picture = photograph(subject);
                }
                const QString path = out.filePath(outcome.shot + QStringLiteral(".png"));
                if (savePicture(picture, path))
                    outcome.file = path;
                else
                    outcome.failure = QStringLiteral("cannot write %1").arg(path);
            } catch (const std::exception &error) {
                outcome.failure = QString::fromUtf8(error.what());
            }
            if (report)
                report(outcome);
            outcomes.append(outcome);
        }
    }
    return outcomes;
}

} // namespace ShotRunner
