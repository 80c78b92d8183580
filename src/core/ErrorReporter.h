#pragma once

#include "core/QvError.h"

#include <QObject>

#include <functional>

// The single place where errors reach the user. Handlers run through guard(), which turns
// an escaping error into a report; the program then goes on.
class ErrorReporter {
public:
    using Handler = std::function<void(const QString& message)>;

    static void report(const QString& message);
    static void guard(const std::function<void()>& fn);

    // Where reports go: the application's set-up shows them in a message box, tests record
    // them. Without a handler a report is a line in the log.
    static void setHandler(Handler handler);
};

// Connects a Qt signal to a form handler so that errors never cross Qt's event loop.
template <class Sender, class Signal, class Receiver, class Fn>
void connectHandler(Sender* sender, Signal signal, Receiver* receiver, Fn fn)
{
    QObject::connect(sender, signal, receiver, [receiver, fn]() {
        ErrorReporter::guard([&] { std::invoke(fn, receiver); });
    });
}
