#include "ClientError.h"

#include <QCoreApplication>

ClientError ClientError::invalidURL()
{
    return withDomain(invalidURLDomain, -1);
}

ClientError ClientError::invalidResponse()
{
    return withDomain(invalidResponseDomain, -1);
}

ClientError ClientError::withDomain(const QString &domain, int code)
{
    return ClientError{
        domain,
        code,
        QCoreApplication::translate("ClientError", "The operation could not be completed. (%1 error %2.)")
            .arg(domain)
            .arg(code),
    };
}
