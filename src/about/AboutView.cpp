#include "AboutView.h"

#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace {

constexpr int viewWidth = 500;
constexpr int outerMargin = 40;
constexpr int spacing = 20;
constexpr int iconSide = 128;
constexpr qreal iconCornerRadius = 20;
constexpr int fallbackSymbolSide = 100;
constexpr int textSideMargin = 40;

// The application icon: the artwork stretched to the widget's square and
// clipped to continuous rounded corners.
class AppIconView : public QWidget
{
public:
    AppIconView(const QString &resource, QWidget *parent)
        : QWidget(parent)
        , m_renderer(resource)
    {
        setFixedSize(iconSide, iconSide);
        setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setClipPath(RoundedPanel::continuousRoundedRect(QRectF(rect()), iconCornerRadius));
        m_renderer.render(&p, QRectF(rect()));
    }

private:
    QSvgRenderer m_renderer;
};

QWidget *makeIcon(const AppInfo &info, QWidget *parent)
{
    if (info.hasIcon()) {
        auto *icon = new AppIconView(*info.iconResource, parent);
        icon->setObjectName(QStringLiteral("appIcon"));
        auto *shadow = new QGraphicsDropShadowEffect(icon);
        shadow->setColor(QColor(0, 0, 0, 51));
        shadow->setBlurRadius(10);
        shadow->setOffset(0, 5);
        icon->setGraphicsEffect(shadow);
        return icon;
    }
    auto *symbol = new SymbolView(QStringLiteral("brain.head.profile"), fallbackSymbolSide, QColor(), parent);
    symbol->setObjectName(QStringLiteral("appIconSymbol"));
    return symbol;
}

QLabel *makeLabel(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

AboutView::AboutView(QWidget *parent)
    : AboutView(AppInfo::fromBuild(), parent)
{
}

AboutView::AboutView(const AppInfo &info, QWidget *parent)
    : QWidget(parent)
    , m_info(info)
    , m_layout(new QVBoxLayout(this))
    , m_icon(makeIcon(info, this))
    , m_name(makeLabel(QStringLiteral("Quillmere"), QStringLiteral("nameLabel"), this))
    , m_version(makeLabel(QString(), QStringLiteral("versionLabel"), this))
    , m_description(makeLabel(QString(), QStringLiteral("descriptionLabel"), this))
    , m_divider(new QFrame(this))
    , m_creditSymbol(new SymbolView(QStringLiteral("person.circle.fill"), 16, QColor(), this))
    , m_createdBy(makeLabel(QString(), QStringLiteral("createdByLabel"), this))
    , m_author(makeLabel(QString(), QStringLiteral("authorLabel"), this))
    , m_copyright(makeLabel(info.copyright.value_or(QString()), QStringLiteral("copyrightLabel"), this))
    , m_okButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("aboutView"));
    m_divider->setObjectName(QStringLiteral("divider"));
    m_creditSymbol->setObjectName(QStringLiteral("creditSymbol"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    Retranslate::texts(this, [this] {
        m_version->setText(m_info.versionLine().value_or(QString()));
        m_description->setText(tr(descriptionText));
        m_createdBy->setText(tr("Created by"));
        m_author->setText(tr(authorText));
        m_okButton->setText(tr("OK"));
    });

    QFont nameFont = font();
    nameFont.setPixelSize(36);
    nameFont.setWeight(QFont::Bold);
    m_name->setFont(nameFont);
    TextStyles::apply(m_version, TextStyle::Subheadline);
    TextStyles::apply(m_description, TextStyle::Body);
    TextStyles::apply(m_createdBy, TextStyle::Subheadline);
    TextStyles::apply(m_author, TextStyle::Title3, QFont::DemiBold);
    TextStyles::apply(m_copyright, TextStyle::Caption);
    m_creditSymbol->setSide(QFontMetrics(m_createdBy->font()).height());

    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignHCenter);
    m_description->setContentsMargins(textSideMargin, 0, textSideMargin, 0);
    m_copyright->setWordWrap(true);
    m_copyright->setAlignment(Qt::AlignHCenter);
    m_copyright->setContentsMargins(0, 4, 0, 0);

    m_divider->setFrameShape(QFrame::HLine);
    m_divider->setFrameShadow(QFrame::Sunken);

    // A large button that Return presses from anywhere in the view.
    m_okButton->setDefault(true);
    m_okButton->setMinimumSize(110, 32);
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, m_okButton, [this] { m_okButton->animateClick(); });
    }
    connect(m_okButton, &QPushButton::clicked, this, &AboutView::dismissRequested);

    m_layout->setContentsMargins(outerMargin, outerMargin, outerMargin, outerMargin);
    m_layout->setSpacing(spacing);
    m_layout->addWidget(m_icon, 0, Qt::AlignHCenter);
    m_layout->addWidget(m_name, 0, Qt::AlignHCenter);
    if (info.versionLine())
        m_layout->addWidget(m_version, 0, Qt::AlignHCenter);
    else
        m_version->hide();
    m_layout->addWidget(m_description);

    auto *dividerRow = new QHBoxLayout;
    dividerRow->setContentsMargins(textSideMargin, 0, textSideMargin, 0);
    dividerRow->addWidget(m_divider);
    m_layout->addLayout(dividerRow);

    auto *creditRow = new QHBoxLayout;
    creditRow->setSpacing(6);
    creditRow->addStretch();
    creditRow->addWidget(m_creditSymbol, 0, Qt::AlignVCenter);
    creditRow->addWidget(m_createdBy, 0, Qt::AlignVCenter);
    creditRow->addStretch();
    auto *credit = new QVBoxLayout;
    credit->setSpacing(8);
    credit->addLayout(creditRow);
    credit->addWidget(m_author, 0, Qt::AlignHCenter);
    m_layout->addLayout(credit);

    if (info.copyright)
        m_layout->addWidget(m_copyright);
    else
        m_copyright->hide();
    m_layout->addWidget(m_okButton, 0, Qt::AlignHCenter);

    // Fixed width; the height is whatever the wrapped texts need.
    const int height = m_layout->hasHeightForWidth() ? m_layout->totalHeightForWidth(viewWidth)
                                                     : m_layout->totalSizeHint().height();
    setFixedSize(viewWidth, height);
    setFocusProxy(m_okButton);

    render();
}

void AboutView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        render();
}

// Colours follow the palette, so the view reads well in light and dark themes.
void AboutView::render()
{
    const QColor secondary = NamedColors::secondaryText(palette());
    const QColor accent = palette().color(QPalette::Highlight);
    for (QLabel *label : {m_version, m_description, m_createdBy, m_copyright}) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, secondary);
        label->setPalette(pal);
    }
    m_creditSymbol->setColor(accent);
    if (auto *symbol = qobject_cast<SymbolView *>(m_icon))
        symbol->setColor(accent);
}
