#pragma once

#include "FakeOllamaServer.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

// Holds requests at the fake server until the test opens the gate, so a test
// can act while a reply is outstanding without sleeping. Server threads wait
// at most 30 seconds, so a failing test cannot hang the server.
class ReplyGate
{
public:
    static std::shared_ptr<ReplyGate> make() { return std::make_shared<ReplyGate>(); }

    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }

    bool isOpen() const
    {
        std::lock_guard lock(m_mutex);
        return m_open;
    }

    // Requests that have reached the gate so far.
    int arrivals() const
    {
        std::lock_guard lock(m_mutex);
        return m_arrivals;
    }

    void wait()
    {
        std::unique_lock lock(m_mutex);
        ++m_arrivals;
        m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_open; });
    }

    // A server handler that holds every request to `path` (every request when
    // empty) at `gate`, then lets the server answer it as it would have.
    static FakeOllamaServer::Handler holding(std::shared_ptr<ReplyGate> gate, std::string path = {})
    {
        return [gate = std::move(gate), path = std::move(path)](const FakeOllamaServer::Request &request)
                   -> std::optional<FakeOllamaServer::Reply> {
            if (path.empty() || request.path == path)
                gate->wait();
            return std::nullopt;
        };
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_arrivals = 0;
};

// Opens a gate when it goes out of scope, so held server threads end with the test.
struct GateOpener
{
    std::shared_ptr<ReplyGate> gate;
    ~GateOpener()
    {
        if (gate)
            gate->open();
    }
};
