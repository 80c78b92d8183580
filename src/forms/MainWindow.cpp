#include "forms/MainWindow.h"

#include "core/QvError.h"

namespace {
std::function<MainWindow&()>& loader()
{
    static std::function<MainWindow&()> f;
    return f;
}
} // namespace

MainWindow& MainWindow::get()
{
    if (!loader())
        throw QvError(QStringLiteral("a janela principal não está disponível"));
    return loader()();
}

void MainWindow::setLoader(std::function<MainWindow&()> f) { loader() = std::move(f); }
