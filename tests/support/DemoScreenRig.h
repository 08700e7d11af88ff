#pragma once

#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "history/SessionHistory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QVBoxLayout>

#include <nlohmann/json.hpp>

#include <atomic>
#include <vector>

// Types as a user would: a line feed is the Return key, any other character
// arrives as the text of a key press (as from a keyboard layout or an input
// method), so characters beyond Latin-1 are typed too.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A loopback URL on which nothing listens.
inline QString closedPortURL()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
}

// What a widget shows: a label's or a button's text, else its accessible name.
inline QString shownText(const QWidget *widget)
{
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    return widget->accessibleName();
}

// A demo screen in an active window of its own, over a fake server, test
// settings and a history of its own.
template <typename View>
struct DemoScreenRig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    OllamaService service{prefs.settings(), http};
    SessionHistory history;
    std::vector<std::shared_ptr<ReplyGate>> gates;
    QWidget window;
    QPointer<View> view = new View(service, prefs.settings(), http, &history);

    DemoScreenRig()
    {
        settings().setOllamaURL(server.baseURL());
        (new QVBoxLayout(&window))->addWidget(view);
        window.resize(700, 640);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    // Held server threads end with the test.
    ~DemoScreenRig()
    {
        for (const auto &gate : gates)
            gate->open();
    }

    AppSettings &settings() { return prefs.settings(); }

    // Holds the requests to `path`, from the `from`-th on, until the gate opens.
    std::shared_ptr<ReplyGate> hold(const std::string &path, int from = 1)
    {
        auto gate = ReplyGate::make();
        gates.push_back(gate);
        auto seen = std::make_shared<std::atomic<int>>(0);
        server.setHandler([holding = ReplyGate::holding(gate, path), path, seen,
                           from](const FakeOllamaServer::Request &request) -> std::optional<FakeOllamaServer::Reply> {
            if (request.path == path && ++*seen >= from)
                return holding(request);
            return std::nullopt;
        });
        return gate;
    }

    template <typename W = QWidget>
    W *child(const QString &name) const
    {
        W *found = view->template findChild<W *>(name);
        if (!found)
            qFatal("no child named %s", qPrintable(name));
        return found;
    }
    QPushButton *button() const { return view->template findChild<QPushButton *>(); }
    bool shows(const QString &name) const { return child(name)->isVisibleTo(view); }
    QString text(const QString &name) const { return shownText(child(name)); }

    // The JSON bodies of the requests to `path`, in order.
    std::vector<nlohmann::json> bodies(const std::string &path) const
    {
        std::vector<nlohmann::json> parsed;
        for (const auto &request : server.requests(path))
            parsed.push_back(nlohmann::json::parse(request.body));
        return parsed;
    }
};
