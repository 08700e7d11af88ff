// Renders every widget of the set, in a light and a dark palette, offscreen.
// With QUILLMERE_GALLERY_DIR set, the renders are saved there as PNG files to
// look at; without it the test only checks that each render shows something.

#include "WidgetPalettes.h"

#include "widgets/BusyIndicator.h"
#include "widgets/CapabilityBadge.h"
#include "widgets/CircularProgressGauge.h"
#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyles.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>

namespace {

struct GaugeSample
{
    const char *label;
    float progress;
    int side;
    int fontSize;
    double trackWidth;
    const char *symbol;
};

const GaugeSample gaugeSamples[] = {
    {"0", 0.0f, 150, 32, 12, ""},
    {"0.125", 0.125f, 150, 32, 12, ""},
    {"0.7", 0.7f, 150, 32, 12, ""},
    {"1.5", 1.5f, 150, 32, 12, ""},
    {"-0.25", -0.25f, 150, 32, 12, ""},
    {"preview-0.7", 0.7f, 50, 12, 5, ""},
    {"preview-pencil", 0.7f, 50, 24, 5, "pencil.tip.crop.circle"},
};

const struct
{
    const char *name;
    TextStyle style;
} textStyles[] = {
    {"Title", TextStyle::Title},       {"Title 2", TextStyle::Title2},   {"Title 3", TextStyle::Title3},
    {"Headline", TextStyle::Headline}, {"Subheadline", TextStyle::Subheadline}, {"Body", TextStyle::Body},
    {"Caption", TextStyle::Caption},   {"Caption 2", TextStyle::Caption2},
};

const struct
{
    const char *name;
    NamedColor color;
} namedColors[] = {
    {"Red", NamedColor::Red},   {"Orange", NamedColor::Orange}, {"Yellow", NamedColor::Yellow},
    {"Green", NamedColor::Green}, {"Blue", NamedColor::Blue},     {"Purple", NamedColor::Purple},
    {"Gray", NamedColor::Gray},
};

QLabel *styledLabel(const QString &text, TextStyle style, const QColor &color = QColor())
{
    auto *label = new QLabel(text);
    TextStyles::apply(label, style);
    if (color.isValid()) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, color);
        label->setPalette(pal);
    }
    return label;
}

CircularProgressGauge *makeGauge(const GaugeSample &sample)
{
    auto *gauge = new CircularProgressGauge(sample.progress, sample.fontSize, sample.trackWidth, false,
                                            QString::fromLatin1(sample.symbol));
    gauge->setFixedSize(sample.side, sample.side);
    return gauge;
}

// One sheet with every widget, built under the current application palette.
QWidget *buildSheet()
{
    const QPalette pal = QApplication::palette();
    auto *sheet = new QWidget;
    sheet->setAutoFillBackground(true);
    auto *column = new QVBoxLayout(sheet);
    column->setSpacing(14);

    // Gauges on a card like the similarity screen's result box.
    auto *card = new RoundedPanel;
    card->setFillColor(pal.color(QPalette::Base));
    auto *gauges = new QHBoxLayout(card);
    for (const GaugeSample &sample : gaugeSamples)
        gauges->addWidget(makeGauge(sample), 0, Qt::AlignCenter);
    column->addWidget(card);

    // Every symbol at 16, 32 and 64 in the text colour, then tinted.
    auto *symbols = new QGridLayout;
    const QStringList names = Symbols::names();
    for (int i = 0; i < names.size(); ++i) {
        int col = 0;
        for (int side : {16, 32, 64})
            symbols->addWidget(new SymbolView(names[i], side, pal.color(QPalette::WindowText)), col++, i,
                               Qt::AlignCenter);
        const NamedColor tint = namedColors[i % std::size(namedColors)].color;
        symbols->addWidget(new SymbolView(names[i], 32, NamedColors::color(tint, pal)), col, i, Qt::AlignCenter);
    }
    column->addLayout(symbols);

    // Capability badges as a model detail panel shows them.
    auto *panel = new RoundedPanel;
    panel->setFillColor(NamedColors::color(NamedColor::Gray, 0.1, pal));
    auto *badges = new QHBoxLayout(panel);
    badges->setContentsMargins(8, 8, 8, 8);
    badges->setSpacing(8);
    badges->addWidget(styledLabel(QStringLiteral("Capabilities:"), TextStyle::Caption2, NamedColors::secondaryText(pal)));
    badges->addWidget(new CapabilityBadge(QStringLiteral("Embedding"), NamedColors::color(NamedColor::Blue, pal)));
    badges->addWidget(new CapabilityBadge(QStringLiteral("Tools"), NamedColors::color(NamedColor::Purple, pal)));
    badges->addWidget(new CapabilityBadge(QStringLiteral("Vision"), NamedColors::color(NamedColor::Green, pal)));
    badges->addWidget(new CapabilityBadge(QStringLiteral("Thinking"), NamedColors::color(NamedColor::Orange, pal)));
    badges->addStretch();
    column->addWidget(panel);

    // The type ramp, and secondary text.
    auto *ramp = new QHBoxLayout;
    for (const auto &entry : textStyles)
        ramp->addWidget(styledLabel(QString::fromLatin1(entry.name), entry.style));
    ramp->addWidget(styledLabel(QStringLiteral("Secondary"), TextStyle::Body, NamedColors::secondaryText(pal)));
    column->addLayout(ramp);

    // Named colours as text and as tinted cards, with a warning row.
    auto *colours = new QHBoxLayout;
    for (const auto &entry : namedColors) {
        auto *swatch = new RoundedPanel;
        swatch->setFillColor(NamedColors::color(entry.color, 0.1, pal));
        auto *inside = new QHBoxLayout(swatch);
        inside->addWidget(styledLabel(QString::fromLatin1(entry.name), TextStyle::Headline,
                                      NamedColors::color(entry.color, pal)));
        colours->addWidget(swatch);
    }
    column->addLayout(colours);

    auto *status = new QHBoxLayout;
    status->addWidget(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), 16,
                                     NamedColors::color(NamedColor::Orange, pal)));
    status->addWidget(styledLabel(QStringLiteral("Please select both models to use the app"), TextStyle::Caption,
                                  NamedColors::secondaryText(pal)));
    status->addSpacing(20);
    status->addWidget(new SymbolView(QStringLiteral("checkmark.circle.fill"), 16,
                                     NamedColors::color(NamedColor::Green, pal)));
    status->addWidget(styledLabel(QStringLiteral("Both models configured"), TextStyle::Caption,
                                  NamedColors::secondaryText(pal)));
    status->addSpacing(20);
    auto *busy = new BusyIndicator(16);
    busy->setDrawScale(0.8);
    status->addWidget(busy);
    status->addWidget(new BusyIndicator(32));
    status->addStretch();
    column->addLayout(status);

    // The input editor outline of the demo screens.
    auto *editor = new RoundedPanel;
    editor->setFillColor(pal.color(QPalette::Base));
    editor->setBorderColor(NamedColors::withOpacity(NamedColors::secondaryText(pal), 0.3));
    editor->setMinimumHeight(60);
    column->addWidget(editor);
    return sheet;
}

int distinctColours(const QImage &image)
{
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

} // namespace

class TestWidgetGallery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void render_data();
    void render();
};

void TestWidgetGallery::render_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void TestWidgetGallery::render()
{
    QFETCH(bool, dark);
    const QString theme = dark ? QStringLiteral("dark") : QStringLiteral("light");
    QApplication::setPalette(dark ? WidgetPalettes::dark() : WidgetPalettes::light());
    const QString outDir = qEnvironmentVariable("QUILLMERE_GALLERY_DIR");
    if (!outDir.isEmpty())
        QVERIFY(QDir().mkpath(outDir));

    std::unique_ptr<QWidget> sheet(buildSheet());
    sheet->show();
    QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
    const QImage image = sheet->grab().toImage();
    QVERIFY(!image.isNull());
    QVERIFY(distinctColours(image) > 20);
    if (!outDir.isEmpty())
        QVERIFY(image.save(QDir(outDir).filePath(QStringLiteral("gallery-%1.png").arg(theme))));

    // Each gauge on its own, on the window colour, at twice the pixel density.
    for (const GaugeSample &sample : gaugeSamples) {
        std::unique_ptr<CircularProgressGauge> gauge(makeGauge(sample));
        gauge->setAutoFillBackground(true);
        QImage render(gauge->size() * 2, QImage::Format_ARGB32);
        render.setDevicePixelRatio(2);
        render.fill(QApplication::palette().color(QPalette::Window));
        gauge->render(&render);
        QVERIFY2(distinctColours(render) > 2, sample.label);
        if (!outDir.isEmpty())
            QVERIFY(render.save(QDir(outDir).filePath(QStringLiteral("gauge-%1-%2.png")
                                                          .arg(QString::fromLatin1(sample.label), theme))));
    }
}

QTEST_MAIN(TestWidgetGallery)
#include "tst_widgetgallery.moc"
