#include "core/ErrorReporter.h"

namespace {
ErrorReporter::Handler& handler()
{
    static ErrorReporter::Handler h;
    return h;
}
} // namespace

void ErrorReporter::setHandler(Handler h) { handler() = std::move(h); }

void ErrorReporter::report(const QString& message)
{
    if (handler())
        return handler()(message);
    qWarning("quorvane: %s", qPrintable(message));
}

void ErrorReporter::guard(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const QvError& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QStringLiteral("Erro inesperado: %1").arg(QString::fromUtf8(e.what())));
    }
}
