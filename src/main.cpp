#include "browser/AppSetup.h"
#include "browser/Form1_Ini.h"
#include "core/ErrorReporter.h"
#include "forms/Forms.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    AppSetup::beforeApplication();
    QApplication app(argc, argv);
    AppSetup::afterApplication();

    // The main window is the start-up object; a failure to start ends the program.
    try {
        Forms::get<Form1_Ini>();
    } catch (const QvError& e) {
        ErrorReporter::report(e.message());
        return 1;
    }
    return app.exec();
}
