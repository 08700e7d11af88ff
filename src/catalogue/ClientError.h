#pragma once

#include <QString>

#include <utility>
#include <variant>

// A failure of a server call: the domain it comes from, an integer code and a
// sentence that the screens show after "Error: ".
struct ClientError
{
    QString domain;
    int code = 0;
    QString description;

    bool operator==(const ClientError &) const = default;

    // The two failures of the clients' own making, code -1.
    static inline const QString invalidURLDomain = QStringLiteral("Invalid URL");
    static inline const QString invalidResponseDomain = QStringLiteral("Invalid response from Ollama");

    static ClientError invalidURL();
    static ClientError invalidResponse();

    // An error that carries only a domain and a code, described by the
    // generic sentence that names both.
    static ClientError withDomain(const QString &domain, int code);
};

// Either a value or the ClientError that prevented it.
template <typename T>
class Result
{
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {
    }
    Result(ClientError error)
        : m_state(std::in_place_index<1>, std::move(error))
    {
    }

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const { return std::get<0>(m_state); }
    T &value() { return std::get<0>(m_state); }
    const ClientError &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, ClientError> m_state;
};
