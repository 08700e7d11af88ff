// The sampling lab's redraw: the time from a temperature change to the lab
// relaid out and repainted (the odds chart and the arithmetic's text), for the most candidates a server lists (20). Moving the
// slider should redraw within one frame (16.7 ms at 60 Hz).
#include "BenchSupport.h"
#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/sentiment/SamplingLab.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>

#include <cmath>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FakeOllamaServer server;
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient http;

    SamplingLab lab;
    lab.setServices(prefs.settings(), http);
    lab.resize(900, 700);
    lab.show();
    // Twenty candidates with falling odds, the ratings among them twice
    // (plain and with a leading space), as a real server lists them.
    QList<TokenCandidate> candidates;
    double p = 0.5;
    for (int i = 0; i < 20; ++i, p *= 0.6) {
        const QString token = i < 10 ? (i < 5 ? QString() : QStringLiteral(" ")) + QString::number(i % 5 + 1)
                                     : QStringLiteral("w%1").arg(i);
        candidates.append({token, std::log(p)});
    }
    lab.setCandidates(QStringLiteral("Lovely room, rude staff"), QStringLiteral("llama3.2"), candidates);
    BenchSupport::spinUntil([&] { return lab.isStartKnown(); }, 2000);
    QCoreApplication::processEvents();

    auto *slider = lab.findChild<QSlider *>(QStringLiteral("samplingTemperatureSlider"));
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        for (int value = slider->minimum(); value <= slider->maximum(); ++value) {
            QElapsedTimer timer;
            timer.start();
            slider->setValue(value);
            // The relayout of the changed texts and the repaint of what they
            // and the chart dirtied, as the next frame does them.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            lab.repaint();
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    BenchSupport::printMachine();
    std::printf("sampling lab: temperature change to the lab relaid out and repainted, 20 candidates: median %.3f ms, "
                "max %.3f ms over %zu updates (one frame at 60 Hz: 16.7 ms)\n",
                BenchSupport::median(times), *std::max_element(times.begin(), times.end()), times.size());
    return 0;
}
