#include "app/AppSetup.h"
#include "app/EndSignals.h"
#include "app/SingleInstance.h"
#include "browser/Form1_Ini.h"
#include "core/DataFolder.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/StartAddresses.h"
#include "forms/Forms.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <memory>

int main(int argc, char* argv[])
{
    AppSetup::beforeApplication();
    QApplication app(argc, argv);
    AppSetup::afterApplication();

    // Files named by the arguments are read against this start's own folder, also when a
    // running program opens them.
    const StartAddresses::Result start =
        StartAddresses::fromArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());

    // The main window is the start-up object; a failure to start ends the program. A start on
    // a data folder that a running program already uses hands its addresses over and ends.
    std::unique_ptr<SingleInstance> instance;
    try {
        const QString folder = DataFolder::choose(applicationDir() + dbFolderLiteral());
        instance = std::make_unique<SingleInstance>(folder);
        if (instance->claim(start) == SingleInstance::Role::Later) {
            qWarning("quorvane: the program already runs on \"%s\"; it was handed %lld "
                     "address(es)",
                     qPrintable(folder), qlonglong(start.addresses.size()));
            return 0;
        }
        Forms::get<Form1_Ini>();
    } catch (const QvError& e) {
        ErrorReporter::report(e.message());
        return 1;
    }
    QObject::connect(instance.get(), &SingleInstance::openRequested, &app,
                     [](const QStringList& addresses, const QStringList& notices) {
                         ErrorReporter::guard([&] {
                             AppSetup::openFromOutside(addresses, notices, AppSetup::Show::Always);
                         });
                     });
    // Unloading the main window ends the program.
    QObject::connect(&Forms::get<Form1_Ini>(), &BaseForm::unloaded, instance.get(),
                     &SingleInstance::stopListening);
    instance->listen();
    // Asked to end by the system: as the close image ends it.
    EndSignals endSignals([] { Forms::get<Form1_Ini>().endNormally(); }, &app);
    // Without arguments the start is as it always was.
    if (!start.isEmpty())
        QTimer::singleShot(0, &app, [start] {
            ErrorReporter::guard([&] {
                AppSetup::openFromOutside(start.addresses, start.notices,
                                          AppSetup::Show::WithAddresses);
            });
        });
    return app.exec();
}
