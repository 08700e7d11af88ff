#include "SettingsView.h"

#include "ModelSettingsView.h"
#include "OllamaSettingsView.h"
#include "catalogue/AppSettings.h"
#include "widgets/Retranslate.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>

SettingsView::SettingsView(QWidget *parent)
    : SettingsView(AppSettings::shared(), parent)
{
}

SettingsView::SettingsView(AppSettings &settings, QWidget *parent)
    : QTabWidget(parent)
    , m_general(new OllamaSettingsView(settings))
    , m_model(new ModelSettingsView(settings))
{
    setObjectName(QStringLiteral("settings"));
    applyZoomedSize();
    setDocumentMode(true);
    tabBar()->setObjectName(QStringLiteral("settingsTabs"));
    tabBar()->setExpanding(false);
    tabBar()->setDrawBase(true);
    setUsesScrollButtons(false);
    // The General tab scrolls when a large zoom makes it taller than the
    // window can grow on the screen; the Model tab scrolls on its own.
    auto *generalArea = new QScrollArea;
    generalArea->setObjectName(QStringLiteral("generalScrollArea"));
    generalArea->setWidgetResizable(true);
    generalArea->setFrameShape(QFrame::NoFrame);
    generalArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    generalArea->viewport()->setAutoFillBackground(false);
    generalArea->setWidget(m_general);
    addTab(generalArea, QString());
    addTab(m_model, QString());
    Retranslate::texts(this, [this, generalArea] {
        setAccessibleName(tr("Settings"));
        generalArea->setAccessibleName(tr("General"));
        setTabText(0, tr("General"));
        setTabText(1, tr("Model"));
        setTabToolTip(0, tr("Server URL and language"));
        setTabToolTip(1, tr("Models for both demos"));
        m_general->setAccessibleName(tr("General"));
        m_model->setAccessibleName(tr("Model"));
    });
    setCurrentIndex(0);
    applyIcons();
}

void SettingsView::changeEvent(QEvent *event)
{
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyIcons();
    if (event->type() == QEvent::FontChange)
        applyZoomedSize();
}

void SettingsView::applyZoomedSize()
{
    // Room left on the screen for the window's title bar and frame.
    constexpr int titleBarAllowance = 48;
    // 600 by 500 at 100 %, growing with the zoom like the texts inside, but
    // never past the screen's free area (the tabs scroll instead); the
    // controls keep a least size, so the window does not shrink below it.
    QSize size(qMax(600, TextStyles::scaled(600)), qMax(500, TextStyles::scaled(500)));
    if (const QScreen *where = screen())
        size = size.boundedTo(where->availableGeometry().size() - QSize(0, titleBarAllowance));
    setFixedSize(size.expandedTo(QSize(600, 500)));
}

void SettingsView::applyIcons()
{
    const QColor color = palette().color(QPalette::WindowText);
    setTabIcon(0, Symbols::icon(QStringLiteral("gear"), color));
    setTabIcon(1, Symbols::icon(QStringLiteral("server.rack"), color));
}
