#include "app/AppSetup.h"
#include "app/SingleInstance.h"
#include "browser/Form1_Ini.h"
#include "core/DataFolder.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "forms/Forms.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    AppSetup::beforeApplication();
    QApplication app(argc, argv);
    AppSetup::afterApplication();

    // The main window is the start-up object; a failure to start ends the program. A start on
    // a data folder that a running program already uses hands over to it and ends.
    std::unique_ptr<SingleInstance> instance;
    try {
        const QString folder = DataFolder::choose(applicationDir() + dbFolderLiteral());
        instance = std::make_unique<SingleInstance>(folder);
        if (instance->claim() == SingleInstance::Role::Later) {
            qWarning("quorvane: the program already runs on \"%s\"; its window was brought to "
                     "the front",
                     qPrintable(folder));
            return 0;
        }
        Forms::get<Form1_Ini>();
    } catch (const QvError& e) {
        ErrorReporter::report(e.message());
        return 1;
    }
    QObject::connect(instance.get(), &SingleInstance::showRequested, &app,
                     [] { ErrorReporter::guard(AppSetup::bringToFront); });
    // Unloading the main window ends the program.
    QObject::connect(&Forms::get<Form1_Ini>(), &BaseForm::unloaded, instance.get(),
                     &SingleInstance::stopListening);
    instance->listen();
    return app.exec();
}
