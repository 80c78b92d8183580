#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program: what failed, and on which file or address.
class QvError : public std::runtime_error {
public:
    explicit QvError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
