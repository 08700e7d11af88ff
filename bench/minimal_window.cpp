// The start-up anchor: the smallest Qt Widgets program that opens a window
// with a label and quits after its first paint, like `quillmere --self-test`.
#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QTimer>

namespace {

class FirstPaintLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QLabel::paintEvent(event);
        if (!m_painted) {
            m_painted = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FirstPaintLabel window(QStringLiteral("Minimal window"));
    window.resize(600, 500);
    window.show();
    return app.exec();
}
